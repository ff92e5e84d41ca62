#include "sitegen/PageFileWriter.h"

#include "platform/TextFileWriter.h"
#include "platform/TwoThreads.h"
#include "store/NameRules.h"

#include <QDir>
#include <utility>
#include <vector>

namespace {

// Files of at least this many bytes are synced on the thread that fills them;
// smaller ones are held whole before they are written.
constexpr qint64 kSyncedWhenFilled = 1 << 20;

} // namespace

PageFileWriter::FileText PageFileWriter::file(const QString& fileName, const QString& text) {
    return {fileName, [text = text.toUtf8()](const TextOut& out) { out(text); }};
}

PageFileWriter::FileText PageFileWriter::page(const QString& pageName, const QString& text) {
    return pageInPieces(pageName, [text = text.toUtf8()](const TextOut& out) { out(text); });
}

PageFileWriter::FileText PageFileWriter::pageInPieces(const QString& pageName,
                                                      const TextPieces& pieces) {
    return {pageName + QStringLiteral(".htm"), [pieces](const TextOut& out) {
                pieces(out);
                out("\r\n");
            }};
}

PageFileWriter::PageFileWriter(const QString& folder) : m_folder(folder) {}

PageFileWriter::~PageFileWriter() = default;

// The files are opened here, so that each belongs to this thread, and
// filled on two threads: one works through the small files while the other
// makes a large one. A file after a failed one is dropped (its temporary
// file removed).
void PageFileWriter::write(const QList<FileText>& files) {
    if (!m_failures.isEmpty())
        return;
    std::vector<std::unique_ptr<TextFileWriter>> opened;
    for (const FileText& file : files)
        opened.push_back(openedFile(file.fileName));
    runOnTwoThreads(files.size(), [&](qsizetype i) {
        if (opened[size_t(i)])
            fill(*opened[size_t(i)], files[i].pieces);
    });
    for (qsizetype i = 0; i < files.size() && m_failures.isEmpty(); ++i)
        putInPlace(files[i].fileName, opened[size_t(i)].get());
}

std::unique_ptr<TextFileWriter> PageFileWriter::openedFile(const QString& fileName) const {
    if (!NameRules::isPlainFileName(fileName))
        return nullptr;
    return std::make_unique<TextFileWriter>(QDir(m_folder).absoluteFilePath(fileName));
}

// A large file's bytes go to the disk here, on the filling thread, so that
// putting the file in place has little left to do. A small file's text is
// held until it is whole: when the file in place already holds it (most
// pages do when a site is generated again after a change to its items),
// the file is left as it is, which spares its sync and its replacement.
// A small file that did change waits for the sync in commit: each sync
// costs a flush of the disk's cache, however few bytes it writes.
void PageFileWriter::fill(TextFileWriter& file, const TextPieces& pieces) {
    QByteArray held;
    pieces([&](QByteArrayView piece) {
        if (file.size() == 0 && held.size() + piece.size() < kSyncedWhenFilled) {
            held += piece;
            return;
        }
        file.writeBytes(std::exchange(held, {}));
        file.writeBytes(piece);
    });
    if (file.leaveIfHolding(held))
        return;
    file.writeBytes(held);
    if (file.size() >= kSyncedWhenFilled)
        file.syncToDisk();
}

void PageFileWriter::putInPlace(const QString& fileName, TextFileWriter* file) {
    const QString path = QDir(m_folder).absoluteFilePath(fileName);
    const QString error =
        file ? file->commit() : QStringLiteral("the name is not a plain file name");
    if (error.isEmpty())
        m_written << path;
    else
        m_failures << QStringLiteral("Could not write %1: %2").arg(path, error);
}
