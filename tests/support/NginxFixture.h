#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A WebDAV server for tests: nginx with its DAV module and the module that
// adds PROPFIND, started as a child process on 127.0.0.1 with a
// configuration, logs, pid file and served folder in a temporary folder.
// PUT, DELETE, MKCOL, PROPFIND and OPTIONS work below the served folder;
// PUT creates missing folders. Stopped when the fixture goes.
class NginxFixture {
public:
    NginxFixture();
    ~NginxFixture() { stop(); }
    NginxFixture(const NginxFixture&) = delete;
    NginxFixture& operator=(const NginxFixture&) = delete;

    // Starts the server and waits until its port answers. With a user name
    // every request needs that user and password (HTTP basic); without one
    // the server asks for none. False when it could not start (error()
    // says why).
    bool start(const QString& user = QString(), const QString& password = QString());
    // Why the server cannot run here (nginx or its DAV module not
    // installed); empty when it can.
    static QString missing();
    void stop();

    quint16 port() const { return m_port; }
    // "127.0.0.1:" + port, as typed into the server name field.
    QString serverName() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    // The folder the server serves, for files of "another party" and to
    // check what arrived.
    QString rootPath() const { return m_dir.filePath(QStringLiteral("root")); }
    QString error() const { return m_error; }

private:
    bool startOnce(const QString& user, const QString& password);
    QString configuration(bool withAuth) const;

    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
    QString m_error;
};
