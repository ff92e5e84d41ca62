#pragma once

#include "platform/Fallible.h"

#include <QString>

// Finds one of the program's modules, the parts it loads only for the
// commands that need them, and an entry point in it. An installed program
// finds its modules in the program library folder next to its bin/, a
// program run from its build tree beside itself.
class ProgramModule {
public:
    // The entry point `name` of the first module called `fileName` that
    // loads; a failure, saying why, when none does or none has it.
    static Fallible<void*> entry(const QString& fileName, const char* name);
};
