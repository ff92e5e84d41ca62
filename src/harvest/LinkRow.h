#pragma once

#include <QString>

// The report row of a harvested link, and the link text read back from a
// report row when the user steps through the found pages.
class LinkRow {
public:
    // "<a href='URL'>text</a><br>"; the URL stands in for an empty text.
    // Both are escaped, and an address that is not a web address gives a
    // link to nowhere ("<a>text</a><br>").
    static QString make(const QString& url, const QString& outerText);
    // The text between the row's first ">" and the next "<" at or after two
    // characters past it; without such a "<", the rest of the row. Character
    // references in it are read back.
    static QString linkText(const QString& row);
};
