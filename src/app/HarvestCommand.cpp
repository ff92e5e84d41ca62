#include "app/HarvestCommand.h"

#include "app/CommandOptions.h"

namespace {

QStringList splitKeywords(const QString& text) {
    QStringList words;
    for (const QString& word : text.split(QLatin1Char(',')))
        if (!word.trimmed().isEmpty())
            words << word.trimmed();
    return words;
}

} // namespace

Expected<void> HarvestCommand::parse(const QStringList& arguments) {
    // In the order of ReportFile::Format.
    static const QStringList formats{QStringLiteral("html"), QStringLiteral("csv"),
                                     QStringLiteral("json")};
    bool searchGiven = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        QString value;
        if (argument == QLatin1String("--keywords") || argument == QLatin1String("--report") ||
            argument == QLatin1String("--format")) {
            if (!CommandOptions::takeValue(arguments, i, &value))
                return Failure{QStringLiteral("%1 needs a value").arg(argument)};
            if (argument == QLatin1String("--report"))
                report = value;
            else if (argument == QLatin1String("--format") && !formats.contains(value))
                return Failure{QStringLiteral("--format is html, csv or json")};
            else if (argument == QLatin1String("--format"))
                format = static_cast<ReportFile::Format>(formats.indexOf(value));
            else if ((keywords = splitKeywords(value)).isEmpty())
                return Failure{QStringLiteral("--keywords needs at least one word")};
        } else if (argument == QLatin1String("--find-email") ||
                   argument == QLatin1String("--find-contact")) {
            if (searchGiven)
                return Failure{QStringLiteral("give only one of --find-email and --find-contact")};
            searchGiven = true;
            search = argument == QLatin1String("--find-email") ? Search::Email : Search::Contact;
        } else if (argument == QLatin1String("--images")) {
            images = true;
        } else if (argument == QLatin1String("--respect-robots") ||
                   argument == QLatin1String("--ignore-robots")) {
            if (respectRobots)
                return Failure{
                    QStringLiteral("give only one of --respect-robots and --ignore-robots")};
            respectRobots = argument == QLatin1String("--respect-robots");
        } else if (argument.startsWith(QLatin1String("--"))) {
            return Failure{QStringLiteral("unknown option %1").arg(argument)};
        } else {
            urls << argument;
        }
    }
    if (urls.isEmpty())
        return Failure{QStringLiteral("give at least one page address")};
    if (report.isEmpty())
        return Failure{QStringLiteral("--report FILE is required")};
    if (search == Search::Keywords && keywords.isEmpty())
        return Failure{QStringLiteral("give --keywords, --find-email or --find-contact")};
    if (search != Search::Keywords && !keywords.isEmpty())
        return Failure{QStringLiteral("--keywords cannot go with --find-email or --find-contact")};
    return {};
}

QString HarvestCommand::usage() {
    return QStringLiteral("usage: quillmart harvest URL... [--keywords W1,W2,...] "
                          "[--find-email | --find-contact] [--images] [--format html|csv|json] "
                          "[--respect-robots | --ignore-robots] --report FILE");
}
