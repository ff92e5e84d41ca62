#include "orders/DatabaseKeyring.h"

#include "orders/OrderStore.h"

namespace {

constexpr auto kKind = PasswordKeyring::Kind::Database;

QString noServerLogin(const QString& connection) {
    return QStringLiteral("%1 names no database server and user to keep a password for.")
        .arg(connection);
}

} // namespace

Fallible<QString> DatabaseKeyring::read(const QString& connection) const {
    const auto login = OrderStore::serverLogin(connection);
    if (!login || login->passwordInAddress)
        return QString();
    return m_keyring.read(kKind, login->server, login->user);
}

Status DatabaseKeyring::remember(const QString& connection, const QString& password) const {
    const auto login = OrderStore::serverLogin(connection);
    if (!login)
        return Status::failure(noServerLogin(connection));
    return m_keyring.write(kKind, login->server, login->user, password);
}

Status DatabaseKeyring::forget(const QString& connection) const {
    const auto login = OrderStore::serverLogin(connection);
    if (!login)
        return Status::failure(noServerLogin(connection));
    return m_keyring.forget(kKind, login->server, login->user);
}
