#include "support/LocalServer.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <csignal>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

LocalServer::LocalServer() {
    chmod(QFile::encodeName(m_dir.path()).constData(), 0711);
}

QString LocalServer::program(const QString& name) {
    const QString found = QStandardPaths::findExecutable(name);
    return found.isEmpty() ? QStandardPaths::findExecutable(name, {"/usr/sbin", "/usr/local/sbin"})
                           : found;
}

QString LocalServer::notInstalled(const QStringList& programs, const QString& packages,
                                  const QString& what) {
    for (const QString& name : programs)
        if (name.startsWith('/') ? !QFileInfo::exists(name) : program(name).isEmpty())
            return QStringLiteral("%1 is not installed (Debian %2; scripts/bootstrap.sh installs "
                                  "it): the %3 tests are skipped")
                .arg(name, packages, what);
    return {};
}

quint16 LocalServer::freePort() {
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

bool LocalServer::writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString LocalServer::readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
}

QString LocalServer::fromTemplate(const QString& name, QStringList values) const {
    values << QStringList{"DIR",        path(),
                          "PORT",       QString::number(m_port),
                          "PORT2",      QString::number(m_secondPort),
                          "SUPPORT",    QStringLiteral(QUILLMART_TEST_ROOT "/support"),
                          "ME",         QString::fromLocal8Bit(getpwuid(geteuid())->pw_name),
                          "MYGROUP",    QString::fromLocal8Bit(getgrgid(getegid())->gr_name),
                          "SERVERUSER", QString::fromLocal8Bit(serverUser()->pw_name),
                          "SERVERUID",  QString::number(serverUser()->pw_uid),
                          "SERVERGID",  QString::number(serverUser()->pw_gid)};
    QString text = readFile(QStringLiteral(QUILLMART_TEST_ROOT "/support/") + name);
    for (qsizetype i = 0; i + 1 < values.size(); i += 2)
        text.replace('@' + values[i] + '@', values[i + 1]);
    return text;
}

QString LocalServer::path(const QString& name) const {
    return name.isEmpty() ? m_dir.path() : m_dir.filePath(name);
}

// The program runs in a process group of its own, so stop() reaches the
// processes it starts too.
bool LocalServer::start(const QString& program, const QStringList& arguments,
                        const QByteArray& greeting, const QString& configuration,
                        const QStringList& values) {
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    prepareProcess(m_process);
    for (int attempt = 0; attempt < 3; ++attempt) {
        stop();
        m_port = freePort();
        m_secondPort = freePort();
        m_error = QStringLiteral("could not write the configuration");
        QFile::remove(path(m_log));
        if (m_port == 0 || m_secondPort == 0 || m_secondPort == m_port ||
            (!configuration.isEmpty() &&
             !writeFile(path(configuration), fromTemplate(configuration, values).toUtf8())))
            continue;
        m_process.start(program, QStringList(arguments).replaceInStrings(QStringLiteral("@PORT@"),
                                                                         QString::number(m_port)));
        for (int waited = 0; waited < 15000 && m_process.waitForStarted(5000); waited += 100) {
            QTcpSocket socket;
            socket.connectToHost(QStringLiteral("127.0.0.1"), m_port);
            if (socket.waitForConnected(200) &&
                (greeting.isEmpty() ||
                 (socket.waitForReadyRead(2000) && socket.readLine().startsWith(greeting))))
                return setError({});
            // Doubles as the pause between two tries.
            if (m_process.waitForFinished(100))
                break;
        }
        m_error = QFileInfo(program).fileName() +
                  " did not start: " + QString::fromLocal8Bit(m_process.readAll()) +
                  m_process.errorString() + log();
    }
    stop();
    return false;
}

const passwd* LocalServer::serverUser() {
    return geteuid() == 0 ? getpwnam("nobody") : getpwuid(geteuid());
}

bool LocalServer::giveToServerUser(const QString& path) {
    return chown(QFile::encodeName(path).constData(), serverUser()->pw_uid, serverUser()->pw_gid) ==
           0;
}

void LocalServer::prepareProcess(QProcess& process) const {
    const uid_t user = m_user ? m_user->pw_uid : 0;
    const gid_t group = m_user ? m_user->pw_gid : 0;
    process.setChildProcessModifier([user, group] {
        ::setpgid(0, 0);
        if (user != 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(group) != 0 || ::setuid(user) != 0))
            ::_exit(127);
    });
}

// Processes a server starts (mail sessions, workers) may outlive it and
// keep their connections or its port: the whole process group ends, and
// the stop waits until it has.
void LocalServer::stop() {
    if (m_process.state() == QProcess::NotRunning)
        return;
    const pid_t group = pid_t(m_process.processId());
    ::kill(-group, SIGTERM);
    if (!m_process.waitForFinished(10000))
        ::kill(-group, SIGKILL);
    m_process.waitForFinished(5000);
    for (const QDeadlineTimer deadline(5000); ::kill(-group, 0) == 0 && !deadline.hasExpired();)
        QThread::msleep(20);
    ::kill(-group, SIGKILL);
}
