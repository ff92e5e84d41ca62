#pragma once

#include "support/LocalServer.h"

#include <QString>

// An SFTP server for tests: OpenSSH's sshd on 127.0.0.1 with its own host
// keys (ed25519 and ECDSA), configuration and served folder in a temporary folder. It logs in
// the system account "quillmart-sftp" (made by scripts/bootstrap.sh), which
// gets a fresh random password for the run and is locked again at the end;
// checking passwords against the system's accounts takes root.
class SshdFixture : public LocalServer {
public:
    ~SshdFixture() { stop(); }

    // Why the server cannot run here; empty when it can.
    static QString missing();
    // `extraConfig`: sshd_config lines added to the test configuration.
    bool start(const QString& extraConfig = {});
    void stop();

    static QString user() { return QStringLiteral("quillmart-sftp"); }
    QString password() const { return m_password; }
    // The server text for "Server name:": the served folder over SFTP.
    QString serverText() const;
    QString rootPath() const { return path(QStringLiteral("root")); }
    // The ed25519 host key's fingerprint as OpenSSH's own ssh-keygen prints it.
    QString fingerprint() const;
    // "[127.0.0.1]:port", as a known hosts file names the server.
    QByteArray knownHostsName() const;
    // A known hosts line for the host key of that type ("ed25519", "ecdsa").
    QByteArray knownHostsLine(const QString& type) const;
    // Lets the public key (an OpenSSH ".pub" line) log in.
    bool authorize(const QByteArray& publicKey) const;

private:
    bool prepare();

    QString m_password;
};
