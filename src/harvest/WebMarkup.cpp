#include "harvest/WebMarkup.h"

#include "text/ScriptText.h"

#include <QUrl>
#include <array>
#include <utility>

namespace {

// The references text() writes.
const std::array<std::pair<QChar, QLatin1String>, 5> kReferences{{
    {QLatin1Char('&'), QLatin1String("&amp;")},
    {QLatin1Char('<'), QLatin1String("&lt;")},
    {QLatin1Char('>'), QLatin1String("&gt;")},
    {QLatin1Char('"'), QLatin1String("&quot;")},
    {QLatin1Char('\''), QLatin1String("&#39;")},
}};

} // namespace

QString WebMarkup::text(const QString& plain) {
    return ScriptText::html(plain);
}

// "&amp;" goes last, so "&amp;lt;" comes back as "&lt;", as it was.
QString WebMarkup::plain(const QString& escaped) {
    QString text = escaped;
    for (auto it = kReferences.rbegin(); it != kReferences.rend(); ++it)
        text.replace(it->second, QString(it->first));
    return text;
}

bool WebMarkup::isWebAddress(const QString& url) {
    return isPageAddress(url) || QUrl(url.trimmed()).scheme().toLower() == QLatin1String("mailto");
}

bool WebMarkup::isPlainWebAddress(const QString& url) {
    for (const QChar c : url)
        if (c.unicode() <= 0x20 || c.unicode() == 0x7f || c == QLatin1Char('"') ||
            c == QLatin1Char('\'') || c == QLatin1Char('<') || c == QLatin1Char('>'))
            return false;
    return isPageAddress(url);
}

bool WebMarkup::isPageAddress(const QString& url) {
    const QString scheme = QUrl(url.trimmed()).scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
           scheme == QLatin1String("ftp");
}

QString WebMarkup::anchor(const QString& url) {
    if (!isWebAddress(url))
        return QStringLiteral("<a>");
    return QStringLiteral("<a href='") + text(url) + QStringLiteral("'>");
}

QString WebMarkup::picture(const QString& url) {
    if (!isPageAddress(url))
        return text(url);
    return QStringLiteral("<img src='") + text(url) + QStringLiteral("'>");
}

QString WebMarkup::noScriptPolicy() {
    return QStringLiteral(
        "<meta http-equiv='Content-Security-Policy' content=\"script-src 'none'; object-src "
        "'none'\">");
}
