#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <pwd.h>

// A server program that a test fixture runs as a child process on
// 127.0.0.1, with its configuration, state and logs in a temporary folder.
// The program and every process it starts end with stop() or when the
// server goes.
class LocalServer {
public:
    ~LocalServer() { stop(); }

    // The program's path, empty when it is not installed. Server programs
    // live in sbin, which a normal user's PATH may lack.
    static QString program(const QString& name);
    // A port free now; another program may still take it before the server.
    static quint16 freePort();
    static bool writeFile(const QString& path, const QByteArray& bytes);
    // The user a server runs as, or reads mail as, when it refuses root:
    // "nobody" for a test run as root, else the test's own user.
    static const passwd* serverUser();
    // Gives a file or folder to serverUser().
    static bool giveToServerUser(const QString& path);
    static QString readFile(const QString& path);
    // The configuration template tests/support/<name> with each "@KEY@" of
    // `values` (pairs of key and value) replaced.
    static QString fromTemplate(const QString& name, const QStringList& values);

    // A path in the temporary folder; the folder itself for an empty name.
    QString path(const QString& name = {}) const;
    quint16 port() const { return m_port; }
    // What the program printed when its last start failed.
    QString output() const { return m_output; }

    // Takes a free port, lets `configure` write the configuration for it,
    // starts `program` ("@PORT@" in an argument stands for the port) and waits until the port takes
    // connections and, unless `greeting` is empty, greets with it. Tried three times, as the port
    // may be taken meanwhile. False when the server did not start.
    bool start(const QString& program, const QStringList& arguments, const QByteArray& greeting,
               const std::function<bool(quint16 port)>& configure);
    // The server runs as serverUser() (for a server that refuses to run
    // as root); by default as the test.
    void runAsServerUser() { m_user = serverUser(); }
    // Sets `process` up to run as the server does: in a process group of
    // its own, as the user it runs as.
    void prepareProcess(QProcess& process) const;
    void stop();

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
    QString m_output;
    const passwd* m_user = nullptr;
};
