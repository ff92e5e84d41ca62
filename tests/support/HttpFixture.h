#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QUrl>

class QTcpSocket;

// A small web server for tests: serves the files of one folder on
// 127.0.0.1, on a port the system picks. GET of an existing file answers
// 200 with a Content-Type from the file's extension; anything else 404 (or
// 405 for other methods). Every answer closes its connection.
//
// Answers are built as a `Response` first and sent by `send`, so a test
// that needs a slow, hanging, failing or very large answer can later change
// the response or the way it is sent in one place.
class HttpFixture : public QObject {
    Q_OBJECT

public:
    explicit HttpFixture(const QString& folder, QObject* parent = nullptr);

    // Starts listening; false when no port could be had.
    bool start();
    quint16 port() const { return m_server.serverPort(); }
    // The address of a path below the folder, such as "index.htm".
    QUrl url(const QString& path) const;

    // The decoded paths of the requests answered so far, in order, and those
    // of them that found no file.
    const QStringList& requested() const { return m_requested; }
    const QStringList& notFound() const { return m_notFound; }

    static QByteArray contentType(const QString& fileName);

private:
    struct Response {
        int status = 200;
        QByteArray reason = "OK";
        QByteArray contentType;
        QByteArray body;
    };

    void accept();
    void read(QTcpSocket* socket);
    Response answer(const QByteArray& method, const QString& path);
    Response fileResponse(const QString& path);
    static Response error(int status, const QByteArray& reason);
    void send(QTcpSocket* socket, const Response& response);

    QString m_folder;
    QTcpServer m_server;
    QHash<QTcpSocket*, QByteArray> m_pending;
    QStringList m_requested;
    QStringList m_notFound;
};
