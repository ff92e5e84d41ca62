#include "sitegen/PageFileWriter.h"

#include "platform/TextFileWriter.h"
#include "store/NameRules.h"

#include <QDir>

PageFileWriter::PageFileWriter(const QString& folder) : m_folder(folder) {}

void PageFileWriter::writePage(const QString& pageName, const QString& text) {
    writePieces(pageName + QStringLiteral(".htm"), [&text](const TextOut& out) {
        out(text);
        out(QStringLiteral("\r\n"));
    });
}

void PageFileWriter::writePageInPieces(const QString& pageName, const TextPieces& pieces) {
    writePieces(pageName + QStringLiteral(".htm"), [&pieces](const TextOut& out) {
        pieces(out);
        out(QStringLiteral("\r\n"));
    });
}

void PageFileWriter::writeFile(const QString& fileName, const QString& text) {
    writePieces(fileName, [&text](const TextOut& out) { out(text); });
}

void PageFileWriter::writePieces(const QString& fileName, const TextPieces& pieces) {
    if (!m_failures.isEmpty())
        return;
    const QString path = QDir(m_folder).absoluteFilePath(fileName);
    const QString error = NameRules::isPlainFileName(fileName)
                              ? writeText(path, pieces)
                              : QStringLiteral("the name is not a plain file name");
    if (error.isEmpty())
        m_written << path;
    else
        m_failures << QStringLiteral("Could not write %1: %2").arg(path, error);
}

QString PageFileWriter::writeText(const QString& path, const TextPieces& pieces) {
    TextFileWriter file(path);
    pieces([&file](const QString& piece) { file.write(piece); });
    return file.commit();
}
