#pragma once

#include "app/HarvestCommand.h"

// The commands that need Qt Widgets and the web engine: the browser window,
// and the harvest, which reads pages in hidden web views.
class WindowCommands {
public:
    // Each returns the program's exit code.
    static int runWindow(int argc, char* argv[]);
    static int runHarvest(int argc, char* argv[], const HarvestCommand& command);
};
