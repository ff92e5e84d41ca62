#pragma once

#include "sitegen/Publisher.h"
#include "sitegen/TransferAccess.h"

#include <memory>

// The back end the "Server name:" text asks for: a folder of this machine
// (a path or a "file:" URL), an SFTP or FTP server ("sftp://", "ftps://",
// "ftp://") or a WebDAV server (host[:port][/path] over https, or an
// address starting with "https://" or "http://").
class PublisherChoice {
public:
    static std::unique_ptr<Publisher> forServer(const QString& server,
                                                const TransferAccess& access = {});
    // What the user should know before publishing when the password would
    // go over a connection that is not encrypted (a server typed with
    // "http://" or "ftp://"); empty otherwise.
    static QString passwordInClearWarning(const QString& server, const QString& password);
};
