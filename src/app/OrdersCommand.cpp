#include "app/OrdersCommand.h"

#include "app/CommandOptions.h"

#include <algorithm>

namespace {

// A message is held in memory whole; more than this is no order mail.
constexpr int kMaxSizeLimitMegabytes = 1024;

} // namespace

QString OrdersCommand::usage() {
    return QStringLiteral(
        "usage: quillmart orders import FILE... [--size-limit MB] [DATABASE]\n"
        "       quillmart orders fetch --host H [--port P] [--user U] [--password-env VAR]\n"
        "                              [--tls|--starttls|--plain] [--trust-cert FILE]\n"
        "                              [--size-limit MB] [--delete] [DATABASE]\n"
        "       quillmart orders list [--csv] [DATABASE]\n"
        "DATABASE: --db PATH, or --db postgresql://USER@HOST[:PORT]/NAME\n"
        "          [--db-password-env VAR [--remember-db-password] | --forget-db-password]");
}

Expected<void> OrdersCommand::parse(const QStringList& arguments) {
    if (arguments.isEmpty())
        return Failure{QStringLiteral("orders needs import, fetch or list")};
    const QString& verb = arguments.first();
    if (verb == QLatin1String("import"))
        action = Action::Import;
    else if (verb == QLatin1String("fetch"))
        action = Action::Fetch;
    else if (verb == QLatin1String("list"))
        action = Action::List;
    else
        return Failure{QStringLiteral("unknown orders command \"%1\"").arg(verb)};
    QString portText;
    QString sizeLimitText;
    const QList<std::pair<QString, QString*>> valued{
        {QStringLiteral("--db"), &database},
        {QStringLiteral("--db-password-env"), &databasePasswordVariable},
        {QStringLiteral("--host"), &host},
        {QStringLiteral("--port"), &portText},
        {QStringLiteral("--user"), &user},
        {QStringLiteral("--password-env"), &passwordVariable},
        {QStringLiteral("--trust-cert"), &trustedCertificate},
        {QStringLiteral("--size-limit"), &sizeLimitText}};
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        const auto option = std::find_if(valued.begin(), valued.end(), [&](const auto& entry) {
            return entry.first == argument;
        });
        if (option != valued.end()) {
            if (!CommandOptions::takeValue(arguments, i, option->second))
                return Failure{QStringLiteral("%1 takes a value").arg(argument)};
        } else if (argument == QLatin1String("--tls") || argument == QLatin1String("--starttls") ||
                   argument == QLatin1String("--plain")) {
            security = argument.mid(2);
        } else if (argument == QLatin1String("--delete")) {
            deleteAfterReading = true;
        } else if (argument == QLatin1String("--csv")) {
            csv = true;
        } else if (argument == QLatin1String("--remember-db-password")) {
            rememberDatabasePassword = true;
        } else if (argument == QLatin1String("--forget-db-password")) {
            forgetDatabasePassword = true;
        } else if (action == Action::Import && !argument.startsWith(QLatin1String("--"))) {
            files << argument;
        } else {
            return Failure{QStringLiteral("unknown argument \"%1\"").arg(argument)};
        }
    }
    if (!portText.isEmpty()) {
        bool ok = false;
        port = portText.toInt(&ok);
        if (!ok || port <= 0 || port > 65535)
            return Failure{QStringLiteral("--port takes a port number, not \"%1\"").arg(portText)};
    }
    if (!sizeLimitText.isEmpty()) {
        bool ok = false;
        const int megabytes = sizeLimitText.toInt(&ok);
        if (!ok || megabytes <= 0 || megabytes > kMaxSizeLimitMegabytes)
            return Failure{
                QStringLiteral("--size-limit takes a size in megabytes (1 to %1), not \"%2\"")
                    .arg(kMaxSizeLimitMegabytes)
                    .arg(sizeLimitText)};
        sizeLimit = qint64(megabytes) * 1024 * 1024;
    }
    if (rememberDatabasePassword && (databasePasswordVariable.isEmpty() || forgetDatabasePassword))
        return Failure{
            QStringLiteral("--remember-db-password keeps the password of --db-password-env, "
                           "and goes without --forget-db-password")};
    if (action == Action::Import && files.isEmpty())
        return Failure{QStringLiteral("import needs at least one message file")};
    if (action == Action::Fetch && host.isEmpty())
        return Failure{QStringLiteral("fetch needs --host")};
    return {};
}
