#pragma once

#include "app/HarvestCommand.h"

// Runs the entry points of the window module (see WindowEntry.h), which
// the program loads only for the window and the harvest command.
class WindowModule {
public:
    static int runWindow(int argc, char* argv[]);
    static int runHarvest(int argc, char* argv[], const HarvestCommand& command);

private:
    // The named entry point; null, after a message on standard error, when
    // the module cannot be loaded.
    static void* entry(const char* name);
};
