#include "app/GenerateCommand.h"

#include "platform/TextFile.h"
#include "project/ProjectFolder.h"
#include "project/SettingsFile.h"
#include "sitegen/SiteGenerator.h"

#include <QDir>
#include <QFileInfo>

QString GenerateCommand::usage() {
    return QStringLiteral("usage: quillmart generate PROJECT_FOLDER [--layout banner|contents] "
                          "[--manufacturer] [--description-url] [--picture-url] [--weight]");
}

QString GenerateCommand::parse(const QStringList& arguments) {
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
                return QStringLiteral("--layout takes banner or contents");
            const QString value = arguments[++i];
            if (value == QLatin1String("banner"))
                layout = SiteSettings::Layout::BannerAndContents;
            else if (value == QLatin1String("contents"))
                layout = SiteSettings::Layout::ContentsOnly;
            else
                return QStringLiteral("--layout takes banner or contents, not \"%1\"").arg(value);
        } else if (argument.startsWith(QLatin1String("--")) || !folder.isEmpty())
            return QStringLiteral("unknown argument \"%1\"").arg(argument);
        else
            folder = argument;
    }
    return folder.isEmpty() ? QStringLiteral("no project folder given") : QString();
}

int GenerateCommand::run(QTextStream& out, QTextStream& err) const {
    auto fail = [&err](const QString& message) {
        err << "quillmart generate: " << message << Qt::endl;
        return 1;
    };
    if (!QFileInfo(folder).isDir())
        return fail(QStringLiteral("no such project folder: %1").arg(folder));
    // The project is named after the folder: "Shop/" must name "Shop" too.
    const ProjectFolder project = ProjectFolder::at(QDir::cleanPath(folder));
    if (!QFileInfo::exists(project.projectFile()))
        return fail(QStringLiteral("no project file %1").arg(project.projectFile()));
    const auto categories = TextFile::readLines(project.projectFile());
    if (!categories)
        return fail(QStringLiteral("cannot read %1").arg(project.projectFile()));

    SiteSettings settings = SiteSettings::defaults();
    if (QFileInfo::exists(project.settingsFile())) {
        const auto text = TextFile::readText(project.settingsFile());
        if (!text)
            return fail(QStringLiteral("cannot read %1").arg(project.settingsFile()));
        settings = SettingsFile::read(*text, settings);
    }
    settings.layout = layout;

    QString error;
    const auto input = project.readSite(*categories, settings, options, &error);
    if (!input)
        return fail(error);
    const GenerationResult result = SiteGenerator::generate(project.path(), *input);
    if (!result.ok())
        return fail((result.problems + result.failures).join(QLatin1Char('\n')));
    for (const QString& path : result.written)
        out << QDir::toNativeSeparators(path) << Qt::endl;
    return 0;
}
