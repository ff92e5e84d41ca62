#include "app/HeadlessOrders.h"

#include "app/CommandOptions.h"
#include "app/KeyringPassword.h"
#include "files/TextFile.h"
#include "orders/DatabaseAddress.h"
#include "orders/DatabaseKeyring.h"
#include "orders/IntakeSink.h"
#include "orders/OrderFetcher.h"
#include "orders/OrderIntake.h"
#include "orders/OrderMessage.h"
#include "orders/OrderStore.h"
#include "orders/PopMailbox.h"
#include "platform/Expected.h"
#include "text/CsvText.h"

#include <QCryptographicHash>
#include <QFile>
#include <algorithm>

namespace {

const QString kImportedFiles = QStringLiteral("imported files");

// A saved message is decoded as a fetched one is. One with LF line ends (as
// mail programs on this system save them) is read with the CR LF line ends
// of the mail protocol.
QString messageText(const QByteArray& bytes) {
    QString text = TextFile::decode(bytes);
    if (!text.contains(QStringLiteral("\r\n")))
        text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

// A message saved twice is taken in once, known by its Message-ID or, when
// it has none, by a digest of its bytes.
QString importedId(const QString& text, const QByteArray& bytes) {
    const QString id = OrderMessage::fieldValue(text, QStringLiteral("Message-ID:")).trimmed();
    if (!id.isEmpty())
        return id;
    return QStringLiteral("sha256:") +
           QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

// Text the shopper typed is kept from running as a formula by a leading
// apostrophe; numbers, amounts and dates the program wrote stay as they are.
QString csvLine(const QStringList& values, const QStringList& columns) {
    const QStringList textColumns = OrderStore::textColumns();
    QStringList fields;
    for (qsizetype i = 0; i < values.size(); ++i) {
        const QString& value = values.at(i);
        fields << (textColumns.contains(columns.value(i)) ? CsvText::guarded(value) : value);
    }
    return CsvText::line(fields);
}

// A saved message is read no further than the size limit, as a fetched one
// is: a larger file is no order mail, and is not held whole.
Expected<QByteArray> readMessage(const QString& path, qint64 sizeLimit) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Expected<QByteArray>::failure(QStringLiteral("cannot read it: ") +
                                             file.errorString());
    QByteArray bytes = file.read(sizeLimit + 1);
    if (bytes.size() <= sizeLimit)
        return bytes;
    return Expected<QByteArray>::failure(
        QStringLiteral("not taken in: it is %1, more than the limit of %2")
            .arg(PopMailbox::sizeText(std::max(file.size(), qint64(bytes.size()))),
                 PopMailbox::sizeText(sizeLimit)));
}

// Says what became of one file; false when it was not taken in.
bool reportImport(const QString& path, const OrderIntake::Result& result, QTextStream& out,
                  QTextStream& err) {
    switch (result.outcome) {
    case OrderIntake::Outcome::Stored:
        out << path << ": order " << result.orderId << " taken in" << Qt::endl;
        return true;
    case OrderIntake::Outcome::NotAnOrder:
        out << path << ": not an order" << Qt::endl;
        return true;
    case OrderIntake::Outcome::AlreadyTaken:
        out << path << ": taken in before" << Qt::endl;
        return true;
    case OrderIntake::Outcome::Failed:
        break;
    }
    err << path << ": not taken in: " << result.error << Qt::endl;
    return false;
}

int importFiles(const OrdersCommand& command, OrderIntake& intake, QTextStream& out,
                QTextStream& err) {
    const qint64 sizeLimit =
        command.sizeLimit > 0 ? command.sizeLimit : PopMailbox::kDefaultSizeLimit;
    int failures = 0;
    for (const QString& path : command.files) {
        const Expected<QByteArray> bytes = readMessage(path, sizeLimit);
        if (!bytes) {
            err << path << ": " << bytes.error() << Qt::endl;
            ++failures;
            continue;
        }
        const QString text = messageText(*bytes);
        if (!reportImport(path, intake.take(text, kImportedFiles, importedId(text, *bytes)), out,
                          err))
            ++failures;
    }
    return failures == 0 ? 0 : 1;
}

bool listOrders(const OrderStore& store, bool csv, QTextStream& out, QTextStream& err) {
    const Expected<QList<StoredOrder>> read = store.orders();
    if (!read) {
        err << "quillmart orders: the orders could not be read: " << read.error() << Qt::endl;
        return false;
    }
    const QList<StoredOrder>& orders = *read;
    if (csv) {
        const QStringList columns = OrderStore::orderColumns();
        out << csvLine(columns, {}) << Qt::endl;
        for (const StoredOrder& order : orders)
            out << csvLine(order.values, columns) << Qt::endl;
        return true;
    }
    const QStringList columns = OrderStore::orderColumns();
    for (const StoredOrder& order : orders) {
        out << "Order " << order.orderId << Qt::endl;
        for (qsizetype i = 0; i < columns.size(); ++i)
            if (!order.values.value(i).isEmpty())
                out << "  " << columns.at(i) << ": " << order.values.at(i) << Qt::endl;
        for (const QStringList& detail : order.details)
            out << "  item: " << detail.join(QStringLiteral(" | ")) << Qt::endl;
    }
    out << orders.size() << " orders" << Qt::endl;
    return true;
}

// The password in the environment variable named; nothing to read when
// none is named. False, said on `err`, when the variable is not set.
bool readPassword(const QString& variable, QString* password, QTextStream& err) {
    if (variable.isEmpty())
        return true;
    const auto read = CommandOptions::passwordFrom(variable);
    if (!read)
        err << "quillmart orders: " << read.error() << Qt::endl;
    *password = read.valueOr(QString());
    return read.ok();
}

// Forgets or looks up the database password in the keyring as asked, and
// remembers the one given once it has opened the database. A keyring that
// cannot be used for a look-up says nothing: ~/.pgpass may give the
// password, and a refused login names every place one may come from.
bool openStore(OrderStore& store, const OrdersCommand& command, const QString& homeFolder,
               QTextStream& err) {
    const QString database =
        command.database.isEmpty() ? OrderStore::defaultPath(homeFolder) : command.database;
    const DatabaseKeyring keyring;
    QString password;
    if (!readPassword(command.databasePasswordVariable, &password, err))
        return false;
    if (command.forgetDatabasePassword) {
        if (const Expected<void> forgotten = keyring.forget(database); !forgotten) {
            err << "quillmart orders: the database password could not be forgotten: "
                << forgotten.error() << Qt::endl;
            return false;
        }
        err << "quillmart orders: the database password is no longer remembered." << Qt::endl;
    } else if (command.databasePasswordVariable.isEmpty()) {
        password = keyring.read(database).valueOr(QString());
    }
    if (const QString warning =
            DatabaseAddress::read(database).valueOr({}).passwordInClearWarning();
        !warning.isEmpty())
        err << "quillmart orders: warning: " << warning << Qt::endl;
    if (const Expected<void> opened = store.open(database, password); !opened) {
        err << "quillmart orders: the order database could not be opened: " << opened.error()
            << Qt::endl;
        return false;
    }
    if (!command.rememberDatabasePassword)
        return true;
    if (const Expected<void> remembered = keyring.remember(database, password); !remembered) {
        err << "quillmart orders: the database password could not be remembered: "
            << remembered.error() << Qt::endl;
        return false;
    }
    err << "quillmart orders: the database password is remembered in the desktop keyring."
        << Qt::endl;
    return true;
}

} // namespace

int HeadlessOrders::run(const OrdersCommand& command, const QString& homeFolder, QTextStream& out,
                        QTextStream& err) {
    OrderStore store;
    if (!openStore(store, command, homeFolder, err))
        return 1;
    OrderIntake intake(store);
    if (command.action == OrdersCommand::Action::List) {
        return listOrders(store, command.csv, out, err) ? 0 : 1;
    }
    if (command.action == OrdersCommand::Action::Import)
        return importFiles(command, intake, out, err);

    MailAccount account;
    account.host = command.host;
    account.port = command.port;
    account.user = command.user;
    account.trustedCertificate = command.trustedCertificate;
    account.security = command.security == QLatin1String("tls") ? MailAccount::Security::Tls
                       : command.security == QLatin1String("plain")
                           ? MailAccount::Security::Plain
                           : MailAccount::Security::StartTls;
    if (!command.passwordVariable.isEmpty()) {
        if (!readPassword(command.passwordVariable, &account.password, err))
            return 1;
    } else {
        account.password = keyringPassword(PasswordKeyring::Kind::Mail, account.serverName(),
                                           account.user, QStringLiteral("orders"), err)
                               .value_or(QString());
    }
    if (account.security == MailAccount::Security::Plain)
        err << "quillmart orders: warning: the connection to " << account.serverName()
            << " is not encrypted; the user name and password go over it as they are." << Qt::endl;
    PopMailbox mailbox(account);
    if (command.sizeLimit > 0)
        mailbox.setSizeLimit(command.sizeLimit);
    IntakeSink sink(store, intake);
    const FetchSummary summary =
        OrderFetcher::fetch(mailbox, account.user + QLatin1Char('@') + account.serverName(), sink,
                            command.deleteAfterReading);
    (summary.ok() ? out : err) << summary.text(account.serverName()) << Qt::endl;
    return summary.ok() ? 0 : 1;
}
