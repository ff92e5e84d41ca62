#include "app/CommandLine.h"

CommandLine CommandLine::parse(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return parse(arguments);
}

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
        command.take(Mode::Generate, command.generate, arguments);
    } else if (first == QLatin1String("publish")) {
        command.take(Mode::Publish, command.publish, arguments);
    } else if (first == QLatin1String("orders")) {
        command.take(Mode::Orders, command.orders, arguments);
    } else if (first == QLatin1String("harvest")) {
        command.take(Mode::Harvest, command.harvest, arguments);
    } else {
        command.mode = Mode::Error;
        command.error = QStringLiteral("unknown command \"%1\"\n").arg(first) + help();
    }
    return command;
}

QString CommandLine::help() {
    return QStringLiteral("usage: quillmart            open the browser window (it opens the store "
                          "generator)\n"
                          "       quillmart --version  print the version\n       ") +
           GenerateCommand::usage().mid(QStringLiteral("usage: ").size()) +
           QStringLiteral("\n       ") +
           PublishCommand::usage().mid(QStringLiteral("usage: ").size()) +
           QStringLiteral("\n       ") +
           OrdersCommand::usage().mid(QStringLiteral("usage: ").size()) +
           QStringLiteral("\n       ") +
           HarvestCommand::usage().mid(QStringLiteral("usage: ").size());
}
