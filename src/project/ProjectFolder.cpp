#include "project/ProjectFolder.h"

#include "platform/FreshMemory.h"
#include "platform/TextFile.h"
#include "platform/TwoThreads.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <memory>
#include <vector>

namespace {

// The bytes of an item file: mapped when they can be, read otherwise. The
// mapping lasts as long as the file stays open, which is as long as any
// record shares the bytes. Each record adds to the count of its file's
// owners; the files are read on two threads, so each file's count gets a
// cache line of its own (alignment puts it alone on the line before the
// object) instead of one the other thread's count may share.
struct alignas(64) ItemFileBytes {
    explicit ItemFileBytes(const QString& path) : file(path) {}
    QFile file;
    QByteArray bytes;
};

std::optional<ItemRecord::SharedText> itemFileBytes(const QString& path) {
    auto item = std::make_shared<ItemFileBytes>(path);
    if (!item->file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const qint64 size = item->file.size();
    const uchar* mapped = size > 0 ? item->file.map(0, size) : nullptr;
    if (mapped)
        populateForReading(mapped, size);
    item->bytes = mapped ? QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), size)
                         : item->file.readAll();
    return ItemRecord::SharedText(item, &item->bytes);
}

// The UTF-8 lines of an item file, read as TextFile::readText reads the
// file: UTF-8, the common case, is taken as it is (less a leading byte
// order mark); text that is not UTF-8 is decoded from Windows-1252 and
// `text` becomes its UTF-8 form.
QByteArrayView utf8Lines(ItemRecord::SharedText& text) {
    if (!TextFile::isUtf8(*text)) {
        text = std::make_shared<const QByteArray>(TextFile::decode(*text).toUtf8());
        return *text;
    }
    return TextFile::utf8Text(*text);
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

// The records of each item file share its bytes, mapped from the file
// where they are UTF-8: nothing is decoded or copied, and the records
// stay cheap to make. The files are checked and split into records on
// two threads at once.
Fallible<SiteInput> ProjectFolder::readSite(const QStringList& categories,
                                            const SiteSettings& settings,
                                            const CatalogOptions& options) const {
    std::vector<ItemRecord::SharedText> files; // none for a missing file
    for (const QString& name : categories) {
        const QString path = itemFile(name);
        files.emplace_back();
        if (!QFileInfo::exists(path))
            continue;
        auto bytes = itemFileBytes(path);
        if (!bytes)
            return Fallible<SiteInput>::failure(
                QStringLiteral("Cannot read the item file %1.").arg(path));
        files.back() = *std::move(bytes);
    }

    SiteInput input;
    input.settings = settings;
    input.options = options;
    for (const QString& name : categories)
        input.categories << SiteCategory{name, {}};
    SiteCategory* const read = input.categories.data(); // each thread fills its own
    runOnTwoThreads(categories.size(), [&](qsizetype i) {
        ItemRecord::SharedText& text = files[size_t(i)];
        if (!text)
            return;
        const QByteArrayView lines = utf8Lines(text); // may replace the text
        read[i].items = ItemRecord::fromLines(text, lines);
    });
    return input;
}
