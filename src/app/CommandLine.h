#pragma once

#include "app/GenerateCommand.h"
#include "app/HarvestCommand.h"
#include "app/OrdersCommand.h"
#include "app/PublishCommand.h"

#include <QString>
#include <QStringList>

// What the program was asked to do: open its windows, or run one of the
// headless subcommands.
struct CommandLine {
    enum class Mode { Gui, Generate, Publish, Orders, Harvest, Help, Version, Error };

    Mode mode = Mode::Gui;
    QString error;
    GenerateCommand generate;
    PublishCommand publish;
    OrdersCommand orders;
    HarvestCommand harvest;

    // `arguments` without the program's own name.
    static CommandLine parse(const QStringList& arguments);
    // The arguments of main(), less the program's name.
    static CommandLine parse(int argc, char* argv[]);
    static QString help();

private:
    // A subcommand reads the arguments after its name; bad ones turn the
    // mode into Error, with the subcommand's usage line.
    template <typename Subcommand>
    void take(Mode subcommandMode, Subcommand& subcommand, const QStringList& arguments) {
        mode = subcommandMode;
        if (const Expected<void> parsed = subcommand.parse(arguments.mid(1)); !parsed) {
            mode = Mode::Error;
            error = parsed.error() + QLatin1Char('\n') + Subcommand::usage();
        }
    }
};
