#pragma once

#include <QString>
#include <QStringList>

// The report rows a page summary adds to the report buffer, each an HTML
// fragment. The report pages put them between table tags, so each one is a
// table row of its own. Every text and address in them comes from a web
// page, so each is escaped, and only web addresses become links or
// pictures.
class SummaryRows {
public:
    // The page title as a link to the page; `text` is the title, or the URL
    // when the page has none.
    static QString titleRow(const QString& url, const QString& text);
    static QString descriptionRow(const QString& content);
    // The label is spelled "KYEWORDS" in the reports.
    static QString keywordsRow(const QString& content);
    // The link is closed after its text, so the rows after it are not part
    // of it.
    static QString emailRow(const QString& mailtoUrl, const QString& text);
    static QString paragraphRow(const QString& text);
    // One picture tag per source, all in one row.
    static QString imageRow(const QStringList& sources);
};
