#pragma once

#include "platform/Expected.h"

#include <QList>
#include <QString>

class QSqlDatabase;

// The tables of the order database and the steps that bring an older
// database up to this program's version. The version stands in the table
// `schema_version`; a database without it that has `Orders` is version 1.
//
// 1: `Orders`, `Order Details` and `TakenMessages`.
// 2: `schema_version`; each detail row keeps its place in its order
//    (`LineNumber`), as a database without row numbers of its own
//    (PostgreSQL) gives rows back in any order.
class OrderSchema {
public:
    static constexpr int kCurrentVersion = 2;

    // The tables, their keys and the QtSql drivers named in statements.
    inline static const QString kOrders = QStringLiteral("Orders");
    inline static const QString kDetails = QStringLiteral("Order Details");
    inline static const QString kTaken = QStringLiteral("TakenMessages");
    inline static const QString kOrderId = QStringLiteral("OrderID");
    inline static const QString kLineNumber = QStringLiteral("LineNumber");
    inline static const QString kSqlite = QStringLiteral("QSQLITE");
    inline static const QString kPostgres = QStringLiteral("QPSQL");

    enum class Kind { AutoNumber, Number, Text, Date, Money, Quantity };
    struct Column {
        QString name;
        Kind kind;
    };

    // `Orders` in table order: the order's number, then the columns a
    // message fills, with the order date after the customer.
    static QList<Column> orders();
    // The `Order Details` columns an order's items are listed with.
    static QList<Column> details();
    static QStringList namesOf(const QList<Column>& columns);

    // Brings the database up to `version` (by default this program's),
    // every step in one transaction: a database is either migrated whole
    // or left as it was. Several programs opening one database at once
    // take turns (on PostgreSQL a lock held until the commit), so no step
    // runs twice. A database of a newer program is refused.
    static Expected<void> migrate(QSqlDatabase& db, int version = kCurrentVersion);
    // The database's version; 0 when it holds no order tables yet.
    static int version(const QSqlDatabase& db);
};
