#pragma once

#include "platform/Fallible.h"
#include "platform/PasswordKeyring.h"

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>

// Pieces the headless commands read their arguments with.
class CommandOptions {
public:
    // The argument after position i (i moves onto it); false when there is
    // none.
    static bool takeValue(const QStringList& arguments, qsizetype& i, QString* value);
    // A password read from the environment variable named on the command
    // line (passwords never stand in the arguments themselves). A failure,
    // saying why, when the variable is not set.
    static Fallible<QString> passwordFrom(const QString& variable);
    // The password remembered in the desktop keyring for the server and
    // user, for a command given no --password-env; nothing when none is.
    // A keyring that cannot be used is said on `err` (after the command's
    // name), and the command goes on as it would without one.
    static std::optional<QString> rememberedPassword(PasswordKeyring::Kind kind,
                                                     const QString& server, const QString& user,
                                                     const QString& command, QTextStream& err);
};
