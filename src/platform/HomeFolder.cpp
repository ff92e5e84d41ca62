#include "platform/HomeFolder.h"

#include <QDir>
#include <QStandardPaths>

QString HomeFolder::path() {
    QString folder = qEnvironmentVariable("QUILLMART_HOME");
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return {};
    return QDir(folder).absolutePath();
}
