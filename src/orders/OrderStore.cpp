#include "orders/OrderStore.h"

#include "orders/DatabaseAddress.h"
#include "orders/OrderSchema.h"
#include "orders/SqlText.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlRecord>
#include <atomic>

namespace {

using Kind = OrderSchema::Kind;
using SchemaColumn = OrderSchema::Column;
using SqlText::execute;

// A text column's value: an empty text stays an empty text, not NULL.
QVariant textValue(const QString& text) {
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

QVariant moneyValue(const std::optional<Money>& amount) {
    return amount ? QVariant::fromValue(amount->cents()) : QVariant();
}

QString moneyText(const QVariant& cents) {
    return Money::fromCents(cents.toLongLong()).toText();
}

// A NULL reads as empty text (a NULL number would read as "0").
QStringList rowTexts(const QSqlQuery& query, const QList<SchemaColumn>& columns) {
    QStringList texts;
    for (int i = 0; i < columns.size(); ++i) {
        const QVariant value = query.value(i);
        texts << (value.isNull()                   ? QString()
                  : columns[i].kind == Kind::Money ? moneyText(value)
                                                   : value.toString());
    }
    return texts;
}

void applySetting(QSqlDatabase& db, const DatabaseAddress& setting) {
    db.setDatabaseName(setting.database);
    db.setUserName(setting.user);
    db.setPassword(setting.password);
    db.setHostName(setting.host);
    db.setPort(setting.port);
    db.setConnectOptions(setting.options);
}

// The OrderID the database gave the order just inserted.
std::optional<int> newOrderId(QSqlQuery& insert, const QSqlDatabase& db, bool returning) {
    if (returning)
        return insert.next() ? std::optional<int>(insert.value(0).toInt()) : std::nullopt;
    const QVariant lastId = insert.lastInsertId();
    if (lastId.isValid())
        return lastId.toInt();
    QSqlQuery highest(db);
    if (!highest.exec(QStringLiteral("SELECT MAX(%1) FROM %2")
                          .arg(SqlText::field(db, OrderSchema::kOrderId),
                               SqlText::table(db, OrderSchema::kOrders))) ||
        !highest.next())
        return std::nullopt;
    return highest.value(0).toInt();
}

// Why a SQLite file cannot be used, in words a merchant can act on: the
// file system's reason when there is one, else the database's own words.
QString sqliteFailureText(const QString& path, const QString& databaseWords) {
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    const QString folderName = QDir::toNativeSeparators(folder.filePath());
    QString reason = databaseWords;
    if (!folder.isDir())
        reason = QStringLiteral("its folder %1 cannot be made").arg(folderName);
    else if (!folder.isWritable())
        reason = QStringLiteral("its folder %1 is read-only").arg(folderName);
    return QDir::toNativeSeparators(file.absoluteFilePath()) + QStringLiteral(": ") + reason;
}

// Why a PostgreSQL server cannot be used, in words a merchant can act on.
// QtSql hands on no error code for a connection that failed, only the
// client library's words, which are looked at for the usual causes.
QString postgresFailureText(const DatabaseAddress& setting, const QString& words) {
    const QString server = setting.serverName().section(QLatin1Char('/'), 0, 0);
    const auto said = [&](const char* text) { return words.contains(QLatin1String(text)); };
    if (said("password authentication failed") || said("no password supplied") ||
        said("authentication failed"))
        return QStringLiteral("The database server %1 refused the login of \"%2\". Check the user "
                              "name and the password (--db-password-env, the desktop keyring, "
                              "~/.pgpass or the address).")
            .arg(server, setting.user);
    if (said("does not support SSL"))
        return QStringLiteral("The database server %1 does not offer an encrypted connection, so "
                              "the login was not sent. Have SSL turned on at the server, or end "
                              "the address with ?sslmode=disable to send it unencrypted.")
            .arg(server);
    if (said("certificate verify failed") || said("server certificate for"))
        return QStringLiteral("The database server %1 could not prove who it is: its "
                              "certificate is not one the address's sslrootcert trusts.")
            .arg(server);
    if (said("database \"") && said("does not exist"))
        return QStringLiteral("The database server %1 has no database \"%2\". Create it first "
                              "(createdb %2) or check its name.")
            .arg(server, setting.database);
    if (said("Connection refused") || said("could not connect") || said("timeout expired") ||
        said("could not translate host name") || said("Network is unreachable"))
        return QStringLiteral("The database server %1 could not be reached. Check the host and "
                              "port, the network, and that the server runs.")
            .arg(server);
    return QStringLiteral("The database %1 could not be opened: %2")
        .arg(setting.serverName(), words.trimmed());
}

QString nextConnectionName() {
    static std::atomic_int count{0};
    return QStringLiteral("quillmart-orders-%1").arg(++count);
}

} // namespace

OrderStore::OrderStore() : m_connectionName(nextConnectionName()) {}

OrderStore::~OrderStore() {
    closeConnection();
}

QString OrderStore::defaultPath(const QString& homeFolder) {
    return homeFolder + QStringLiteral("/orders.sqlite");
}

QSqlDatabase OrderStore::database() const {
    return QSqlDatabase::database(m_connectionName, false);
}

void OrderStore::closeConnection() {
    if (!QSqlDatabase::contains(m_connectionName))
        return;
    database().close();
    QSqlDatabase::removeDatabase(m_connectionName);
}

// A SQLite file keeps its journal as a write-ahead log: a commit then
// costs one flush to disk instead of several, and stays as safe (every
// commit is on disk before the message is deleted on the server).
void OrderStore::useWriteAheadLog(QSqlDatabase& db) {
    QSqlQuery query(db);
    query.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    query.exec(QStringLiteral("PRAGMA synchronous=FULL"));
}

std::optional<OrderStore::ServerLogin> OrderStore::serverLogin(const QString& connection) {
    // An address that cannot be used needs no login: opening it fails.
    const DatabaseAddress setting = DatabaseAddress::read(connection).valueOr({});
    if (setting.isSqlite() || setting.user.isEmpty())
        return std::nullopt;
    return ServerLogin{setting.serverName(), setting.user, !setting.password.isEmpty()};
}

Expected<void> OrderStore::open(const QString& connection, const QString& password,
                                int schemaVersion) {
    closeConnection();
    const Expected<DatabaseAddress> read = DatabaseAddress::read(connection, password);
    if (!read)
        return Failure{read.error()};
    const DatabaseAddress& setting = *read;
    if (!QSqlDatabase::isDriverAvailable(setting.driver))
        return Expected<void>::failure(
            QStringLiteral("The database driver %1 is not available.").arg(setting.driver));
    const bool sqlite = setting.isSqlite();
    if (sqlite && !setting.database.isEmpty())
        QDir().mkpath(QFileInfo(setting.database).absolutePath());
    QSqlDatabase db = QSqlDatabase::addDatabase(setting.driver, m_connectionName);
    applySetting(db, setting);
    if (!db.open()) {
        const QString words = db.lastError().text();
        if (sqlite)
            return Expected<void>::failure(sqliteFailureText(setting.database, words));
        return Expected<void>::failure(setting.isPostgres() ? postgresFailureText(setting, words)
                                                            : words);
    }
    if (sqlite)
        useWriteAheadLog(db);
    m_serverName = sqlite ? QString() : setting.serverName();
    const Expected<void> migrated = OrderSchema::migrate(db, schemaVersion);
    if (migrated)
        return {};
    db.close();
    const QString why =
        QStringLiteral("its tables could not be brought up to date: ") + migrated.error();
    return Expected<void>::failure(sqlite ? sqliteFailureText(setting.database, why)
                                          : setting.serverName() + QStringLiteral(": ") + why);
}

bool OrderStore::isOpen() const {
    return database().isOpen();
}

// A database server that went away fails the simplest query too; a
// SQLite file cannot be lost so.
bool OrderStore::connectionLost() const {
    if (m_serverName.isEmpty())
        return false;
    QSqlQuery probe(database());
    return !probe.exec(QStringLiteral("SELECT 1"));
}

// Why nothing was stored. A message another intake stored meanwhile (the
// unique key on its mailbox and id refused the second copy, which waited
// for the first to be committed) counts as taken in before.
OrderStore::Result OrderStore::failed(const QString& mailbox, const QString& uid,
                                      const QString& words) const {
    Result result;
    if (connectionLost()) {
        result.connectionLost = true;
        result.error = QStringLiteral("The connection to the order database %1 was lost; "
                                      "nothing of this message was stored.")
                           .arg(m_serverName);
    } else if (hasTaken(mailbox, uid)) {
        result.takenBefore = true;
    } else {
        result.error = QStringLiteral("The order could not be stored: ") + words;
    }
    return result;
}

OrderStore::Result OrderStore::store(const OrderMessage& message, const QString& mailbox,
                                     const QString& uid, const QDate& orderDate) {
    QSqlDatabase db = database();
    // The driver calls a server connection that broke closed: that is the
    // lost connection, which stops a fetch, not a fault of this message.
    if (!db.isOpen() && m_serverName.isEmpty())
        return {0, QStringLiteral("The order database is not open.")};
    if (!db.isOpen() || !db.transaction())
        return failed(mailbox, uid, db.lastError().text());
    const Expected<int> stored = insertAll(db, message, mailbox, uid, orderDate);
    if (stored && db.commit())
        return {*stored, {}};
    const QString error = stored ? db.lastError().text() : stored.error();
    db.rollback();
    return failed(mailbox, uid, error);
}

// The order, its lines and, for a message of a mailbox, its mark as taken.
Expected<int> OrderStore::insertAll(QSqlDatabase& db, const OrderMessage& message,
                                    const QString& mailbox, const QString& uid,
                                    const QDate& orderDate) {
    const Expected<int> orderId = insertOrder(db, message, orderDate);
    if (!orderId)
        return orderId;
    if (Expected<void> lines = insertDetails(db, *orderId, message); !lines)
        return Failure{lines.error()};
    if (uid.isEmpty())
        return orderId;
    if (Expected<void> taken = insertTaken(db, mailbox, uid, *orderId); !taken)
        return Failure{taken.error()};
    return orderId;
}

Expected<int> OrderStore::insertOrder(QSqlDatabase& db, const OrderMessage& message,
                                      const QDate& orderDate) {
    QStringList names = {QStringLiteral("OrderDate")};
    QVariantList values = {orderDate};
    for (const OrderColumn& column : message.orderColumns()) {
        names << column.name;
        values << (column.isMoney ? moneyValue(column.amount()) : textValue(column.text));
    }
    const bool returning = db.driverName() == OrderSchema::kPostgres;
    QString sql = SqlText::insert(db, OrderSchema::kOrders, names);
    if (returning)
        sql += QStringLiteral(" RETURNING ") + SqlText::field(db, OrderSchema::kOrderId);
    QSqlQuery query(db);
    if (Expected<void> inserted = execute(query, sql, values); !inserted)
        return Failure{inserted.error()};
    const std::optional<int> id = newOrderId(query, db, returning);
    if (!id)
        return Failure{QStringLiteral("the new order's number could not be read")};
    return *id;
}

// Each row keeps its line's place in the order (LineNumber, from 1).
Expected<void> OrderStore::insertDetails(QSqlDatabase& db, int orderId,
                                         const OrderMessage& message) {
    QSqlQuery query(db);
    if (!query.prepare(SqlText::insert(db, OrderSchema::kDetails,
                                       detailColumns() << OrderSchema::kLineNumber)))
        return Failure{query.lastError().text()};
    int lineNumber = 0;
    for (const OrderLine& line : message.orderLines()) {
        SqlText::bindAll(query, {orderId, textValue(line.productId),
                                 line.quantity ? QVariant(*line.quantity) : QVariant(),
                                 moneyValue(line.price), moneyValue(line.lineTotal), ++lineNumber});
        if (Expected<void> inserted = execute(query); !inserted)
            return inserted;
    }
    return {};
}

Expected<void> OrderStore::insertTaken(QSqlDatabase& db, const QString& mailbox, const QString& uid,
                                       const QVariant& orderId) {
    return execute(
        db,
        SqlText::insert(db, OrderSchema::kTaken,
                        {QStringLiteral("Mailbox"), QStringLiteral("UID"), OrderSchema::kOrderId}),
        {textValue(mailbox), uid, orderId});
}

Expected<bool> OrderStore::rememberNotAnOrder(const QString& mailbox, const QString& uid) {
    if (uid.isEmpty())
        return true;
    if (hasTaken(mailbox, uid))
        return false;
    QSqlDatabase db = database();
    const Expected<void> remembered = insertTaken(db, mailbox, uid, QVariant());
    if (remembered)
        return true;
    if (hasTaken(mailbox, uid))
        return false;
    return Failure{QStringLiteral("The message could not be remembered: ") + remembered.error()};
}

bool OrderStore::hasTaken(const QString& mailbox, const QString& uid) const {
    if (uid.isEmpty())
        return false;
    const QSqlDatabase db = database();
    QSqlQuery query(db);
    return execute(query,
                   QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ? AND %3 = ?")
                       .arg(SqlText::table(db, OrderSchema::kTaken),
                            SqlText::field(db, QStringLiteral("Mailbox")),
                            SqlText::field(db, QStringLiteral("UID"))),
                   {textValue(mailbox), uid})
               .ok() &&
           query.next();
}

int OrderStore::orderCount() const {
    const QSqlDatabase db = database();
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM %1")
                        .arg(SqlText::table(db, OrderSchema::kOrders))) ||
        !query.next())
        return 0;
    return query.value(0).toInt();
}

