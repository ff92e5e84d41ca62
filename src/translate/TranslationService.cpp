#include "translate/TranslationService.h"

#include <QSettings>
#include <QUrl>

QString TranslationService::settingsKey() {
    return QStringLiteral("TranslationService");
}

QString TranslationService::defaultBase() {
    return QStringLiteral("http://translate.example/cgi-bin/translate");
}

TranslationService TranslationService::configured() {
    QSettings settings(QStringLiteral("Quillmart"), QStringLiteral("Quillmart"));
    settings.beginGroup(QStringLiteral("Startup"));
    return TranslationService(settings.value(settingsKey(), defaultBase()).toString());
}

QString TranslationService::requestUrl(const QString& address, const QString& code) const {
    const QString urltext = QString::fromLatin1(QUrl::toPercentEncoding(address));
    return m_base + QStringLiteral("?urltext=") + urltext + QStringLiteral("&lp=") + code +
           QStringLiteral("&doit=done");
}
