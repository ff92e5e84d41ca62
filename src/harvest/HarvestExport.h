#pragma once

#include "harvest/PageFindings.h"

#include <QList>
#include <QString>
#include <QStringList>

// The harvest's findings as data for other programs, every text
// exactly as harvested (nothing escaped into markup):
//
// - CSV (RFC 4180, CR LF line ends, a header row): one row per finding with
//   the columns kind, text, url (the page it was found on), page_title and
//   found_at (ISO 8601, UTC). Cells that a spreadsheet would run as a
//   formula start with an apostrophe.
// - JSON: {"pages": [...], "emails": [...]}; each page is {"url", "title",
//   "found_at", "findings": [{"kind", "text", "label"?}]}, each address
//   {"address", "pages": [url, ...]}.
//
// An e-mail finding is its address (the mailto URL without "mailto:" and
// its query; a URL naming several gives one finding each). Addresses are
// one when they differ only in the letter case of the domain: a page lists
// each once, and the "emails" list each with every page it was found on,
// spelled as first found.
class HarvestExport {
public:
    static QString csv(const QList<PageFindings>& pages);
    static QString json(const QList<PageFindings>& pages);

    // The addresses of a mailto URL.
    static QStringList addresses(const QString& mailtoUrl);
    // What makes two addresses one: the domain in lower case.
    static QString addressKey(const QString& address);

private:
    // The page's findings with each e-mail link turned into its addresses,
    // each address once.
    static QList<PageFindings::Finding> exported(const PageFindings& page);
};
