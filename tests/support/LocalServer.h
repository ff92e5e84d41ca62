#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <pwd.h>

// A server program that a test fixture runs as a child process on
// 127.0.0.1, with its configuration, state and logs in a temporary folder
// that other users may pass through (a server that refuses root runs as
// serverUser()). The program and every process it starts end with stop()
// or when the server goes. Each fixture is one.
class LocalServer {
public:
    LocalServer();
    ~LocalServer() { stop(); }

    // The program's path, empty when it is not installed. Server programs
    // live in sbin, which a normal user's PATH may lack.
    static QString program(const QString& name);
    // Why the tests of `what` are skipped when one of `programs` (or files
    // named by their absolute paths) is not installed (Debian `packages`
    // hold them); empty when all are.
    static QString notInstalled(const QStringList& programs, const QString& packages,
                                const QString& what);
    // A port free now; another program may still take it before the server.
    static quint16 freePort();
    static bool writeFile(const QString& path, const QByteArray& bytes);
    // The user a server runs as, or reads mail as, when it refuses root:
    // "nobody" for a test run as root, else the test's own user.
    static const passwd* serverUser();
    // Gives a file or folder to serverUser().
    static bool giveToServerUser(const QString& path);
    static QString readFile(const QString& path);

    // A path in the temporary folder; the folder itself for an empty name.
    QString path(const QString& name = {}) const;
    quint16 port() const { return m_port; }
    // A second free port, for a server that listens twice.
    quint16 secondPort() const { return m_secondPort; }
    // Why the server is not running: what missing() said, or what the
    // program printed and logged when its last start failed.
    QString error() const { return m_error; }
    // What the server logged in the file set by setLog().
    QString log() const { return readFile(path(m_log)); }

    void stop();

protected:
    // Takes two free ports, writes the configuration template
    // tests/support/<configuration>, if named, into the folder, starts
    // `program` ("@PORT@" in an argument stands for the port) and waits
    // until the port takes connections and, unless `greeting` is empty,
    // greets with it. Tried three times, as the ports may be taken
    // meanwhile. False when the server did not start (error() says why).
    // In the template each "@KEY@" of `values` (pairs of key and value) is
    // replaced, then @DIR@ (the folder), @PORT@, @PORT2@ (secondPort()),
    // @SUPPORT@ (tests/support), @ME@ and @MYGROUP@ (the test's user and
    // group) and @SERVERUSER@, @SERVERUID@ and @SERVERGID@ (serverUser()).
    bool start(const QString& program, const QStringList& arguments, const QByteArray& greeting,
               const QString& configuration = {}, const QStringList& values = {});
    // Sets error() to `why` (a fixture's missing() text, say); true when it
    // is empty.
    bool setError(const QString& why) {
        m_error = why;
        return why.isEmpty();
    }
    // The file in the folder the server logs to: removed before each start.
    void setLog(const QString& name) { m_log = name; }
    // The server runs as serverUser(); by default as the test.
    void runAsServerUser() { m_user = serverUser(); }
    // Sets `process` up to run as the server does: in a process group of
    // its own, as the user it runs as.
    void prepareProcess(QProcess& process) const;

private:
    QString fromTemplate(const QString& name, QStringList values) const;

    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
    quint16 m_secondPort = 0;
    QString m_error;
    QString m_log = QStringLiteral("none");
    const passwd* m_user = nullptr;
};
