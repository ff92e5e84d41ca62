#include "sitegen/Publisher.h"

#include "sitegen/PublishingLists.h"
#include "sitegen/UploadChecks.h"
#include "store/NameRules.h"

QStringList Publisher::putEach(
    const QString& fileList, const QString& addressList,
    const std::function<QString(const QString& file, const QString& address)>& putOne) {
    const QStringList files = PublishingLists::entries(fileList);
    const QStringList addresses = PublishingLists::entries(addressList);
    const int total = int(qMax(files.size(), addresses.size()));
    QStringList results;
    for (int i = 0; i < total; ++i) {
        if (i < files.size() && i < addresses.size())
            results << putOne(files.at(i), addresses.at(i));
        else
            results << QStringLiteral("The file list and the address list do not have the same "
                                      "number of entries.");
        Q_EMIT documentHandled(i + 1, total);
    }
    setLastError(UploadChecks::summary(addresses, results, QStringLiteral("published")));
    return results;
}

bool Publisher::removeEach(const QString& addressList,
                           const std::function<QString(const QString& address)>& removeOne) {
    const QStringList addresses = PublishingLists::entries(addressList);
    QStringList results;
    for (const QString& address : addresses)
        results << removeOne(address);
    setLastError(UploadChecks::summary(addresses, results, QStringLiteral("removed")));
    return lastError().isEmpty();
}

QString Publisher::webOfPath(const QString& webPath) {
    return webPath.startsWith(QLatin1Char('/')) ? webPath.mid(1) : webPath;
}

QString Publisher::typedServer(const QString& serverUrl) {
    if (serverUrl.startsWith(QLatin1String("http://"), Qt::CaseInsensitive))
        return serverUrl.mid(7);
    return serverUrl;
}

bool Publisher::mayUseWeb(bool serverOpen, const QString& blocked, const QString& web) {
    if (!serverOpen)
        setLastError(QStringLiteral("No server has been opened for publishing."));
    else if (!blocked.isEmpty())
        setLastError(blocked);
    else if (!NameRules::isPlainFileName(web))
        setLastError(
            QStringLiteral("\"%1\" cannot be used as the name of a web on the server.").arg(web));
    else
        return true;
    return false;
}
