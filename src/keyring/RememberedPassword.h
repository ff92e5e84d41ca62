#pragma once

#include "keyring/PasswordKeyring.h"

#include <QString>
#include <optional>

// The state behind one "Remember password" check box: whether it is ticked,
// and why it cannot be ticked when the desktop keyring cannot be used. The
// password is stored only after it has worked (a successful publish or
// fetch), so a mistyped one is never remembered; unticking forgets it at
// once.
class RememberedPassword {
public:
    RememberedPassword(PasswordKeyring::Kind kind, PasswordKeyring keyring = PasswordKeyring())
        : m_kind(kind), m_keyring(keyring) {}

    bool isTicked() const { return m_ticked; }
    // Why passwords cannot be remembered now; empty while the keyring works.
    const QString& unavailableReason() const { return m_unavailableReason; }

    // The server or user changed: a password remembered for them ticks the
    // box and is returned when `typed` is empty, to fill the field.
    std::optional<QString> lookUp(const QString& server, const QString& user, const QString& typed);
    // Unticking forgets the password of this server and user.
    void setTicked(bool ticked, const QString& server, const QString& user);
    // The password worked: remembered when the box is ticked.
    void succeeded(const QString& server, const QString& user, const QString& password);

private:
    void take(const Expected<void>& status);

    PasswordKeyring::Kind m_kind;
    PasswordKeyring m_keyring;
    bool m_ticked = false;
    QString m_unavailableReason;
};
