#include "sitegen/FolderPublisher.h"

#include "platform/Logging.h"
#include "shop/NameRules.h"
#include "sitegen/PublishingLists.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>

namespace {

// The folder a server text names; "http://" in front (as the create call
// gets it) is taken off first.
QString folderOf(QString server) {
    if (server.startsWith(QLatin1String("http://")))
        server.remove(0, 7);
    if (server.startsWith(QLatin1String("file:")))
        return QUrl(server).toLocalFile();
    return server;
}

// Copies whole: the web never holds half a file.
Expected<void> copyFile(const QString& from, const QString& to) {
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return Failure{QStringLiteral("cannot read %1: %2").arg(from, source.errorString())};
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly) || target.write(source.readAll()) < 0 ||
        !target.commit())
        return Failure{QStringLiteral("cannot write %1: %2").arg(to, target.errorString())};
    return {};
}

// Only a plain name stays inside the folder it is joined to.
Expected<void> checkInside(const QString& name) {
    if (NameRules::isPlainFileName(name))
        return {};
    return Failure{
        QStringLiteral("\"%1\" is not a plain file name inside the web; it was left alone.")
            .arg(name)};
}

} // namespace

bool FolderPublisher::namesFolder(const QString& server) {
    return server.startsWith(QLatin1Char('/')) || server.startsWith(QLatin1String("file:")) ||
           server.startsWith(QLatin1Char('.'));
}

void FolderPublisher::vtiDisableErrorDialogs(int) {}

Expected<bool> FolderPublisher::vtiOpenWebWithPassword(const QString& server, const QString& web,
                                                       const QString&, const QString&) {
    const QString root = folderOf(server);
    if (!QFileInfo(root).isDir())
        return Failure{QStringLiteral("The folder %1 does not exist.").arg(root)};
    if (Expected<void> usable = useWeb(web); !usable)
        return Failure{usable.error()};
    m_webFolder = QDir(root).filePath(web);
    return QFileInfo(m_webFolder).isDir();
}

Expected<void> FolderPublisher::vtiRemoveWeb(const QString&, const QString& addressList) {
    // Nothing is removed when any address would lead out of the web.
    const QStringList addresses = PublishingLists::entries(addressList);
    for (const QString& address : addresses)
        if (Expected<void> inside = checkInside(address); !inside)
            return inside;
    for (const QString& address : addresses) {
        QFile file(QDir(m_webFolder).filePath(address));
        if (file.exists() && !file.remove())
            return Failure{
                QStringLiteral("Could not remove %1: %2").arg(file.fileName(), file.errorString())};
    }
    return {};
}

Expected<void> FolderPublisher::vtiCreateWeb(const QString& serverUrl, const QString& web) {
    if (Expected<void> usable = useWeb(web); !usable)
        return usable;
    m_webFolder = QDir(folderOf(serverUrl)).filePath(web);
    if (!QDir().mkpath(m_webFolder))
        return Failure{QStringLiteral("Could not create the folder %1.").arg(m_webFolder)};
    return {};
}

QList<Expected<void>> FolderPublisher::vtiPutDocuments(const QString& fileList,
                                                       const QString& addressList) {
    const QStringList files = PublishingLists::entries(fileList);
    const QStringList addresses = PublishingLists::entries(addressList);
    QList<Expected<void>> results;
    for (qsizetype i = 0; i < addresses.size(); ++i) {
        Expected<void> result = checkInside(addresses.at(i));
        if (result)
            result = copyFile(files.value(i), QDir(m_webFolder).filePath(addresses.at(i)));
        qCDebug(lcPublish) << "published" << files.value(i) << "as" << addresses.at(i) << ":"
                           << (result ? QStringLiteral("done") : result.error());
        results << result;
        Q_EMIT documentHandled(int(i + 1), int(addresses.size()));
    }
    return results;
}

Expected<void> FolderPublisher::useWeb(const QString& web) {
    return checkInside(web);
}
