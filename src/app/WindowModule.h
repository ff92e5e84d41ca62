#pragma once

#include "app/HarvestCommand.h"

// Finds the window module and runs one of its entry points. An installed
// program finds it in the program library folder next to its bin/, a
// program run from its build tree beside itself.
class WindowModule {
public:
    static int runWindow(int argc, char* argv[]);
    static int runHarvest(int argc, char* argv[], const HarvestCommand& command);

private:
    // The named entry point of the first module that loads; null, after a
    // message on standard error, when none does.
    static void* entry(const char* name);
};
