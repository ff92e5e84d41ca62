#include "sitegen/FolderPublisher.h"

#include "platform/Logging.h"
#include "sitegen/PublishingLists.h"
#include "store/NameRules.h"

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
QString copyFile(const QString& from, const QString& to) {
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read %1: %2").arg(from, source.errorString());
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly) || target.write(source.readAll()) < 0 ||
        !target.commit())
        return QStringLiteral("cannot write %1: %2").arg(to, target.errorString());
    return {};
}

// Only a plain name stays inside the folder it is joined to.
QString outsideProblem(const QString& name) {
    if (NameRules::isPlainFileName(name))
        return {};
    return QStringLiteral("\"%1\" is not a plain file name inside the web; it was left alone.")
        .arg(name);
}

} // namespace

bool FolderPublisher::namesFolder(const QString& server) {
    return server.startsWith(QLatin1Char('/')) || server.startsWith(QLatin1String("file:")) ||
           server.startsWith(QLatin1Char('.'));
}

void FolderPublisher::vtiDisableErrorDialogs(int) {}

int FolderPublisher::vtiOpenWebWithPassword(const QString& server, const QString& web,
                                            const QString&, const QString&) {
    const QString root = folderOf(server);
    if (!QFileInfo(root).isDir()) {
        setLastError(QStringLiteral("The folder %1 does not exist.").arg(root));
        return -1;
    }
    if (!useWeb(web))
        return -1;
    m_webFolder = QDir(root).filePath(web);
    setLastError({});
    return QFileInfo(m_webFolder).isDir() ? 1 : 0;
}

bool FolderPublisher::vtiRemoveWeb(const QString&, const QString& addressList) {
    // Nothing is removed when any address would lead out of the web.
    const QStringList addresses = PublishingLists::entries(addressList);
    for (const QString& address : addresses) {
        const QString problem = outsideProblem(address);
        if (!problem.isEmpty()) {
            setLastError(problem);
            return false;
        }
    }
    for (const QString& address : addresses) {
        QFile file(QDir(m_webFolder).filePath(address));
        if (file.exists() && !file.remove()) {
            setLastError(
                QStringLiteral("Could not remove %1: %2").arg(file.fileName(), file.errorString()));
            return false;
        }
    }
    setLastError({});
    return true;
}

bool FolderPublisher::vtiCreateWeb(const QString& serverUrl, const QString& web) {
    if (!useWeb(web))
        return false;
    m_webFolder = QDir(folderOf(serverUrl)).filePath(web);
    if (!QDir().mkpath(m_webFolder)) {
        setLastError(QStringLiteral("Could not create the folder %1.").arg(m_webFolder));
        return false;
    }
    setLastError({});
    return true;
}

QStringList FolderPublisher::vtiPutDocuments(const QString& fileList, const QString& addressList) {
    const QStringList files = PublishingLists::entries(fileList);
    const QStringList addresses = PublishingLists::entries(addressList);
    QStringList results;
    for (qsizetype i = 0; i < addresses.size(); ++i) {
        const QString problem = outsideProblem(addresses.at(i));
        results << (problem.isEmpty()
                        ? copyFile(files.value(i), QDir(m_webFolder).filePath(addresses.at(i)))
                        : problem);
        qCDebug(lcPublish) << "published" << files.value(i) << "as" << addresses.at(i) << ":"
                           << (results.last().isEmpty() ? QStringLiteral("done") : results.last());
        Q_EMIT documentHandled(int(i + 1), int(addresses.size()));
    }
    return results;
}

bool FolderPublisher::useWeb(const QString& web) {
    const QString problem = outsideProblem(web);
    setLastError(problem);
    return problem.isEmpty();
}
