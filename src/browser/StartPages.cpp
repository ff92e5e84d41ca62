#include "browser/StartPages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QUrl>

namespace {

// Where the folder may be, in the order it is looked for: installed under
// share/ beside the program's bin/ folder, then in the source tree the
// program was built from.
QStringList candidateFolders() {
    return {
        QCoreApplication::applicationDirPath() + QStringLiteral("/../share/quillmart/velgan"),
        QStringLiteral(QUILLMART_SOURCE_DATA "/velgan"),
    };
}

bool holdsStartPage(const QString& folder) {
    return QFileInfo(folder + QStringLiteral("/index.htm")).isFile();
}

QString folderAsUrl(const QString& folder) {
    return QUrl::fromLocalFile(QDir::cleanPath(folder) + QLatin1Char('/')).toString();
}

} // namespace

QString StartPages::folderUrl() {
    const QStringList candidates = candidateFolders();
    for (const QString& folder : candidates) {
        if (holdsStartPage(folder))
            return folderAsUrl(folder);
    }
    // Nothing shipped: point at the installed place, where a package puts it.
    return folderAsUrl(candidates.first());
}

QString StartPages::defaultLocation() {
    return folderUrl();
}

QString StartPages::keptForm(const QString& address) {
    const QString folder = folderUrl();
    if (!address.startsWith(folder))
        return address;
    return QStringLiteral("./") + address.mid(folder.size());
}

QString StartPages::fromKept(const QString& kept) {
    if (!kept.startsWith(QLatin1String("./")))
        return kept;
    return folderUrl() + kept.mid(2);
}
