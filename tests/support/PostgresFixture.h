#pragma once

#include "support/LocalServer.h"

#include <QString>

// A PostgreSQL server for tests: initdb makes a cluster in a temporary
// folder and the server listens on 127.0.0.1 only (no Unix socket), with
// password logins for one superuser, and takes encrypted connections with
// the certificate certificate() names (for 127.0.0.1). PostgreSQL never runs as root: a root
// test run makes the cluster and runs the server as "nobody". The system's
// clusters are never touched. Stopped, and its folder removed, when the
// fixture goes.
class PostgresFixture : public LocalServer {
public:
    // Why the server cannot run here (PostgreSQL or Qt's driver for it not
    // installed); empty when it can.
    static QString missing();

    // Makes the cluster on the first start, starts the server and waits
    // until it takes logins. Started again after stop() or a crash, it
    // serves the same cluster (on a new port). False when it could not
    // start (error() says why).
    bool start();

    // A new, empty database of that name (one there was is dropped).
    bool createDatabase(const QString& name);
    // Runs statements on a database as the superuser; false on failure.
    bool run(const QString& database, const QStringList& statements);

    // The server's certificate, to trust it as its own authority.
    static QString certificate();
    // The database's address as the program takes it, without password.
    QString url(const QString& database) const;
    QString user() const { return QStringLiteral("merchant"); }
    QString password() const { return QStringLiteral("pg s3cret"); }

private:
    bool makeCluster();
    bool giveCertificate();

    bool m_made = false;
};
