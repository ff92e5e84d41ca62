#include "harvest/LinkRow.h"

#include "harvest/WebMarkup.h"

QString LinkRow::make(const QString& url, const QString& outerText) {
    const QString& text = outerText.isEmpty() ? url : outerText;
    return WebMarkup::anchor(url) + WebMarkup::text(text) + QStringLiteral("</a><br>");
}

// A row without ">" is read from its start (as if the ">" stood just before
// it). The search for "<" skips the first character after ">", so a
// one-letter text followed directly by "<" still counts. The text is given
// back as it stood in the page.
QString LinkRow::linkText(const QString& row) {
    const qsizetype close = row.indexOf(QLatin1Char('>'));
    const qsizetype start = close + 1;
    const qsizetype open = row.indexOf(QLatin1Char('<'), close + 2);
    return WebMarkup::plain(open < 0 ? row.mid(start) : row.mid(start, open - start));
}