Expected<QList<StoredOrder>> OrderStore::orders() const {
    const QSqlDatabase db = database();
    const QList<SchemaColumn> schema = OrderSchema::orders();
    QSqlQuery query(db);
    const Expected<void> read =
        execute(query, QStringLiteral("SELECT %1 FROM %2 ORDER BY %3 DESC")
                           .arg(SqlText::fields(db, OrderSchema::namesOf(schema)),
                                SqlText::table(db, OrderSchema::kOrders),
                                SqlText::field(db, OrderSchema::kOrderId)));
    if (!read)
        return Failure{read.error()};
    const QHash<int, QList<QStringList>> details = detailRows();
    QList<StoredOrder> orders;
    while (query.next()) {
        const int orderId = query.value(0).toInt();
        orders << StoredOrder{orderId, rowTexts(query, schema), details.value(orderId)};
    }
    return orders;
}

// Every detail row by its order, each order's rows in the order of its
// lines.
QHash<int, QList<QStringList>> OrderStore::detailRows() const {
    const QSqlDatabase db = database();
    const QList<SchemaColumn> schema = OrderSchema::details();
    QSqlQuery query(db);
    QHash<int, QList<QStringList>> rows;
    if (!query.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3, %4")
                        .arg(SqlText::fields(db, OrderSchema::namesOf(schema)),
                             SqlText::table(db, OrderSchema::kDetails),
                             SqlText::field(db, OrderSchema::kOrderId),
                             SqlText::field(db, OrderSchema::kLineNumber))))
        return rows;
    while (query.next())
        rows[query.value(0).toInt()] << rowTexts(query, schema);
    return rows;
}

QStringList OrderStore::orderColumns() {
    return OrderSchema::namesOf(OrderSchema::orders());
}

QStringList OrderStore::textColumns() {
    QStringList names;
    for (const SchemaColumn& column : OrderSchema::orders())
        if (column.kind == Kind::Text)
            names << column.name;
    return names;
}

QStringList OrderStore::detailColumns() {
    return OrderSchema::namesOf(OrderSchema::details());
}
