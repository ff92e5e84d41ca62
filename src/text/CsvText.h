#pragma once

#include <QString>
#include <QStringList>

// Comma-separated values as RFC 4180 writes them, for the files a merchant
// opens in a spreadsheet.
class CsvText {
public:
    // A field as it stands in a line: quoted, with its quotes doubled, when
    // it holds a comma, a quote or a line break.
    static QString field(const QString& value);
    // A spreadsheet runs a cell that begins with "=", "+", "-", "@", a tab
    // or a carriage return as a formula.
    static bool startsLikeAFormula(const QString& value);
    // Text that came from someone else, kept from running as a formula by a
    // leading apostrophe.
    static QString guarded(const QString& value);
    // The fields joined by commas, without a line end.
    static QString line(const QStringList& fields);
};
