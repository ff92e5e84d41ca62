#include "project/ProjectFolder.h"

#include "platform/TextFile.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The records of an item file. UTF-8 is decoded field by field, so a large
// file is not held decoded as a whole beside its records.
QList<ItemRecord> itemsOf(const QByteArray& bytes) {
    QList<ItemRecord> items;
    if (TextFile::isUtf8(bytes)) {
        const QList<QByteArrayView> lines = TextFile::lineViews(TextFile::withoutBom(bytes));
        items.reserve(lines.size());
        for (const QByteArrayView line : lines)
            items << ItemRecord::fromUtf8Line(line);
        return items;
    }
    const QString text = TextFile::decode(bytes);
    for (const QStringView line : TextFile::lineViews(text))
        items << ItemRecord::fromLine(line);
    return items;
}

} // namespace

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

Fallible<SiteInput> ProjectFolder::readSite(const QStringList& categories,
                                            const SiteSettings& settings,
                                            const CatalogOptions& options) const {
    SiteInput input;
    input.settings = settings;
    input.options = options;
    for (const QString& name : categories) {
        SiteCategory category{name, {}};
        const QString path = itemFile(name);
        if (QFileInfo::exists(path)) {
            const auto bytes = TextFile::readBytes(path);
            if (!bytes)
                return Fallible<SiteInput>::failure(
                    QStringLiteral("Cannot read the item file %1.").arg(path));
            category.items = itemsOf(*bytes);
        }
        input.categories << category;
    }
    return input;
}
