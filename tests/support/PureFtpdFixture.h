#pragma once

#include "support/LocalServer.h"

#include <QString>

// An FTP server for tests: pure-ftpd on 127.0.0.1 with its own user list and
// the tests' certificate for 127.0.0.1 (TLS offered, plain FTP allowed); its
// one user "merchant" is shut in the served folder, in a temporary folder.
// pure-ftpd needs root.
class PureFtpdFixture {
public:
    // Why the server cannot run here; empty when it can.
    static QString missing();
    bool start(const QString& password);
    void stop() { m_server.stop(); }

    static QString user() { return QStringLiteral("merchant"); }
    // "host:port", to put behind "ftps://" or "ftp://".
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_server.port()); }
    QString rootPath() const { return m_server.path(QStringLiteral("root")); }
    // The server's certificate, to trust it.
    static QString certificatePath();
    QString error() const { return m_error; }

private:
    bool prepare(const QString& password);

    LocalServer m_server;
    QString m_error;
};
