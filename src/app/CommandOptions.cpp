#include "app/CommandOptions.h"

bool CommandOptions::takeValue(const QStringList& arguments, qsizetype& i, QString* value) {
    if (i + 1 >= arguments.size())
        return false;
    *value = arguments.at(++i);
    return true;
}

Fallible<QString> CommandOptions::passwordFrom(const QString& variable) {
    if (!qEnvironmentVariableIsSet(qPrintable(variable)))
        return Fallible<QString>::failure(
            QStringLiteral("the variable %1 is not set").arg(variable));
    return qEnvironmentVariable(qPrintable(variable));
}

std::optional<QString>
CommandOptions::rememberedPassword(PasswordKeyring::Kind kind, const QString& server,
                                   const QString& user, const QString& command, QTextStream& err) {
    if (server.isEmpty() || user.isEmpty())
        return std::nullopt;
    const auto remembered = PasswordKeyring().read(kind, server, user);
    if (!remembered)
        err << "quillmart " << command << ": no remembered password: " << remembered.error()
            << Qt::endl;
    if (!remembered || remembered->isEmpty())
        return std::nullopt;
    return *remembered;
}
