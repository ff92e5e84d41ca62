#include "support/PostgresFixture.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QThread>

namespace {

// initdb and postgres, from PATH or else, as Debian keeps them, under
// their newest version; the bare name when there is none.
QString serverProgram(const QString& name) {
    const QStringList versions =
        QDir("/usr/lib/postgresql")
            .entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::Reversed);
    QString found = LocalServer::program(name);
    if (found.isEmpty())
        found = QStandardPaths::findExecutable(
            name, {"/usr/lib/postgresql/" + versions.value(0) + "/bin"});
    return found.isEmpty() ? name : found;
}

} // namespace

QString PostgresFixture::missing() {
    const QString why = notInstalled({serverProgram("initdb"), serverProgram("postgres")},
                                     "package postgresql-15", "PostgreSQL");
    if (why.isEmpty() && !QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
        return QStringLiteral("Qt's PostgreSQL driver is not installed (Debian package "
                              "libqt6sql6-psql; scripts/bootstrap.sh installs it): the "
                              "PostgreSQL tests are skipped");
    return why;
}

// The server takes connections before it takes logins: after a crash it
// first replays its log.
bool PostgresFixture::start() {
    if (!setError(missing()) || (!m_made && !makeCluster()) ||
        !LocalServer::start(serverProgram("postgres"),
                            {"-D", path("data"), "-p", "@PORT@", "-c", "listen_addresses=127.0.0.1",
                             "-c", "unix_socket_directories=", "-c", "ssl=on", "-c",
                             "ssl_cert_file=" + path("server.crt"), "-c",
                             "ssl_key_file=" + path("server.key")},
                            {}))
        return false;
    const QDeadlineTimer deadline(60000);
    while (!run("postgres", {"SELECT 1"}) && !deadline.hasExpired())
        QThread::msleep(100);
    return error().isEmpty();
}

// The cluster's folder belongs to the server's user, who alone may enter it.
bool PostgresFixture::makeCluster() {
    runAsServerUser();
    const QString passwordFile = path("password");
    QProcess initdb;
    if (writeFile(passwordFile, password().toUtf8()) && giveToServerUser(passwordFile) &&
        QDir().mkpath(path("data")) && giveToServerUser(path("data"))) {
        prepareProcess(initdb);
        initdb.setProcessChannelMode(QProcess::MergedChannels);
        initdb.start(serverProgram("initdb"),
                     {"-D", path("data"), "-U", user(), "--pwfile=" + passwordFile,
                      "--auth=scram-sha-256", "-E", "UTF8", "--locale=C", "--no-sync"});
    }
    m_made = initdb.waitForFinished(120000) && initdb.exitStatus() == QProcess::NormalExit &&
             initdb.exitCode() == 0;
    if (!m_made)
        return setError("initdb failed: " + QString::fromLocal8Bit(initdb.readAll()));
    m_made = giveCertificate();
    return setError(m_made ? QString() : QStringLiteral("the server's certificate was not copied"));
}

// The server's certificate and key, the key readable by the server's user
// alone, as the server demands.
bool PostgresFixture::giveCertificate() {
    const QString support = QStringLiteral(QUILLMART_TEST_ROOT "/support/");
    QFile::remove(path("server.crt"));
    QFile::remove(path("server.key"));
    return QFile::copy(certificate(), path("server.crt")) &&
           QFile::copy(support + "test-server-key.pem", path("server.key")) &&
           QFile::setPermissions(path("server.key"), QFile::ReadOwner) &&
           giveToServerUser(path("server.crt")) && giveToServerUser(path("server.key"));
}

QString PostgresFixture::certificate() {
    return QStringLiteral(QUILLMART_TEST_ROOT "/support/test-server-cert.pem");
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
        setError(db.lastError().text());
        for (qsizetype i = 0; i < statements.size() && error().isEmpty(); ++i) {
            QSqlQuery query(db);
            if (!query.exec(statements[i]))
                setError(query.lastError().text());
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return error().isEmpty();
}

QString PostgresFixture::url(const QString& database) const {
    return QStringLiteral("postgresql://%1@127.0.0.1:%2/%3").arg(user()).arg(port()).arg(database);
}
