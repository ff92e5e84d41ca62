#pragma once

#include "support/LocalServer.h"

#include <QString>

// A WebDAV server for tests: nginx with its DAV module and the module that
// adds PROPFIND, started as a child process on 127.0.0.1 with a
// configuration, logs, pid file and served folder in a temporary folder.
// PUT, DELETE, MKCOL, PROPFIND and OPTIONS work below the served folder;
// PUT creates missing folders. Stopped when the fixture goes.
class NginxFixture : public LocalServer {
public:
    // Starts the server and waits until its port answers. With a user name
    // every request needs that user and password (HTTP basic); without one
    // the server asks for none. False when it could not start (error()
    // says why).
    bool start(const QString& user = QString(), const QString& password = QString());
    // Why the server cannot run here (nginx or its DAV module not
    // installed); empty when it can.
    static QString missing();

    // "127.0.0.1:" + port, as typed into the server name field.
    QString serverName() const { return QStringLiteral("127.0.0.1:%1").arg(port()); }
    // The folder the server serves, for files of "another party" and to
    // check what arrived.
    QString rootPath() const { return path(QStringLiteral("root")); }
};
