#include "sitegen/UploadChecks.h"

#include "shop/NameRules.h"

#include <QDir>
#include <QFileInfo>

namespace UploadChecks {

Expected<void> checkAddress(const QString& address) {
    if (NameRules::isPlainFileName(address))
        return {};
    return Failure{
        QStringLiteral("\"%1\" is not a file name inside the web; it was not sent.").arg(address)};
}

Expected<void> checkLocalFile(const QString& localPath) {
    const QFileInfo info(localPath);
    if (!info.exists())
        return Failure{QStringLiteral("The file %1 does not exist; has the site been generated?")
                           .arg(QDir::toNativeSeparators(localPath))};
    if (!info.isFile())
        return Failure{
            QStringLiteral("%1 is not a file.").arg(QDir::toNativeSeparators(localPath))};
    return {};
}

Expected<void> openForUpload(const QString& localPath, const QString& address, QFile& file) {
    if (Expected<void> sendable = checkAddress(address); !sendable)
        return sendable;
    if (Expected<void> there = checkLocalFile(localPath); !there)
        return there;
    file.setFileName(localPath);
    if (!file.open(QIODevice::ReadOnly))
        return Failure{QStringLiteral("The file %1 cannot be read: %2")
                           .arg(QDir::toNativeSeparators(localPath), file.errorString())};
    return {};
}

Expected<void> summary(const QStringList& addresses, const QList<Expected<void>>& results,
                       const QString& done) {
    QString first;
    int failed = 0;
    for (int i = 0; i < results.size(); ++i) {
        if (results.at(i))
            continue;
        if (failed++ == 0)
            first = i < addresses.size()
                        ? addresses.at(i) + QStringLiteral(": ") + results.at(i).error()
                        : results.at(i).error();
    }
    if (failed == 0)
        return {};
    return Failure{QStringLiteral("%1 of %2 files were not %3. %4")
                       .arg(QString::number(failed), QString::number(results.size()), done, first)};
}

} // namespace UploadChecks
