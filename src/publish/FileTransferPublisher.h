#pragma once

#include "publish/CurlTransfer.h"
#include "sitegen/Publisher.h"
#include "sitegen/TransferAccess.h"

#include <QUrl>
#include <memory>
#include <optional>

// Publishes a site over FTP over TLS or plain FTP, through libcurl. The
// server text is "ftps://host[:port]/path" (explicit TLS: the connection
// starts plain and is secured with AUTH TLS before the login) or
// "ftp://host[:port]/path"; the web is the folder of that name below the
// path, which starts at the login folder. One connection serves the whole
// publish. (SFTP goes through SftpPublisher.)
class FileTransferPublisher : public Publisher {
    Q_OBJECT

public:
    enum class Protocol { Ftps, Ftp };

    explicit FileTransferPublisher(const TransferAccess& access, QObject* parent = nullptr);

    // The protocol a server text asks for, if it names one of these.
    static std::optional<Protocol> protocolOf(const QString& server);

    void vtiDisableErrorDialogs(int flag) override;
    Expected<bool> vtiOpenWebWithPassword(const QString& server, const QString& web,
                                          const QString& user, const QString& password) override;
    Expected<void> vtiRemoveWeb(const QString& webPath, const QString& addressList) override;
    Expected<void> vtiCreateWeb(const QString& serverUrl, const QString& web) override;
    QList<Expected<void>> vtiPutDocuments(const QString& fileList,
                                          const QString& addressList) override;

private:
    enum class WebState { Present, Missing };

    Expected<void> useServer(const QString& serverText);
    Expected<void> useWeb(const QString& web);
    void configureConnection();
    void configureTls();
    Expected<WebState> readWeb(QStringList* names);

    QString url(const QString& address) const;
    QString commandPath(const QString& address) const;
    QString removeCommand(const QString& address) const;
    QString makeWebCommand() const;

    bool removeAll(const QStringList& addresses, const QStringList& present);
    Expected<void> removeOne(const QString& address, const QStringList& present);
    Expected<void> putOne(const QString& localPath, const QString& address);
    QString failureOf(const CurlTransfer::Result& result, const QString& what);
    QString connectionFailure(const CurlTransfer::Result& result) const;
    QString serverName() const;

    TransferAccess m_access;
    Protocol m_protocol = Protocol::Ftps;
    std::unique_ptr<CurlTransfer> m_transfer;
    QUrl m_base;
    QString m_web;
    QString m_user;
    QString m_password;
    // Where the FTP login starts, as the server reported it.
    QString m_loginFolder;
    // The failure that stops further requests (unreachable, login, trust).
    QString m_blocked;
};
