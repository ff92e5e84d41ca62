#include "support/PostgresFixture.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QThread>
#include <sys/stat.h>

namespace {

// initdb and postgres stand outside PATH on Debian, under their version.
QString serverProgram(const QString& name) {
    QStringList folders;
    for (const QFileInfo& version :
         QDir("/usr/lib/postgresql").entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot))
        folders.prepend(version.filePath() + "/bin");
    const QString found = LocalServer::program(name);
    return found.isEmpty() ? QStandardPaths::findExecutable(name, folders) : found;
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

// The server takes connections before it takes logins: after a crash it
// first replays its log.
bool PostgresFixture::start() {
    m_error = missing();
    if (!m_error.isEmpty() || (!m_made && !makeCluster()))
        return false;
    if (!m_server.start(serverProgram("postgres"),
                        {"-D", m_server.path("data"), "-p", "@PORT@", "-c",
                         "listen_addresses=127.0.0.1", "-c", "unix_socket_directories="},
                        {}, [](quint16) { return true; })) {
        m_error = "postgres did not start: " + m_server.output();
        return false;
    }
    const QDeadlineTimer deadline(60000);
    while (!run("postgres", {"SELECT 1"}) && !deadline.hasExpired())
        QThread::msleep(100);
    return m_error.isEmpty();
}

// The cluster's folder belongs to the server's user, who alone may enter it.
bool PostgresFixture::makeCluster() {
    m_server.runAsServerUser();
    chmod(QFile::encodeName(m_server.path()).constData(), 0711);
    const QString passwordFile = m_server.path("password");
    QProcess initdb;
    if (LocalServer::writeFile(passwordFile, password().toUtf8()) &&
        LocalServer::giveToServerUser(passwordFile) && QDir().mkpath(m_server.path("data")) &&
        LocalServer::giveToServerUser(m_server.path("data"))) {
        m_server.prepareProcess(initdb);
        initdb.setProcessChannelMode(QProcess::MergedChannels);
        initdb.start(serverProgram("initdb"),
                     {"-D", m_server.path("data"), "-U", user(), "--pwfile=" + passwordFile,
                      "--auth=scram-sha-256", "-E", "UTF8", "--locale=C", "--no-sync"});
    }
    m_made = initdb.waitForFinished(120000) && initdb.exitStatus() == QProcess::NormalExit &&
             initdb.exitCode() == 0;
    m_error = m_made ? QString() : "initdb failed: " + QString::fromLocal8Bit(initdb.readAll());
    return m_made;
}

bool PostgresFixture::createDatabase(const QString& name) {
    return run("postgres", {"SET client_min_messages TO WARNING",
                            "DROP DATABASE IF EXISTS \"" + name + "\" WITH (FORCE)",
                            "CREATE DATABASE \"" + name + '"'});
}

bool PostgresFixture::run(const QString& database, const QStringList& statements) {
    const QString connection = QStringLiteral("postgres-fixture");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", connection);
        db.setHostName("127.0.0.1");
        db.setPort(port());
        db.setUserName(user());
        db.setPassword(password());
        db.setDatabaseName(database);
        db.open();
        m_error = db.lastError().text();
        for (qsizetype i = 0; i < statements.size() && m_error.isEmpty(); ++i) {
            QSqlQuery query(db);
            if (!query.exec(statements[i]))
                m_error = query.lastError().text();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return m_error.isEmpty();
}

QString PostgresFixture::url(const QString& database) const {
    return QStringLiteral("postgresql://%1@127.0.0.1:%2/%3").arg(user()).arg(port()).arg(database);
}
