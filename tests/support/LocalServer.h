#pragma once

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>

// What the fixtures that run a server program on 127.0.0.1 share.
namespace LocalServer {

// A port free now; another program may still take it before the server
// does, so the fixtures try a start more than once.
inline quint16 freePort() {
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

// Server programs live in sbin, which a normal user's PATH may lack.
inline QString program(const QString& name) {
    const QString found = QStandardPaths::findExecutable(name);
    return found.isEmpty() ? QStandardPaths::findExecutable(name, {"/usr/sbin", "/usr/local/sbin"})
                           : found;
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QString readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
}

// Waits until `port` takes connections and, unless `greeting` is empty,
// its first line starts with `greeting`. False once `server` has ended.
inline bool waitUntilAnswering(QProcess& server, quint16 port, const QByteArray& greeting) {
    for (int waited = 0; waited < 15000; waited += 100) {
        QTcpSocket socket;
        socket.connectToHost(QStringLiteral("127.0.0.1"), port);
        if (socket.waitForConnected(200) &&
            (greeting.isEmpty() ||
             (socket.waitForReadyRead(2000) && socket.readLine().startsWith(greeting))))
            return true;
        // Doubles as the pause between two tries.
        if (server.waitForFinished(100))
            return false;
    }
    return false;
}

} // namespace LocalServer
