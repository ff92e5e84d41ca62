// The window program: the browser window and the harvest command, which
// need Qt Widgets and the web engine. `quillmart` starts it in its own
// place for those; the headless commands never load it.
#include "app/CommandLine.h"
#include "app/ProgramName.h"
#include "app/WindowCommands.h"

#include <cstdio>

int main(int argc, char* argv[]) {
    const CommandLine command = CommandLine::parse(argc, argv);
    nameTheProgram();
    if (command.mode == CommandLine::Mode::Gui)
        return WindowCommands::runWindow(argc, argv);
    if (command.mode == CommandLine::Mode::Harvest)
        return WindowCommands::runHarvest(argc, argv, command.harvest);
    std::fprintf(stderr, "quillmart-window: run the other commands with quillmart.\n");
    return 2;
}
