#pragma once

#include "platform/Expected.h"
#include "sitegen/TransferAccess.h"

#include <QElapsedTimer>
#include <QString>
#include <atomic>
#include <functional>
#include <libssh/libssh.h>
#include <libssh/sftp.h>

class QIODevice;

// One SSH connection with its SFTP channel, through libssh. libssh checks the
// host key against the known hosts file (SshHostKeys), logs in with the
// user's agent or key files (RSA signed with SHA-2) or the password, and
// then serves every request of a publish. Each blocking libssh call runs on
// a short-lived thread while the caller's events are processed without user
// input, so a window keeps painting; a server that stops answering is cut
// off after a time limit.
class SftpSession {
public:
    // How a request ended. A lost connection ends the session: later
    // requests fail the same way.
    struct Result {
        enum class Kind { Done, Missing, Refused, Lost };
        Kind kind = Kind::Done;
        // The server's or the connection's words, for Refused and Lost.
        QString detail;
        bool ok() const { return kind == Kind::Done; }
    };

    SftpSession(const TransferAccess& access, const QString& host, int port);
    ~SftpSession();
    SftpSession(const SftpSession&) = delete;
    SftpSession& operator=(const SftpSession&) = delete;

    // Connects, checks the host key, logs in and opens the SFTP channel;
    // the message names the server when one of them fails.
    Expected<void> open(const QString& user, const QString& password);

    // Done when the path is a folder, Missing when there is nothing there.
    Result folder(const QString& path);
    Result makeFolder(const QString& path);
    // Missing when there was nothing to remove.
    Result remove(const QString& path);
    Result upload(QIODevice& source, const QString& path);

private:
    Expected<void> connect(const QString& user);
    Expected<void> logIn(const QString& user, const QString& password);
    int passwordLogIn(const QString& password);
    Expected<void> openChannel();
    bool write(QIODevice& source, const QString& path);
    Result outcome(bool done);
    QString lostConnection() const;
    QString serverName() const;
    void runBlocking(const std::function<void()>& work);
    void touch();
    void cutOffIfStalled();

    TransferAccess m_access;
    QString m_host;
    int m_port = 22;
    ssh_session m_ssh = nullptr;
    sftp_session m_sftp = nullptr;
    // The connection's socket, known once it is connected.
    socket_t m_socket = SSH_INVALID_SOCKET;
    // When the blocking call last made progress, in ms of m_clock.
    QElapsedTimer m_clock;
    std::atomic<qint64> m_lastActivity{0};
    bool m_cutOff = false;
};
