#pragma once

#include "support/HttpFixture.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThread>
#include <memory>

// The scripted web server, living on a thread of its own.
class ServerThread {
public:
    ServerThread() {
        m_context.moveToThread(&m_thread);
        m_thread.start();
    }
    ~ServerThread() {
        onServerThread([this] { m_server.reset(); });
        m_thread.quit();
        m_thread.wait();
    }

    // Starts the server with the scripted answers; the server's address, or
    // an empty one when no port could be had.
    QString start(const QString& folder, const QHash<QString, HttpFixture::Response>& answers) {
        QString base;
        onServerThread([&] {
            m_server = std::make_unique<HttpFixture>(folder);
            if (!m_server->start())
                return;
            for (auto answer = answers.begin(); answer != answers.end(); ++answer)
                m_server->setResponse(answer.key(), answer.value());
            base = QStringLiteral("http://127.0.0.1:%1").arg(m_server->port());
        });
        return base;
    }

    // The paths asked for so far, in order, without query strings.
    QStringList requested() {
        QStringList paths;
        onServerThread([&] { paths = m_server->requested(); });
        return paths;
    }

    // The body bytes that went out for `paths`; a path asked for twice counts
    // its last answer twice.
    qint64 bytesSent(const QStringList& paths) {
        qint64 bytes = 0;
        onServerThread([&] {
            for (const QString& path : paths)
                bytes += m_server->bodyBytesSent(path);
        });
        return bytes;
    }

private:
    template <typename Function> void onServerThread(Function function) {
        QMetaObject::invokeMethod(&m_context, function, Qt::BlockingQueuedConnection);
    }

    QThread m_thread;
    QObject m_context;
    std::unique_ptr<HttpFixture> m_server;
};
