#include "project/ProjectFolder.h"

#include "platform/TextFile.h"

#include <QDir>
#include <QFileInfo>

ProjectFolder::ProjectFolder(const QString& homeFolder, const QString& name)
    : m_path(QDir(homeFolder).filePath(name)), m_name(name) {}

ProjectFolder ProjectFolder::at(const QString& folderPath) {
    ProjectFolder folder;
    const QFileInfo info(folderPath);
    folder.m_path = info.absoluteFilePath();
    folder.m_name = QFileInfo(folder.m_path).fileName();
    return folder;
}

QString ProjectFolder::file(const QString& fileName) const {
    return m_path + QLatin1Char('/') + fileName;
}

QString ProjectFolder::projectFile() const {
    return file(m_name + QStringLiteral(".caa"));
}
QString ProjectFolder::snapshotFile() const {
    return file(m_name + QStringLiteral(".pro"));
}
QString ProjectFolder::settingsFile() const {
    return file(m_name + QStringLiteral(".sit"));
}

QString ProjectFolder::itemFile(const QString& category) const {
    return file(category + QStringLiteral(".pro"));
}

std::optional<QStringList> ProjectFolder::readItemLines(const QString& category) const {
    return TextFile::readLines(itemFile(category));
}

std::optional<SiteInput> ProjectFolder::readSite(const QStringList& categories,
                                                 const SiteSettings& settings,
                                                 const CatalogOptions& options,
                                                 QString* error) const {
    SiteInput input;
    input.settings = settings;
    input.options = options;
    for (const QString& name : categories) {
        SiteCategory category{name, {}};
        const QString path = itemFile(name);
        if (QFileInfo::exists(path)) {
            const auto bytes = TextFile::readBytes(path);
            if (!bytes) {
                if (error)
                    *error = QStringLiteral("Cannot read the item file %1.").arg(path);
                return std::nullopt;
            }
            category.items = ItemRecord::fromLines(TextFile::decode(*bytes));
        }
        input.categories << category;
    }
    return input;
}
