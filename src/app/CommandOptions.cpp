#include "app/CommandOptions.h"

bool CommandOptions::takeValue(const QStringList& arguments, qsizetype& i, QString* value) {
    if (i + 1 >= arguments.size())
        return false;
    *value = arguments.at(++i);
    return true;
}

Expected<QString> CommandOptions::passwordFrom(const QString& variable) {
    if (!qEnvironmentVariableIsSet(qPrintable(variable)))
        return Expected<QString>::failure(
            QStringLiteral("the variable %1 is not set").arg(variable));
    return qEnvironmentVariable(qPrintable(variable));
}
