#include "buffers/BufferFile.h"

#include "files/TextFile.h"
#include "platform/Prompts.h"

QString BufferFile::dialogFilter(Kind kind, bool privateZone) {
    if (privateZone && kind != Kind::Mp3)
        return QStringLiteral("Private collection file (*.prv)|*.prv");
    return QStringLiteral(
        "HTML file (*.htm;*.html)|*.htm;*.html|Text File (*.txt;*.rtf)|*.txt;*.rtf");
}

bool BufferFile::save(const QString& text, const QString& filter, Prompts& prompts,
                      const QString& folder) {
    const auto path = prompts.saveFile(filter, folder);
    if (!path || path->isEmpty())
        return false;
    const Expected<void> written = TextFile::writeText(*path, text);
    if (!written)
        prompts.message(QStringLiteral("Could not save %1: %2").arg(*path, written.error()));
    return written.ok();
}
