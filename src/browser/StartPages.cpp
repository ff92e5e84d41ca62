#include "browser/StartPages.h"

#include "platform/ShippedData.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

bool holdsStartPage(const QString& folder) {
    return QFileInfo(folder + QStringLiteral("/index.htm")).isFile();
}

QString folderAsUrl(const QString& folder) {
    return QUrl::fromLocalFile(QDir::cleanPath(folder) + QLatin1Char('/')).toString();
}

} // namespace

QString StartPages::folderUrl() {
    const QStringList candidates = ShippedData::candidates(QStringLiteral("velgan"));
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
