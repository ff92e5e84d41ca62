#include "shop/TemplateText.h"

QString TemplateText::fromRaw(const char* text) {
    return QString::fromLatin1(text).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

QString TemplateText::handler(const QStringList& statements) {
    return statements.join(QStringLiteral("\r\n      "));
}
