#pragma once

#include "platform/Expected.h"

#include <QString>
#include <QStringList>
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
    static Expected<QString> passwordFrom(const QString& variable);
};
