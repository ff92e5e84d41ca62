#include "app/CommandLine.h"
#include "app/HeadlessOrders.h"
#include "app/HeadlessPublish.h"
#include "app/ProgramName.h"
#include "app/WindowProgram.h"
#include "platform/HomeFolder.h"
#include "settings/StartupSettings.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

// Generating a site needs no event loop and no application object: it runs
// without one.
int runGenerate(const CommandLine& command) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    HomeFolder::useChosenSettings();
    GenerateCommand generate = command.generate;
    generate.makerSite = StartupSettings::read().makerSite;
    return generate.run(out, err);
}

int runHeadless(int argc, char* argv[], const CommandLine& command) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    switch (command.mode) {
    case CommandLine::Mode::Help:
        out << CommandLine::help() << Qt::endl;
        return 0;
    case CommandLine::Mode::Version:
        out << "quillmart " << QUILLMART_VERSION << Qt::endl;
        return 0;
    case CommandLine::Mode::Publish:
        return HeadlessPublish::run(command.publish, out, err);
    case CommandLine::Mode::Orders:
        if (const Expected<void> prepared = HomeFolder::prepare(); !prepared) {
            err << "quillmart: " << prepared.error() << Qt::endl;
            return 2;
        }
        return HeadlessOrders::run(command.orders, HomeFolder::path(), out, err);
    default:
        err << "quillmart: " << command.error << Qt::endl;
        return 2;
    }
}

} // namespace

int main(int argc, char* argv[]) {
    const CommandLine command = CommandLine::parse(argc, argv);
    // Named before any application object exists, so every command's
    // settings and folders are the program's.
    nameTheProgram();
    if (command.mode == CommandLine::Mode::Gui || command.mode == CommandLine::Mode::Harvest)
        return WindowProgram::exec(argv);
    if (command.mode == CommandLine::Mode::Generate)
        return runGenerate(command);
    return runHeadless(argc, argv, command);
}
