#include "support/PostgresFixture.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// initdb and postgres stand outside PATH on Debian, under their version.
QString serverProgram(const QString& name) {
    const QString found = LocalServer::program(name);
    if (!found.isEmpty())
        return found;
    const QDir versions(QStringLiteral("/usr/lib/postgresql"));
    for (const QString& version :
         versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::Reversed))
        if (QFile::exists(versions.filePath(version + "/bin/" + name)))
            return versions.filePath(version + "/bin/" + name);
    return {};
}

const passwd* serverOwner() {
    return geteuid() == 0 ? getpwnam("nobody") : getpwuid(geteuid());
}

bool ownedByServer(const QString& path) {
    return chown(QFile::encodeName(path).constData(), serverOwner()->pw_uid,
                 serverOwner()->pw_gid) == 0;
}

} // namespace

QString PostgresFixture::missing() {
    if (serverProgram("initdb").isEmpty() || serverProgram("postgres").isEmpty())
        return QStringLiteral("PostgreSQL is not installed (Debian package postgresql-15; "
                              "scripts/bootstrap.sh installs it): the PostgreSQL tests are "
                              "skipped");
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
        return QStringLiteral("Qt's PostgreSQL driver is not installed (Debian package "
                              "libqt6sql6-psql; scripts/bootstrap.sh installs it): the "
                              "PostgreSQL tests are skipped");
    return {};
}

bool PostgresFixture::start() {
    m_error = missing();
    if (!m_error.isEmpty() || (!m_made && !makeCluster()))
        return false;
    const QStringList arguments = {
        "-D", m_server.path("data"),        "-p", "@PORT@",
        "-c", "listen_addresses=127.0.0.1", "-c", "unix_socket_directories="};
    if (!m_server.start(serverProgram("postgres"), arguments, {}, [](quint16) { return true; })) {
        m_error = "postgres did not start: " + m_server.output();
        return false;
    }
    return takesLogins();
}

// The cluster's folder belongs to the server's user, who alone may enter it.
bool PostgresFixture::makeCluster() {
    m_server.runAs(serverOwner()->pw_uid, serverOwner()->pw_gid);
    chmod(QFile::encodeName(m_server.path()).constData(), 0711);
    const QString passwordFile = m_server.path("password");
    if (!LocalServer::writeFile(passwordFile, password().toUtf8()) ||
        !ownedByServer(passwordFile) || !QDir().mkpath(m_server.path("data")) ||
        !ownedByServer(m_server.path("data"))) {
        m_error = QStringLiteral("could not prepare the PostgreSQL folder");
        return false;
    }
    QProcess initdb;
    m_server.prepareProcess(initdb);
    initdb.setProcessChannelMode(QProcess::MergedChannels);
    initdb.start(serverProgram("initdb"),
                 {"-D", m_server.path("data"), "-U", user(), "--pwfile=" + passwordFile,
                  "--auth=scram-sha-256", "-E", "UTF8", "--locale=C", "--no-sync"});
    m_made = initdb.waitForFinished(120000) && initdb.exitStatus() == QProcess::NormalExit &&
             initdb.exitCode() == 0;
    if (!m_made)
        m_error = "initdb failed: " + QString::fromLocal8Bit(initdb.readAll());
    return m_made;
}

// The server takes connections before it takes logins: after a crash it
// first replays its log.
bool PostgresFixture::takesLogins() {
    const QDeadlineTimer deadline(60000);
    while (!run(QStringLiteral("postgres"), {QStringLiteral("SELECT 1")})) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(100);
    }
    return true;
}

bool PostgresFixture::createDatabase(const QString& name) {
    const QString quoted = '"' + name + '"';
    return run(QStringLiteral("postgres"), {"DROP DATABASE IF EXISTS " + quoted + " WITH (FORCE)",
                                            "CREATE DATABASE " + quoted});
}

bool PostgresFixture::run(const QString& database, const QStringList& statements) {
    const QString connection = QStringLiteral("postgres-fixture");
    bool done = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection);
        db.setHostName(QStringLiteral("127.0.0.1"));
        db.setPort(port());
        db.setUserName(user());
        db.setPassword(password());
        db.setDatabaseName(database);
        done = db.open();
        m_error = db.lastError().text();
        for (const QString& statement : statements) {
            QSqlQuery query(db);
            done = done && query.exec(statement);
            if (!done && m_error.isEmpty())
                m_error = query.lastError().text();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return done;
}

QString PostgresFixture::url(const QString& database) const {
    return QStringLiteral("postgresql://%1@127.0.0.1:%2/%3").arg(user()).arg(port()).arg(database);
}
