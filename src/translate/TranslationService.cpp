#include "translate/TranslationService.h"

#include <QUrl>

QString TranslationService::requestUrl(const QString& address, const QString& code) const {
    const QString urltext = QString::fromLatin1(QUrl::toPercentEncoding(address));
    return m_base + QStringLiteral("?urltext=") + urltext + QStringLiteral("&lp=") + code +
           QStringLiteral("&doit=done");
}
