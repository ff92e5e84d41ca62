#pragma once

#include "app/PublishCommand.h"

#include <QTextStream>

// One `quillmart publish` run: the project's site (or its catalog alone)
// goes to the server of the command or of the project's settings, or, for
// a dry run, what would be sent is printed.
class HeadlessPublish {
public:
    // Prints the summary to `out`, or one message to `err`; returns the exit
    // code: 0 when every file went up.
    static int run(const PublishCommand& command, QTextStream& out, QTextStream& err);
};
