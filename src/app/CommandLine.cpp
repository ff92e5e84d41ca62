#include "app/CommandLine.h"

CommandLine CommandLine::parse(const QStringList& arguments) {
    CommandLine command;
    if (arguments.isEmpty())
        return command;
    const QString& first = arguments.first();
    if (first == QLatin1String("--help") || first == QLatin1String("-h") ||
        first == QLatin1String("help")) {
        command.mode = Mode::Help;
    } else if (first == QLatin1String("--version")) {
        command.mode = Mode::Version;
    } else if (first == QLatin1String("generate")) {
        command.mode = Mode::Generate;
        command.error = command.generate.parse(arguments.mid(1));
        if (!command.error.isEmpty()) {
            command.mode = Mode::Error;
            command.error += QLatin1Char('\n') + GenerateCommand::usage();
        }
    } else if (first == QLatin1String("publish")) {
        command.mode = Mode::Publish;
        command.error = command.publish.parse(arguments.mid(1));
        if (!command.error.isEmpty()) {
            command.mode = Mode::Error;
            command.error += QLatin1Char('\n') + PublishCommand::usage();
        }
    } else if (first == QLatin1String("orders")) {
        command.mode = Mode::Orders;
        command.error = command.orders.parse(arguments.mid(1));
        if (!command.error.isEmpty()) {
            command.mode = Mode::Error;
            command.error += QLatin1Char('\n') + OrdersCommand::usage();
        }
    } else if (first == QLatin1String("harvest")) {
        command.mode = Mode::Harvest;
        command.error = command.harvest.parse(arguments.mid(1));
        if (!command.error.isEmpty()) {
            command.mode = Mode::Error;
            command.error += QLatin1Char('\n') + HarvestCommand::usage();
        }
    } else {
        command.mode = Mode::Error;
        command.error = QStringLiteral("unknown command \"%1\"\n").arg(first) + help();
    }
    return command;
}

QString CommandLine::help() {
    return QStringLiteral("usage: quillmart            open the store generator\n"
                          "       quillmart --version  print the version\n       ") +
           GenerateCommand::usage().mid(QStringLiteral("usage: ").size()) +
           QStringLiteral("\n       ") +
           PublishCommand::usage().mid(QStringLiteral("usage: ").size()) +
           QStringLiteral("\n       ") +
           OrdersCommand::usage().mid(QStringLiteral("usage: ").size()) +
           QStringLiteral("\n       ") +
           HarvestCommand::usage().mid(QStringLiteral("usage: ").size());
}
