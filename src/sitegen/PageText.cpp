#include "sitegen/PageText.h"

#include "sitegen/MakerSite.h"
#include "text/ScriptText.h"

#include <QUrl>

QString PageText::lines(const QStringList& list) {
    QString text;
    for (const QString& line : list)
        text += line + QStringLiteral("\r\n");
    return text;
}

QString PageText::topList(const QString& categoryName) {
    return QStringLiteral("top.") + ScriptText::identifier(categoryName) + QStringLiteral("List");
}

QString PageText::href(const QString& fileName) {
    QString encoded;
    for (const QChar c : fileName) {
        if (c == QLatin1Char('%') || c == QLatin1Char('#') || c == QLatin1Char('?'))
            encoded += QStringLiteral("%%1").arg(int(c.unicode()), 2, 16).toUpper();
        else
            encoded += c;
    }
    return ScriptText::html(encoded);
}

QString PageText::creditLinkOpen(const QString& makerSite) {
    const QString address = MakerSite::pageAddress(makerSite, QStringLiteral("welcome.htm"));
    if (address.isEmpty())
        return {};
    const QString encoded =
        QString::fromLatin1(QUrl(address).toEncoded()).replace(QLatin1Char('\''), "%27");
    return QStringLiteral("<a href='") + encoded.toHtmlEscaped() + QStringLiteral("'>");
}

QString PageText::creditLinkClose(const QString& makerSite) {
    return makerSite.trimmed().isEmpty() ? QString() : QStringLiteral("</a>");
}
