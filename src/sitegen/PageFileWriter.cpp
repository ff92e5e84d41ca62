#include "sitegen/PageFileWriter.h"

#include "files/TextFileWriter.h"
#include "shop/NameRules.h"

#include <QDir>
#include <utility>
#include <vector>

namespace {

// Texts shorter than this are held whole before they are written.
constexpr qint64 kHeldBelow = 1 << 17;

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

void PageFileWriter::write(const QList<FileText>& files) {
    for (const FileText& file : files) {
        if (!m_failures.isEmpty())
            return;
        const std::unique_ptr<TextFileWriter> made = openedFile(file.fileName);
        if (made)
            fill(*made, file.pieces);
        putOneInPlace(file.fileName, made.get());
    }
}

std::unique_ptr<TextFileWriter> PageFileWriter::openedFile(const QString& fileName) const {
    if (!NameRules::isPlainFileName(fileName))
        return nullptr;
    return std::make_unique<TextFileWriter>(QDir(m_folder).absoluteFilePath(fileName));
}

// A small file's text is held until it is whole: when the file in place
// already holds it (most pages do when a site is generated again after a
// change to its items), the file is left as it is, which spares its sync
// and its replacement.
void PageFileWriter::fill(TextFileWriter& file, const TextPieces& pieces) {
    QByteArray held;
    pieces([&](QByteArrayView piece) {
        if (file.size() == 0 && held.size() + piece.size() < kHeldBelow) {
            held += piece;
            return;
        }
        file.writeBytes(std::exchange(held, {}));
        file.writeBytes(piece);
    });
    if (file.leaveIfHolding(held))
        return;
    file.writeBytes(held);
}

void PageFileWriter::putOneInPlace(const QString& fileName, TextFileWriter* file) {
    const QString path = QDir(m_folder).absoluteFilePath(fileName);
    const Expected<void> written =
        file ? file->commit() : Failure{QStringLiteral("the name is not a plain file name")};
    if (written)
        m_written << path;
    else
        m_failures << QStringLiteral("Could not write %1: %2").arg(path, written.error());
}
