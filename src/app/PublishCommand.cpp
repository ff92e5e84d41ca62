#include "app/PublishCommand.h"

#include "app/CommandOptions.h"

#include <algorithm>

QString PublishCommand::usage() {
    return QStringLiteral("usage: quillmart publish PROJECT_FOLDER [--server S] [--user U] "
                          "[--password-env VAR] [--host-key SHA256:...] [--trust-cert FILE] "
                          "[--data-only] [--dry-run]");
}

Expected<void> PublishCommand::parse(const QStringList& arguments) {
    const QList<std::pair<QString, QString*>> valued{
        {QStringLiteral("--server"), &server},
        {QStringLiteral("--user"), &user},
        {QStringLiteral("--password-env"), &passwordVariable},
        {QStringLiteral("--host-key"), &hostKey},
        {QStringLiteral("--trust-cert"), &trustedCertificate}};
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const auto option = std::find_if(valued.begin(), valued.end(), [&](const auto& entry) {
            return entry.first == argument;
        });
        if (argument == QLatin1String("--data-only"))
            dataOnly = true;
        else if (argument == QLatin1String("--dry-run"))
            dryRun = true;
        else if (option != valued.end()) {
            if (!CommandOptions::takeValue(arguments, i, option->second))
                return Failure{QStringLiteral("%1 takes a value").arg(argument)};
        } else if (argument.startsWith(QLatin1String("--")) || !folder.isEmpty())
            return Failure{QStringLiteral("unknown argument \"%1\"").arg(argument)};
        else
            folder = argument;
    }
    if (folder.isEmpty())
        return Failure{QStringLiteral("no project folder given")};
    return {};
}
