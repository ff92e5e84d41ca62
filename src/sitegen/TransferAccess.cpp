#include "sitegen/TransferAccess.h"

#include <QDir>

QString TransferAccess::knownHostsPath() const {
    return knownHostsFile.isEmpty() ? sshFolderPath() + QStringLiteral("/known_hosts")
                                    : knownHostsFile;
}

QString TransferAccess::sshFolderPath() const {
    return sshFolder.isEmpty() ? QDir::homePath() + QStringLiteral("/.ssh") : sshFolder;
}
