#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
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
// A test can script the answer to a path instead (`setResponse`): any
// status, headers and bytes, sent after a delay (a slow site, for the
// crawl benchmark), never sent (the connection hangs), or replaced
// by closing the connection. Bodies go out in pieces as
// the client takes them, so the server can tell how much of a large body a
// client read before it closed the connection.
class HttpFixture : public QObject {
    Q_OBJECT

public:
    enum class Delivery {
        Send,   // the answer, after `delayMs`
        Hang,   // nothing; the connection stays open until the client closes it
        Fail,   // the connection is closed without an answer
        Stream, // the head, then `body` over and over while the client reads
    };

    struct Response {
        int status = 200;
        QByteArray reason = "OK";
        QByteArray contentType; // no Content-Type header when empty
        QByteArray body;
        Delivery delivery = Delivery::Send;
        int delayMs = 0;
    };

    explicit HttpFixture(const QString& folder, QObject* parent = nullptr);
    ~HttpFixture() override;

    // Starts listening; false when no port could be had.
    bool start() { return m_server.listen(QHostAddress::LocalHost, 0); }
    quint16 port() const { return m_server.serverPort(); }
    // The address of a path below the folder, such as "index.htm".
    QUrl url(const QString& path) const;

    // Answers GET of `path` (as for `url`) with `response` from now on.
    void setResponse(const QString& path, const Response& response);
    // The same with an HTML page of `body`; the page's address.
    QString serve(const QString& path, const QByteArray& body, Delivery delivery = Delivery::Send,
                  int status = 200);

    // The decoded paths of the requests answered so far, in order, and those
    // of them that found no file.
    const QStringList& requested() const { return m_requested; }
    const QStringList& notFound() const { return m_notFound; }
    // The User-Agent header of each request, in the same order.
    const QStringList& userAgents() const { return m_userAgents; }

    // How many body bytes of the last answer to `path` went out.
    qint64 bodyBytesSent(const QString& path) const;
    // Connections accepted and not yet closed.
    qsizetype openConnections() const { return m_open.size(); }
    // Connections whose request has had no answer yet and that are still
    // open: a hung answer the client has not given up on.
    qsizetype unansweredRequests() const { return m_unanswered.size(); }

    // Lets one connection wait, unaccepted, and turns the others away at
    // the door: the system drops their attempts and the clients try again
    // a second later. So clients that connect now stay connecting for a
    // while, as on a busy server. Works on a started server.
    void holdConnections();
    // Connections waiting on the server's port: the one held in the queue
    // plus the clients still trying to connect.
    qsizetype connectionsWaiting() const;
    // Accepts the held connection and, from now on, every one that comes.
    void releaseConnections();

private:
    // An answer's body still going out on one connection.
    struct Outgoing {
        QString path;
        QByteArray body;
        qint64 sent = 0;
        bool endless = false;
    };

    void read(QTcpSocket* socket);
    Response answer(const QByteArray& method, const QString& path);
    void send(QTcpSocket* socket, const QString& path, const Response& response);
    void writeMore(QTcpSocket* socket);

    QString m_folder;
    QTcpServer m_server;
    QHash<QTcpSocket*, Outgoing> m_outgoing;
    QSet<QTcpSocket*> m_open;
    QSet<QTcpSocket*> m_unanswered;
    QHash<QString, Response> m_scripted;
    QHash<QString, qint64> m_bodySent;
    QStringList m_requested;
    QStringList m_notFound;
    QStringList m_userAgents;
};
