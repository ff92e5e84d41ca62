#pragma once

#include "app/HarvestCommand.h"

// The entry points of the window module: the browser window and the
// harvest command, the parts of the program that need the web engine. The
// program loads the module only to call one of them, so its headless
// commands start without loading the engine's libraries.
namespace WindowEntry {

// Runs the browser window; returns the exit code.
using Window = int (*)(int argc, char* argv[]);
// Runs the harvest on hidden pages; returns the exit code.
using Harvest = int (*)(int argc, char* argv[], const HarvestCommand& command);

inline constexpr char kWindowName[] = "quillmart_run_window";
inline constexpr char kHarvestName[] = "quillmart_run_harvest";

} // namespace WindowEntry
