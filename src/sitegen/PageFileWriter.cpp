#include "sitegen/PageFileWriter.h"

#include "platform/TextFile.h"
#include "project/NameRules.h"

#include <QDir>

PageFileWriter::PageFileWriter(const QString& folder) : m_folder(folder) {}

void PageFileWriter::writePage(const QString& pageName, const QString& text) {
    writeFile(pageName + QStringLiteral(".htm"), text + QStringLiteral("\r\n"));
}

void PageFileWriter::writeFile(const QString& fileName, const QString& text) {
    if (!m_failures.isEmpty())
        return;
    const QString path = QDir(m_folder).absoluteFilePath(fileName);
    const QString error = NameRules::isPlainFileName(fileName)
                              ? TextFile::writeText(path, text)
                              : QStringLiteral("the name is not a plain file name");
    if (error.isEmpty())
        m_written << path;
    else
        m_failures << QStringLiteral("Could not write %1: %2").arg(path, error);
}
