#include "project/ProjectFolder.h"

#include "files/TextFile.h"
#include "project/ProjectSettingsFile.h"
#include "project/SettingsFile.h"
#include "shop/OrderAddresses.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// The bytes of the item file at `path`, read whole: a file changed on disk
// while the site is written cannot touch the records, which point into
// these bytes. None when it cannot be read or is not a plain file (a FIFO
// is opened without waiting for a writer, then refused).
std::optional<ItemRecord::SharedText> itemFileBytes(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    QFile file;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return std::make_shared<const QByteArray>(std::move(bytes));
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

QString ProjectFolder::moreSettingsFile() const {
    return file(m_name + QStringLiteral(".settings.json"));
}

Expected<ProjectSettings> ProjectFolder::readSettings(ProjectSettings base) const {
    const auto failure = [](const QString& message) {
        return Expected<ProjectSettings>::failure(message);
    };
    if (QFileInfo::exists(settingsFile())) {
        const auto text = TextFile::readText(settingsFile());
        if (!text)
            return failure(QStringLiteral("Cannot read the settings file %1.").arg(settingsFile()));
        base.site = SettingsFile::read(*text, base.site);
    }
    if (QFileInfo::exists(moreSettingsFile())) {
        const auto bytes = TextFile::readBytes(moreSettingsFile());
        if (!bytes)
            return failure(
                QStringLiteral("Cannot read the settings file %1.").arg(moreSettingsFile()));
        auto read = ProjectSettingsFile::read(*bytes, base);
        if (!read)
            return failure(QStringLiteral("The settings file %1 cannot be read: %2.")
                               .arg(moreSettingsFile(), read.error()));
        base = *std::move(read);
    }
    base.templates.order1Tail =
        OrderAddresses::withLoginOf(base.site.actionCode, base.templates.order1Tail);
    return base;
}

Expected<void> ProjectFolder::writeSettings(const ProjectSettings& settings) const {
    for (const auto& [path, text] :
         {std::pair(settingsFile(), SettingsFile::write(settings.site)),
          std::pair(moreSettingsFile(), QString::fromUtf8(ProjectSettingsFile::write(settings)))}) {
        if (const Expected<void> written = TextFile::writeText(path, text); !written)
            return Failure{QStringLiteral("Could not save %1: %2").arg(path, written.error())};
    }
    return {};
}

QString ProjectFolder::itemFile(const QString& category) const {
    return file(category + QStringLiteral(".pro"));
}

std::optional<QStringList> ProjectFolder::readItemLines(const QString& category) const {
    return TextFile::readLines(itemFile(category));
}

// The records of an item file share its bytes: nothing is decoded or
// copied where the file is UTF-8, and the records stay cheap to make. A
// missing item file gives none.
Expected<ItemList> ProjectFolder::itemsOf(const QString& category) const {
    const QString path = itemFile(category);
    if (!QFileInfo::exists(path))
        return ItemList{}; // no items yet
    auto text = itemFileBytes(path);
    if (!text)
        return Expected<ItemList>::failure(
            QStringLiteral("Cannot read the item file %1.").arg(path));
    return itemsFromBytes(*std::move(text));
}

// The lines are read as TextFile::readText reads a file: UTF-8, the common
// case, is taken as it is (less a leading byte order mark); text that is not
// UTF-8 is decoded from Windows-1252 and the records share its UTF-8 form.
ItemList ProjectFolder::itemsFromBytes(ItemRecord::SharedText text) {
    if (!TextFile::isUtf8(*text)) {
        text = std::make_shared<const QByteArray>(TextFile::decode(*text).toUtf8());
        return ItemRecord::fromLines(text);
    }
    return ItemRecord::fromLines(text, TextFile::utf8Text(*text));
}

Expected<SiteInput> ProjectFolder::readSite(const QStringList& categories,
                                            const SiteSettings& settings,
                                            const CatalogOptions& options) const {
    SiteInput input;
    input.settings = settings;
    input.options = options;
    for (const QString& name : categories) {
        Expected<ItemList> items = itemsOf(name);
        if (!items)
            return Failure{items.error()};
        input.categories << SiteCategory{name, *std::move(items)};
    }
    return input;
}
