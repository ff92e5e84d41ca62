#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// An SFTP server for tests: OpenSSH's sshd on 127.0.0.1 with its own host
// key, configuration and served folder in a temporary folder. It logs in
// the system account "quillmart-sftp" (made by scripts/bootstrap.sh), which
// gets a fresh random password for the run and is locked again at the end;
// checking passwords against the system's accounts takes root.
class SshdFixture {
public:
    SshdFixture();
    ~SshdFixture() { stop(); }
    SshdFixture(const SshdFixture&) = delete;
    SshdFixture& operator=(const SshdFixture&) = delete;

    // Why the server cannot run here; empty when it can.
    static QString missing();
    bool start();
    void stop();

    static QString user() { return QStringLiteral("quillmart-sftp"); }
    QString password() const { return m_password; }
    // The server text for "Server name:": the served folder over SFTP.
    QString serverText() const;
    QString rootPath() const { return m_dir.filePath(QStringLiteral("root")); }
    // The host key's fingerprint as OpenSSH's own ssh-keygen prints it.
    QString fingerprint() const;
    // Lets the public key (an OpenSSH ".pub" line) log in.
    bool authorize(const QByteArray& publicKey) const;
    QString error() const { return m_error; }

private:
    bool startOnce();
    QString configuration() const;
    static bool setPassword(const QByteArray& entry);

    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
    QString m_password;
    QString m_error;
};
