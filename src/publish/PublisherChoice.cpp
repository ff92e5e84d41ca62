#include "publish/PublisherChoice.h"

#include "publish/FileTransferPublisher.h"
#include "publish/SftpPublisher.h"
#include "publish/WebDavPublisher.h"
#include "sitegen/FolderPublisher.h"

std::unique_ptr<Publisher> PublisherChoice::forServer(const QString& server,
                                                      const TransferAccess& access) {
    if (FolderPublisher::namesFolder(server))
        return std::make_unique<FolderPublisher>();
    if (SftpPublisher::namesSftp(server))
        return std::make_unique<SftpPublisher>(access);
    if (FileTransferPublisher::protocolOf(server))
        return std::make_unique<FileTransferPublisher>(access);
    return std::make_unique<WebDavPublisher>();
}

QString PublisherChoice::passwordInClearWarning(const QString& server, const QString& password) {
    if (password.isEmpty() || FolderPublisher::namesFolder(server))
        return {};
    const auto protocol = FileTransferPublisher::protocolOf(server);
    if (protocol == FileTransferPublisher::Protocol::Ftp)
        return QStringLiteral("The connection to %1 is not encrypted (ftp://): the publishing "
                              "password can be read by anyone on the way. Use ftps:// or "
                              "sftp:// if the server supports it.")
            .arg(server.trimmed());
    if (protocol || SftpPublisher::namesSftp(server) || !WebDavPublisher::isUnencrypted(server))
        return {};
    return QStringLiteral("The connection to %1 is not encrypted (http://): the publishing "
                          "password can be read by anyone on the way. Use https:// (or the "
                          "server name alone) if the server supports it.")
        .arg(server.trimmed());
}
