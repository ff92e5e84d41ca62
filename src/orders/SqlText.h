#pragma once

#include "platform/Expected.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariantList>

// Statements put together for any QtSql driver: names quoted as the
// driver wants them, values always bound, never written into the text.
namespace SqlText {

inline QString table(const QSqlDatabase& db, const QString& name) {
    return db.driver()->escapeIdentifier(name, QSqlDriver::TableName);
}

inline QString field(const QSqlDatabase& db, const QString& name) {
    return db.driver()->escapeIdentifier(name, QSqlDriver::FieldName);
}

inline QString fields(const QSqlDatabase& db, const QStringList& names) {
    QStringList quoted;
    for (const QString& name : names)
        quoted << field(db, name);
    return quoted.join(QStringLiteral(", "));
}

inline QString insert(const QSqlDatabase& db, const QString& tableName,
                      const QStringList& columns) {
    QStringList marks;
    marks.fill(QStringLiteral("?"), columns.size());
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(table(db, tableName), fields(db, columns), marks.join(QStringLiteral(", ")));
}

inline void bindAll(QSqlQuery& query, const QVariantList& values) {
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values[i]);
}

// Runs a prepared statement; a failure carries the database's words.
inline Expected<void> execute(QSqlQuery& query) {
    if (query.exec())
        return {};
    return Failure{query.lastError().text()};
}

// Runs a statement with its values, prepared when it has values (a
// database server prepares no table definitions); a statement the database
// refuses to prepare is reported in its words too, not as a missing query.
inline Expected<void> execute(QSqlQuery& query, const QString& sql,
                              const QVariantList& values = {}) {
    if (values.isEmpty()) {
        if (query.exec(sql))
            return {};
        return Failure{query.lastError().text()};
    }
    if (!query.prepare(sql))
        return Failure{query.lastError().text()};
    bindAll(query, values);
    return execute(query);
}

inline Expected<void> execute(const QSqlDatabase& db, const QString& sql,
                              const QVariantList& values = {}) {
    QSqlQuery query(db);
    return execute(query, sql, values);
}

} // namespace SqlText
