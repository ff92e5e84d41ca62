#include "app/WindowModule.h"

#include "app/ProgramModule.h"
#include "app/WindowEntry.h"

#include <cstdio>

void* WindowModule::entry(const char* name) {
    const auto function = ProgramModule::entry(QStringLiteral(QUILLMART_WINDOW_MODULE), name);
    if (!function)
        std::fprintf(stderr,
                     "quillmart: the window part of the program cannot be loaded: %s. The "
                     "headless commands such as \"quillmart generate\" still work (see "
                     "quillmart --help).\n",
                     qPrintable(function.error()));
    return function.valueOr(nullptr);
}

int WindowModule::runWindow(int argc, char* argv[]) {
    const auto run = reinterpret_cast<WindowEntry::Window>(entry(WindowEntry::kWindowName));
    return run ? run(argc, argv) : 2;
}

int WindowModule::runHarvest(int argc, char* argv[], const HarvestCommand& command) {
    const auto run = reinterpret_cast<WindowEntry::Harvest>(entry(WindowEntry::kHarvestName));
    return run ? run(argc, argv, command) : 2;
}
