#include "sitegen/PageFileWriter.h"

#include "platform/TextFile.h"

#include <QDir>

namespace {

// A plain file name: it names a file directly inside the folder, never the
// folder itself, its parent or anything below another folder.
bool isPlainFileName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

} // namespace

PageFileWriter::PageFileWriter(const QString& folder) : m_folder(folder) {}

void PageFileWriter::writePage(const QString& pageName, const QString& text) {
    writeFile(pageName + QStringLiteral(".htm"), text + QStringLiteral("\r\n"));
}

void PageFileWriter::writeFile(const QString& fileName, const QString& text) {
    const QString path = QDir(m_folder).absoluteFilePath(fileName);
    const QString error = isPlainFileName(fileName)
                              ? TextFile::writeText(path, text)
                              : QStringLiteral("the name is not a plain file name");
    if (error.isEmpty())
        m_written << path;
    else
        m_failures << QStringLiteral("Could not write %1: %2").arg(path, error);
}
