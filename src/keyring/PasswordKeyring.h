#pragma once

#include "platform/Expected.h"

#include <QString>

// Passwords kept in the desktop's keyring (the secret service), never in a
// file: one per kind of account, server and user. Each call waits for the
// keyring's answer in a local event loop that takes no user input, for at
// most the time-out, so callers stay synchronous.
class PasswordKeyring {
public:
    enum class Kind { Publishing, Mail, Database };

    // Long enough for the user to unlock a locked keyring in the desktop's
    // own prompt.
    static constexpr int kDefaultTimeoutMs = 30000;

    explicit PasswordKeyring(int timeoutMs = kDefaultTimeoutMs) : m_timeoutMs(timeoutMs) {}

    // The remembered password; empty when none is remembered.
    Expected<QString> read(Kind kind, const QString& server, const QString& user) const;
    // Remembers the password (an empty one is forgotten instead).
    Expected<void> write(Kind kind, const QString& server, const QString& user,
                         const QString& password) const;
    // Forgets the password; nothing remembered is no failure.
    Expected<void> forget(Kind kind, const QString& server, const QString& user) const;

private:
    int m_timeoutMs;
};
