#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// An FTP server for tests: pure-ftpd on 127.0.0.1 with its own user list,
// a self-signed certificate for 127.0.0.1 (TLS offered, plain FTP allowed)
// and the served folder in a temporary folder. Its one user "merchant" is
// shut in the served folder. pure-ftpd needs root to run.
class PureFtpdFixture {
public:
    PureFtpdFixture();
    ~PureFtpdFixture() { stop(); }
    PureFtpdFixture(const PureFtpdFixture&) = delete;
    PureFtpdFixture& operator=(const PureFtpdFixture&) = delete;

    // Why the server cannot run here; empty when it can.
    static QString missing();
    bool start(const QString& password);
    void stop();

    static QString user() { return QStringLiteral("merchant"); }
    // "host:port", to put behind "ftps://" or "ftp://".
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    QString rootPath() const { return m_dir.filePath(QStringLiteral("root")); }
    // The server's certificate, to trust it.
    QString certificatePath() const { return m_dir.filePath(QStringLiteral("cert.pem")); }
    QString error() const { return m_error; }

private:
    bool prepare(const QString& password);
    bool startOnce();

    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
    QString m_error;
};
