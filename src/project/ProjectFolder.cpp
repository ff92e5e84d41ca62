#include "project/ProjectFolder.h"

#include "platform/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <sys/mman.h>

namespace {

// Asks the system to back the 2 MiB blocks of a fresh buffer with huge
// pages: the first touch of each 4 KiB page costs a page fault, and for
// the text of a large project those cost more than the decoding itself.
void adviseHugePages(void* data, qsizetype bytes) {
    constexpr quintptr kHugePage = 2 * 1024 * 1024;
    const quintptr start = (quintptr(data) + kHugePage - 1) & ~(kHugePage - 1);
    const quintptr end = (quintptr(data) + quintptr(bytes)) & ~(kHugePage - 1);
    if (end > start)
        madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}

// The text of an item file, as TextFile::readText gives it. The file is
// mapped, not copied into a buffer of its own, and UTF-8 is decoded
// straight into a text whose memory is advised as above.
std::optional<QString> itemText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const qint64 size = file.size();
    const uchar* mapped = size > 0 ? file.map(0, size) : nullptr;
    if (!mapped)
        return TextFile::decode(file.readAll());
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), size);
    if (!TextFile::isUtf8(bytes))
        return TextFile::decode(bytes);
    QString text(bytes.size(), Qt::Uninitialized);
    adviseHugePages(text.data(), text.size() * qsizetype(sizeof(QChar)));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    text.truncate(utf8.appendToBuffer(text.data(), bytes) - text.constData());
    return text;
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
            const auto text = itemText(path);
            if (!text) {
                if (error)
                    *error = QStringLiteral("Cannot read the item file %1.").arg(path);
                return std::nullopt;
            }
            category.items = ItemRecord::fromLines(*text);
        }
        input.categories << category;
    }
    return input;
}
