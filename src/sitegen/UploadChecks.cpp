#include "sitegen/UploadChecks.h"

#include "store/NameRules.h"

#include <QDir>
#include <QFileInfo>

namespace UploadChecks {

QString addressProblem(const QString& address) {
    if (NameRules::isPlainFileName(address))
        return QString();
    return QStringLiteral("\"%1\" is not a file name inside the web; it was not sent.")
        .arg(address);
}

QString localFileProblem(const QString& localPath) {
    const QFileInfo info(localPath);
    if (!info.exists())
        return QStringLiteral("The file %1 does not exist; has the site been generated?")
            .arg(QDir::toNativeSeparators(localPath));
    if (!info.isFile())
        return QStringLiteral("%1 is not a file.").arg(QDir::toNativeSeparators(localPath));
    return QString();
}

QString openForUpload(const QString& localPath, const QString& address, QFile& file) {
    QString problem = addressProblem(address);
    if (problem.isEmpty())
        problem = localFileProblem(localPath);
    if (!problem.isEmpty())
        return problem;
    file.setFileName(localPath);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("The file %1 cannot be read: %2")
            .arg(QDir::toNativeSeparators(localPath), file.errorString());
    return QString();
}

QString summary(const QStringList& addresses, const QStringList& results, const QString& done) {
    QString first;
    int failed = 0;
    for (int i = 0; i < results.size(); ++i) {
        if (results.at(i).isEmpty())
            continue;
        if (failed++ == 0)
            first = i < addresses.size() ? addresses.at(i) + QStringLiteral(": ") + results.at(i)
                                         : results.at(i);
    }
    if (failed == 0)
        return QString();
    return QStringLiteral("%1 of %2 files were not %3. %4")
        .arg(QString::number(failed), QString::number(results.size()), done, first);
}

} // namespace UploadChecks
