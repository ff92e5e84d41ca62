#include "app/GenerateCommand.h"

#include "app/ProjectOnDisk.h"
#include "shop/OrderAddresses.h"
#include "sitegen/SiteGenerator.h"

#include <QDir>

QString GenerateCommand::usage() {
    return QStringLiteral(
        "usage: quillmart generate PROJECT_FOLDER [--layout banner|contents|pages] "
        "[--manufacturer] [--description-url] [--picture-url] [--weight]");
}

namespace {

// The layout a value of --layout names, in the order of SiteSettings::Layout.
Expected<SiteSettings::Layout> layoutNamed(const QString& value) {
    static const QStringList kNames{QStringLiteral("banner"), QStringLiteral("contents"),
                                    QStringLiteral("pages")};
    const qsizetype index = kNames.indexOf(value);
    if (index < 0)
        return Failure{
            QStringLiteral("--layout takes banner, contents or pages, not \"%1\"").arg(value)};
    return SiteSettings::Layout(index);
}

} // namespace

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
                return Failure{QStringLiteral("--layout takes banner, contents or pages")};
            const Expected<SiteSettings::Layout> named = layoutNamed(arguments[++i]);
            if (!named)
                return Failure{named.error()};
            layout = *named;
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
