#pragma once

#include <QString>
#include <QStringList>

// Small pieces shared by the page writers.
class PageText {
public:
    // The lines joined, each followed by CR LF.
    static QString lines(const QStringList& list);
    // "top." + the category's script name + "List": the category's catalog
    // array as the pages reach it.
    static QString topList(const QString& categoryName);
    // A file name as the value of a single-quoted href: characters a URL
    // would read as a fragment, query or escape are percent-encoded, then
    // HTML-special characters become references. Plain names are unchanged.
    static QString href(const QString& fileName);
    // The opening and closing tags of the credit's link to the maker site's
    // welcome page; both empty when the settings name no maker site.
    static QString creditLinkOpen(const QString& makerSite);
    static QString creditLinkClose(const QString& makerSite);
};
