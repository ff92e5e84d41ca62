#include "keyring/RememberedPassword.h"

namespace {

bool hasAccount(const QString& server, const QString& user) {
    return !server.trimmed().isEmpty() && !user.isEmpty();
}

} // namespace

std::optional<QString> RememberedPassword::lookUp(const QString& server, const QString& user,
                                                  const QString& typed) {
    if (!hasAccount(server, user))
        return std::nullopt;
    const auto remembered = m_keyring.read(m_kind, server, user);
    take(remembered ? Expected<void>() : Expected<void>::failure(remembered.error()));
    if (!remembered || remembered->isEmpty())
        return std::nullopt;
    m_ticked = true;
    if (!typed.isEmpty())
        return std::nullopt;
    return *remembered;
}

void RememberedPassword::setTicked(bool ticked, const QString& server, const QString& user) {
    m_ticked = ticked;
    if (!ticked && hasAccount(server, user))
        take(m_keyring.forget(m_kind, server, user));
}

void RememberedPassword::succeeded(const QString& server, const QString& user,
                                   const QString& password) {
    if (m_ticked && hasAccount(server, user))
        take(m_keyring.write(m_kind, server, user, password));
}

// A keyring that cannot be used unticks the box, which stays off until a
// later look-up reaches the keyring again.
void RememberedPassword::take(const Expected<void>& status) {
    if (status) {
        m_unavailableReason.clear();
        return;
    }
    m_ticked = false;
    m_unavailableReason = QStringLiteral("Passwords cannot be remembered. ") + status.error();
}
