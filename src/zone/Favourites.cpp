#include "zone/Favourites.h"

#include "files/TextFile.h"
#include "platform/Logging.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kPrivateFile = QStringLiteral("favor.prv");
const QString kPublicFile = QStringLiteral("favor2.txt");
const QString kPublicExitFile = QStringLiteral("favor2.prv");

void write(const QString& path, const QStringList& list) {
    // A file that cannot be written is skipped, and logged: the list in
    // memory has changed all the same.
    if (const Expected<void> written = TextFile::writeText(path, Favourites::fileText(list));
        !written)
        qCWarning(lcBrowser) << "Could not write" << path << written.error();
}

} // namespace

QString Favourites::addDeleteFile(const QString& homeFolder, bool privateZone) {
    return QDir(homeFolder).filePath(privateZone ? kPrivateFile : kPublicFile);
}

QString Favourites::publicStartFile(const QString& homeFolder) {
    const QFileInfo exitFile(QDir(homeFolder).filePath(kPublicExitFile));
    const QFileInfo addDelete(QDir(homeFolder).filePath(kPublicFile));
    const bool laterChanges =
        addDelete.exists() &&
        (!exitFile.exists() || addDelete.lastModified() > exitFile.lastModified());
    return laterChanges ? addDelete.filePath() : exitFile.filePath();
}

void Favourites::add(QStringList& list, const QString& url, const QString& path) {
    list.append(url);
    write(path, list);
}

bool Favourites::remove(QStringList& list, int row, const QString& path) {
    if (row < 0 || row >= list.size())
        return false;
    list.removeAt(row);
    write(path, list);
    return true;
}

QString Favourites::fileText(const QStringList& list) {
    QString text;
    for (const QString& entry : list)
        text += entry + QStringLiteral("\r\n");
    return text + QStringLiteral("\r\n");
}
