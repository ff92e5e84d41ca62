#include "project/NameRules.h"

namespace {

bool isControl(QChar c) {
    return c.unicode() < 0x20 || c.unicode() == 0x7F;
}

// A name that is a path step, or that would leave or split the path.
bool isUnsafe(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return true;
    for (const QChar c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || isControl(c))
            return true;
    return false;
}

} // namespace

QString NameRules::problem(const QString& name, const QString& what) {
    if (!isUnsafe(name))
        return {};
    return QStringLiteral("The ") + what +
           QStringLiteral(" name must not be empty, must not be \".\" or \"..\", and must not "
                          "contain / or \\ or control characters.");
}
