#pragma once

#include "platform/Expected.h"

#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

// The checks and the summary every network publishing back end shares.
namespace UploadChecks {

// Whether an address can be sent inside the web: only a plain file name is
// allowed, so nothing lands outside the web's folder.
Expected<void> checkAddress(const QString& address);
// Whether a local file can be sent.
Expected<void> checkLocalFile(const QString& localPath);
// Opens the local file to send to the address; a failure says why it
// cannot be sent (address, missing file, unreadable file).
Expected<void> openForUpload(const QString& localPath, const QString& address, QFile& file);
// A failure when an entry failed: how many did, and the first failure with
// its address. `done` is the past participle of the work.
Expected<void> summary(const QStringList& addresses, const QList<Expected<void>>& results,
                       const QString& done);

} // namespace UploadChecks
