#pragma once

#include "support/LocalServer.h"

#include <QString>

// An FTP server for tests: pure-ftpd on 127.0.0.1 with its own user list and
// the tests' certificate for 127.0.0.1 (TLS offered, plain FTP allowed); its
// one user "merchant" is shut in the served folder, in a temporary folder.
// pure-ftpd needs root.
class PureFtpdFixture : public LocalServer {
public:
    // Why the server cannot run here; empty when it can.
    static QString missing();
    bool start(const QString& password);

    static QString user() { return QStringLiteral("merchant"); }
    // "host:port", to put behind "ftps://" or "ftp://".
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(port()); }
    QString rootPath() const { return path(QStringLiteral("root")); }
    // The server's certificate, to trust it.
    static QString certificatePath();

private:
    bool prepare(const QString& password);
};
