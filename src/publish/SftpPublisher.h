#pragma once

#include "publish/SftpSession.h"
#include "sitegen/Publisher.h"
#include "sitegen/TransferAccess.h"

#include <QUrl>
#include <memory>

// Publishes a site over SFTP. The server text is "sftp://host[:port]/path",
// the path from the server's root ("/~/" starts at the user's home); the web
// is the folder of that name below the path. One connection (SftpSession)
// serves the whole publish; a failure of the connection itself (unreachable,
// login, host key) stops every call after it.
class SftpPublisher : public Publisher {
    Q_OBJECT

public:
    explicit SftpPublisher(const TransferAccess& access, QObject* parent = nullptr);

    // Whether a server text asks for SFTP.
    static bool namesSftp(const QString& server);

    void vtiDisableErrorDialogs(int flag) override;
    Expected<bool> vtiOpenWebWithPassword(const QString& server, const QString& web,
                                          const QString& user, const QString& password) override;
    Expected<void> vtiRemoveWeb(const QString& webPath, const QString& addressList) override;
    Expected<void> vtiCreateWeb(const QString& serverUrl, const QString& web) override;
    QList<Expected<void>> vtiPutDocuments(const QString& fileList,
                                          const QString& addressList) override;

private:
    Expected<void> connectTo(const QString& serverText);
    Expected<void> useWeb(const QString& web);
    QString remotePath(const QString& address) const;
    Expected<void> removeOne(const QString& address);
    Expected<void> putOne(const QString& localPath, const QString& address);
    QString failureOf(const SftpSession::Result& result, const QString& what);
    QString serverName() const;

    TransferAccess m_access;
    std::unique_ptr<SftpSession> m_session;
    QUrl m_base;
    QString m_web;
    QString m_user;
    QString m_password;
    // The failure that stops further requests (unreachable, login, trust).
    QString m_blocked;
};
