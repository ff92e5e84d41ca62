#include "app/CommandOptions.h"

bool CommandOptions::takeValue(const QStringList& arguments, qsizetype& i, QString* value) {
    if (i + 1 >= arguments.size())
        return false;
    *value = arguments.at(++i);
    return true;
}

std::optional<QString> CommandOptions::passwordFrom(const QString& variable, QString* error) {
    if (!qEnvironmentVariableIsSet(qPrintable(variable))) {
        *error = QStringLiteral("the variable %1 is not set").arg(variable);
        return std::nullopt;
    }
    return qEnvironmentVariable(qPrintable(variable));
}
