#include "platform/ShippedData.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

bool runsFromBuildTree() {
    const QString tree = QDir(QStringLiteral(QUILLMART_BUILD_TREE)).canonicalPath();
    const QString program = QDir(QCoreApplication::applicationDirPath()).canonicalPath();
    return !tree.isEmpty() && (program == tree || program.startsWith(tree + QLatin1Char('/')));
}

} // namespace

QStringList ShippedData::candidates(const QString& name) {
    QStringList places;
    if (runsFromBuildTree())
        places << QStringLiteral(QUILLMART_SOURCE_DATA "/") + name;
    for (const QString& relative :
         {QStringLiteral(QUILLMART_RELATIVE_DATA), QStringLiteral(QUILLMART_WINDOW_RELATIVE_DATA)})
        places << QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                                  relative + QLatin1Char('/') + name);
    for (const QString& data :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        places << data + QStringLiteral("/quillmart/") + name;
    places.removeDuplicates();
    return places;
}

QString ShippedData::folder(const QString& name) {
    for (const QString& place : candidates(name)) {
        if (QFileInfo(place).isDir())
            return place;
    }
    return {};
}
