#include "project/ProjectFolder.h"

#include "platform/TextFile.h"
#include "platform/TwoThreads.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <memory>
#include <sys/mman.h>
#include <vector>

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

// The bytes of an item file: mapped when it can be, read otherwise. The
// mapping lasts as long as the file stays open.
struct ItemFileBytes {
    std::unique_ptr<QFile> file;
    QByteArray bytes;
};

std::optional<ItemFileBytes> itemFileBytes(const QString& path) {
    ItemFileBytes item{std::make_unique<QFile>(path), {}};
    if (!item.file->open(QIODevice::ReadOnly))
        return std::nullopt;
    const qint64 size = item.file->size();
    const uchar* mapped = size > 0 ? item.file->map(0, size) : nullptr;
    item.bytes = mapped ? QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), size)
                        : item.file->readAll();
    return item;
}

// Decodes `bytes` as TextFile::readText does into `out`, which has room
// for one character per byte (neither UTF-8 nor Windows-1252 needs more).
// Returns the number of characters written. UTF-8, the common case, is
// checked while it is decoded; text that turns out not to be UTF-8 is
// decoded again.
qsizetype decodeInto(QChar* out, const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QChar* end = utf8.appendToBuffer(out, bytes);
    if (!utf8.hasError())
        return end - out;
    const QString text = TextFile::decode(bytes);
    std::copy(text.cbegin(), text.cend(), out);
    return text.size();
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

// The item files are decoded into one text, shared by all records, whose
// memory is advised as above: one large text gets huge pages nearly
// throughout, where a text per file would leave the unaligned ends of each
// in small pages. Each file has room in it for as many characters as it
// has bytes, so the files are decoded and split into records on two
// threads at once; room a file does not use stays unused.
Fallible<SiteInput> ProjectFolder::readSite(const QStringList& categories,
                                            const SiteSettings& settings,
                                            const CatalogOptions& options) const {
    std::vector<std::optional<ItemFileBytes>> files;
    std::vector<qsizetype> starts; // where each file's room begins in the text
    qsizetype totalBytes = 0;
    for (const QString& name : categories) {
        const QString path = itemFile(name);
        files.emplace_back();
        starts.push_back(totalBytes);
        if (!QFileInfo::exists(path))
            continue;
        files.back() = itemFileBytes(path);
        if (!files.back())
            return Fallible<SiteInput>::failure(
                QStringLiteral("Cannot read the item file %1.").arg(path));
        totalBytes += files.back()->bytes.size();
    }

    QString text(totalBytes, Qt::Uninitialized);
    QChar* const room = text.data(); // taken once: the records share the text
    adviseHugePages(room, totalBytes * qsizetype(sizeof(QChar)));
    SiteInput input;
    input.settings = settings;
    input.options = options;
    for (const QString& name : categories)
        input.categories << SiteCategory{name, {}};
    SiteCategory* const read = input.categories.data(); // each thread fills its own
    runOnTwoThreads(categories.size(), [&](qsizetype i) {
        const auto& file = files[size_t(i)];
        const qsizetype start = starts[size_t(i)];
        const qsizetype length = file ? decodeInto(room + start, file->bytes) : 0;
        read[i].items = ItemRecord::fromLines(text, QStringView(text).sliced(start, length));
    });
    return input;
}
