#pragma once

#include "platform/Expected.h"

#include <QString>
#include <QStringList>

// `quillmart orders import FILE...`, `quillmart orders fetch ...` and
// `quillmart orders list [--csv]`: the order intake without the window.
// Each takes `--db PATH` (the order database: a SQLite file or a database
// server's address such as postgresql://user@host/database; by default the
// file in the home folder) with `--db-password-env VAR` for a server's
// password, and prints what it took in or holds. `--remember-db-password`
// keeps that password in the desktop keyring once it has opened the
// database, for later commands and the window; `--forget-db-password`
// takes it out again.
class OrdersCommand {
public:
    enum class Action { Import, Fetch, List };

    Action action = Action::List;
    QString database;
    QStringList files;
    QString host;
    int port = 0;
    QString user;
    QString passwordVariable;
    QString databasePasswordVariable;
    QString security = QStringLiteral("starttls"); // "plain", "tls" or "starttls"
    qint64 sizeLimit = 0;                          // bytes; 0: the mailbox's default
    QString trustedCertificate;
    bool deleteAfterReading = false;
    bool csv = false;
    bool rememberDatabasePassword = false;
    bool forgetDatabasePassword = false;

    // Reads the arguments after "orders"; a failure says what is wrong with
    // them. HeadlessOrders runs the command.
    Expected<void> parse(const QStringList& arguments);

    static QString usage();
};
