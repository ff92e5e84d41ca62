#pragma once

#include "keyring/PasswordKeyring.h"
#include "platform/Expected.h"

#include <QString>

// A database server's password in the desktop keyring, kept for the
// server ("host:port/database") and user an order database address names.
// SQLite files and addresses without a user never reach the keyring, so
// the default store opens without a word to the secret service.
class DatabaseKeyring {
public:
    explicit DatabaseKeyring(PasswordKeyring keyring = PasswordKeyring()) : m_keyring(keyring) {}

    // The password remembered for the address; empty when none is, or when
    // the address carries its own password.
    Expected<QString> read(const QString& connection) const;
    // Remembers the password that opened the database at `connection`.
    Expected<void> remember(const QString& connection, const QString& password) const;
    // Forgets it; nothing remembered is no failure.
    Expected<void> forget(const QString& connection) const;

private:
    PasswordKeyring m_keyring;
};
