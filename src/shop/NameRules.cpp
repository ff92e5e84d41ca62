#include "shop/NameRules.h"

#include <algorithm>

namespace {

bool isControl(QChar c) {
    return c.unicode() < 0x20 || c.unicode() == 0x7F;
}

// A name that is a path step, or that would leave or split the path.
bool isUnsafe(const QString& name) {
    if (!NameRules::isPlainFileName(name))
        return true;
    return std::any_of(name.begin(), name.end(), isControl);
}

} // namespace

bool NameRules::isPlainFileName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

Expected<void> NameRules::check(const QString& name, const QString& what) {
    if (!isUnsafe(name))
        return {};
    return Failure{QStringLiteral("The ") + what +
                   QStringLiteral(" name must not be empty, must not be \".\" or \"..\", and "
                                  "must not contain / or \\ or control characters.")};
}
