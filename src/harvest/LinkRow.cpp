#include "harvest/LinkRow.h"

QString LinkRow::make(const QString& url, const QString& outerText) {
    const QString& text = outerText.isEmpty() ? url : outerText;
    return QStringLiteral("<a href='") + url + QStringLiteral("'>") + text +
           QStringLiteral("</a><br>");
}

// A row without ">" is read from its start (as if the ">" stood just before
// it). The search for "<" skips the first character after ">", so a
// one-letter text followed directly by "<" still counts.
QString LinkRow::linkText(const QString& row) {
    const qsizetype close = row.indexOf(QLatin1Char('>'));
    const qsizetype start = close + 1;
    const qsizetype open = row.indexOf(QLatin1Char('<'), close + 2);
    if (open < 0)
        return row.mid(start);
    return row.mid(start, open - start);
}
