#include "orders/DatabaseKeyring.h"

#include "orders/DatabaseAddress.h"
#include "orders/OrderStore.h"

namespace {

constexpr auto kKind = PasswordKeyring::Kind::Database;

// The server and user the address names, or why it names none.
Expected<OrderStore::ServerLogin> serverLogin(const QString& connection) {
    if (const auto login = OrderStore::serverLogin(connection))
        return *login;
    return Expected<OrderStore::ServerLogin>::failure(
        QStringLiteral("%1 names no database server and user to keep a password for.")
            .arg(DatabaseAddress::shown(connection)));
}

} // namespace

Expected<QString> DatabaseKeyring::read(const QString& connection) const {
    const auto login = OrderStore::serverLogin(connection);
    if (!login || login->passwordInAddress)
        return QString();
    return m_keyring.read(kKind, login->server, login->user);
}

Expected<void> DatabaseKeyring::remember(const QString& connection, const QString& password) const {
    const auto login = serverLogin(connection);
    return login ? m_keyring.write(kKind, login->server, login->user, password)
                 : Expected<void>::failure(login.error());
}

Expected<void> DatabaseKeyring::forget(const QString& connection) const {
    const auto login = serverLogin(connection);
    return login ? m_keyring.forget(kKind, login->server, login->user)
                 : Expected<void>::failure(login.error());
}
