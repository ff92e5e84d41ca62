#pragma once

#include "keyring/PasswordKeyring.h"

#include <QString>
#include <QTextStream>
#include <optional>

// The password remembered in the desktop keyring for the server and user,
// for a command given no --password-env; nothing when none is. A keyring
// that cannot be used is said on `err` (after the command's name), and the
// command goes on as it would without one.
std::optional<QString> keyringPassword(PasswordKeyring::Kind kind, const QString& server,
                                       const QString& user, const QString& command,
                                       QTextStream& err);
