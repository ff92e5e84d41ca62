#pragma once

#include <QFile>
#include <QString>
#include <QStringList>

// The checks and the summary every network publishing back end shares.
namespace UploadChecks {

// Why an address cannot be sent inside the web (empty when it can): only a
// plain file name is allowed, so nothing lands outside the web's folder.
QString addressProblem(const QString& address);
// Why a local file cannot be sent (empty when it can).
QString localFileProblem(const QString& localPath);
// Opens the local file to send to the address; why it cannot be sent
// (address, missing file, unreadable file), empty when it can.
QString openForUpload(const QString& localPath, const QString& address, QFile& file);
// Empty when every entry succeeded; else how many failed and the first
// failure, with its address. `done` is the past participle of the work.
QString summary(const QStringList& addresses, const QStringList& results, const QString& done);

} // namespace UploadChecks
