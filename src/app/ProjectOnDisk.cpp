#include "app/ProjectOnDisk.h"

#include "files/TextFile.h"

#include <QDir>
#include <QFileInfo>

Expected<ProjectOnDisk> ProjectOnDisk::load(const QString& folderPath) {
    if (!QFileInfo(folderPath).isDir())
        return Expected<ProjectOnDisk>::failure(
            QStringLiteral("no such project folder: %1").arg(folderPath));
    // The project is named after the folder: "Shop/" must name "Shop" too.
    ProjectOnDisk project{ProjectFolder::at(QDir::cleanPath(folderPath)), {}, {}};
    const QString projectFile = project.folder.projectFile();
    if (!QFileInfo::exists(projectFile))
        return Expected<ProjectOnDisk>::failure(
            QStringLiteral("no project file %1").arg(projectFile));
    const auto categories = TextFile::readLines(projectFile);
    if (!categories)
        return Expected<ProjectOnDisk>::failure(QStringLiteral("cannot read %1").arg(projectFile));
    project.categories = *categories;
    auto settings = project.folder.readSettings(ProjectSettings{});
    if (!settings)
        return Expected<ProjectOnDisk>::failure(settings.error());
    project.settings = *std::move(settings);
    return project;
}
