#include "sitegen/Publisher.h"

#include "shop/NameRules.h"
#include "sitegen/PublishingLists.h"
#include "sitegen/UploadChecks.h"

QList<Expected<void>> Publisher::putEach(const QString& fileList, const QString& addressList,
                                         const PutOne& putOne) {
    const QStringList files = PublishingLists::entries(fileList);
    const QStringList addresses = PublishingLists::entries(addressList);
    const int total = int(qMax(files.size(), addresses.size()));
    QList<Expected<void>> results;
    for (int i = 0; i < total; ++i) {
        if (i < files.size() && i < addresses.size())
            results << putOne(files.at(i), addresses.at(i));
        else
            results << Failure{QStringLiteral("The file list and the address list do not have "
                                              "the same number of entries.")};
        Q_EMIT documentHandled(i + 1, total);
    }
    return results;
}

Expected<void> Publisher::removeEach(const QString& addressList, const RemoveOne& removeOne) {
    const QStringList addresses = PublishingLists::entries(addressList);
    QList<Expected<void>> results;
    for (const QString& address : addresses)
        results << removeOne(address);
    return UploadChecks::summary(addresses, results, QStringLiteral("removed"));
}

QString Publisher::webOfPath(const QString& webPath) {
    return webPath.startsWith(QLatin1Char('/')) ? webPath.mid(1) : webPath;
}

QString Publisher::typedServer(const QString& serverUrl) {
    if (serverUrl.startsWith(QLatin1String("http://"), Qt::CaseInsensitive))
        return serverUrl.mid(7);
    return serverUrl;
}

Expected<void> Publisher::mayUseWeb(bool serverOpen, const QString& blocked, const QString& web) {
    if (!serverOpen)
        return Failure{QStringLiteral("No server has been opened for publishing.")};
    if (!blocked.isEmpty())
        return Failure{blocked};
    if (!NameRules::isPlainFileName(web))
        return Failure{
            QStringLiteral("\"%1\" cannot be used as the name of a web on the server.").arg(web)};
    return {};
}
