#include "app/GenerateCommand.h"

#include "app/ProjectOnDisk.h"
#include "shop/OrderAddresses.h"
#include "sitegen/SiteGenerator.h"

#include <QDir>

QString GenerateCommand::usage() {
    return QStringLiteral("usage: quillmart generate PROJECT_FOLDER [--layout banner|contents] "
                          "[--manufacturer] [--description-url] [--picture-url] [--weight]");
}

Expected<void> GenerateCommand::parse(const QStringList& arguments) {
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--manufacturer"))
            options.manufacturer = true;
        else if (argument == QLatin1String("--description-url"))
            options.descriptionUrl = true;
        else if (argument == QLatin1String("--picture-url"))
            options.pictureUrl = true;
        else if (argument == QLatin1String("--weight"))
            options.weight = true;
        else if (argument == QLatin1String("--layout")) {
            if (i + 1 == arguments.size())
                return Failure{QStringLiteral("--layout takes banner or contents")};
            const QString value = arguments[++i];
            if (value == QLatin1String("banner"))
                layout = SiteSettings::Layout::BannerAndContents;
            else if (value == QLatin1String("contents"))
                layout = SiteSettings::Layout::ContentsOnly;
            else
                return Failure{
                    QStringLiteral("--layout takes banner or contents, not \"%1\"").arg(value)};
        } else if (argument.startsWith(QLatin1String("--")) || !folder.isEmpty())
            return Failure{QStringLiteral("unknown argument \"%1\"").arg(argument)};
        else
            folder = argument;
    }
    if (folder.isEmpty())
        return Failure{QStringLiteral("no project folder given")};
    return {};
}

namespace {

// The project's options with those the command turns on.
CatalogOptions withOptionsOn(CatalogOptions kept, const CatalogOptions& on) {
    kept.manufacturer = kept.manufacturer || on.manufacturer;
    kept.descriptionUrl = kept.descriptionUrl || on.descriptionUrl;
    kept.pictureUrl = kept.pictureUrl || on.pictureUrl;
    kept.weight = kept.weight || on.weight;
    return kept;
}

} // namespace

int GenerateCommand::run(QTextStream& out, QTextStream& err) const {
    auto fail = [&err](const QString& message) {
        err << "quillmart generate: " << message << Qt::endl;
        return 1;
    };
    auto project = ProjectOnDisk::load(folder);
    if (!project)
        return fail(project.error());
    ProjectSettings& settings = project->settings;
    settings.site.layout = layout.value_or(settings.site.layout);
    Expected<SiteInput> read = project->folder.readSite(project->categories, settings.site,
                                                        withOptionsOn(settings.options, options));
    if (!read)
        return fail(read.error());
    SiteInput input = *std::move(read);
    input.templates = settings.templates;
    input.identity = settings.identity;
    input.makerSite = makerSite;
    const GenerationResult result = SiteGenerator::generate(project->folder.path(), input);
    if (!result.ok())
        return fail((result.problems + result.failures).join(QLatin1Char('\n')));
    for (const QString& path : result.written)
        out << QDir::toNativeSeparators(path) << Qt::endl;
    const QStringList examples = OrderAddresses::placeholders(settings.site, settings.templates);
    if (!examples.isEmpty())
        err << "quillmart generate: warning: " << OrderAddresses::placeholderWarning(examples)
            << Qt::endl;
    return 0;
}
