#include "app/ProjectOnDisk.h"

#include "platform/TextFile.h"
#include "project/SettingsFile.h"

#include <QDir>
#include <QFileInfo>

std::optional<ProjectOnDisk> ProjectOnDisk::load(const QString& folderPath, QString* error) {
    if (!QFileInfo(folderPath).isDir()) {
        *error = QStringLiteral("no such project folder: %1").arg(folderPath);
        return std::nullopt;
    }
    // The project is named after the folder: "Shop/" must name "Shop" too.
    ProjectOnDisk project{
        ProjectFolder::at(QDir::cleanPath(folderPath)), {}, SiteSettings::defaults()};
    const QString projectFile = project.folder.projectFile();
    if (!QFileInfo::exists(projectFile)) {
        *error = QStringLiteral("no project file %1").arg(projectFile);
        return std::nullopt;
    }
    const auto categories = TextFile::readLines(projectFile);
    if (!categories) {
        *error = QStringLiteral("cannot read %1").arg(projectFile);
        return std::nullopt;
    }
    project.categories = *categories;
    const QString settingsFile = project.folder.settingsFile();
    if (QFileInfo::exists(settingsFile)) {
        const auto text = TextFile::readText(settingsFile);
        if (!text) {
            *error = QStringLiteral("cannot read %1").arg(settingsFile);
            return std::nullopt;
        }
        project.settings = SettingsFile::read(*text, project.settings);
    }
    return project;
}
