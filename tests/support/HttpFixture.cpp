#include "support/HttpFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTimer>
#include <sys/socket.h>

namespace {

// Bodies go out in pieces of this size, the next one only when the
// connection has taken most of the last.
constexpr qint64 kPieceBytes = 64 * 1024;

// The key of a path as requests decode it: always with its leading slash.
QString absolutePath(const QString& path) {
    return path.startsWith('/') ? path : '/' + path;
}

HttpFixture::Response error(int status, const QByteArray& reason) {
    return {status, reason, "text/plain; charset=utf-8",
            QByteArray::number(status) + ' ' + reason + '\n'};
}

QByteArray contentType(const QString& fileName) {
    static const QHash<QString, QByteArray> types{{"htm", "text/html; charset=utf-8"},
                                                  {"html", "text/html; charset=utf-8"},
                                                  {"js", "application/javascript; charset=utf-8"},
                                                  {"css", "text/css; charset=utf-8"},
                                                  {"png", "image/png"}};
    return types.value(QFileInfo(fileName).suffix().toLower(), "application/octet-stream");
}

} // namespace

HttpFixture::HttpFixture(const QString& folder, QObject* parent)
    : QObject(parent), m_folder(QDir(folder).absolutePath()) {
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            m_open.insert(socket);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
            connect(socket, &QTcpSocket::bytesWritten, this, [this, socket] { writeMore(socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                m_unanswered.remove(socket);
                m_outgoing.remove(socket);
                m_open.remove(socket);
                socket->deleteLater();
            });
        }
    });
}

// Connections still open are closed with the server, after the members
// their signals would touch are gone: they must not call back.
HttpFixture::~HttpFixture() {
    for (QTcpSocket* socket : std::as_const(m_open))
        socket->disconnect(this);
}

QUrl HttpFixture::url(const QString& path) const {
    QUrl url(QStringLiteral("http://127.0.0.1:%1").arg(port()));
    url.setPath('/' + path);
    return url;
}

void HttpFixture::setResponse(const QString& path, const Response& response) {
    m_scripted.insert(absolutePath(path), response);
}

QString HttpFixture::serve(const QString& path, const QByteArray& body, Delivery delivery,
                           int status) {
    setResponse(path, {status, "OK", "text/html", body, delivery});
    return url(path).toString();
}

qint64 HttpFixture::bodyBytesSent(const QString& path) const {
    return m_bodySent.value(absolutePath(path));
}

// A listening socket whose backlog is 0 queues one connection; the system
// drops further connection attempts while that one waits, and the clients
// repeat them a second later.
void HttpFixture::holdConnections() {
    m_server.pauseAccepting();
    ::listen(static_cast<int>(m_server.socketDescriptor()), 0);
}

void HttpFixture::releaseConnections() {
    ::listen(static_cast<int>(m_server.socketDescriptor()), SOMAXCONN);
    m_server.resumeAccepting();
}

// Read from the system's table of IPv4 sockets: the listening socket's
// receive queue is the count of connections waiting to be accepted; a
// client socket in state 02 is still sending its connection request.
qsizetype HttpFixture::connectionsWaiting() const {
    QFile table(QStringLiteral("/proc/net/tcp"));
    if (!table.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray address =
        "0100007F:" + QByteArray::number(port(), 16).toUpper().rightJustified(4, '0');
    qsizetype waiting = 0;
    table.readLine(); // the heading
    while (!table.atEnd()) {
        // sl, local address, remote address, state, tx_queue:rx_queue, ...
        const QList<QByteArray> fields = table.readLine().simplified().split(' ');
        if (fields.size() >= 5 && fields[1] == address && fields[3] == "0A")
            waiting += fields[4].split(':').value(1).toLongLong(nullptr, 16);
        else if (fields.size() >= 5 && fields[2] == address && fields[3] == "02")
            ++waiting;
    }
    return waiting;
}

// Reads the request head once it is all there; the body of a request is
// never needed.
void HttpFixture::read(QTcpSocket* socket) {
    if (!socket->peek(socket->bytesAvailable()).contains("\r\n\r\n"))
        return;
    const QByteArray head = socket->readAll();
    const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
    // The path without query, percent-decoded.
    const QString path = QUrl::fromPercentEncoding(requestLine.value(1).split('?').first());
    m_requested << path;
    static const QRegularExpression userAgent("\r\nuser-agent:\\s*([^\r]*)",
                                              QRegularExpression::CaseInsensitiveOption);
    m_userAgents << userAgent.match(QString::fromUtf8(head)).captured(1);
    const Response response = answer(requestLine.first(), path);
    if (response.delivery == Delivery::Hang)
        m_unanswered.insert(socket);
    else if (response.delivery == Delivery::Fail)
        socket->disconnectFromHost();
    else if (response.delayMs > 0)
        // The socket as context: a connection closed meanwhile gets nothing.
        QTimer::singleShot(response.delayMs, socket,
                           [this, socket, path, response] { send(socket, path, response); });
    else
        send(socket, path, response);
}

// Only files inside the folder are served: "..", a missing file and a
// folder all give 404.
HttpFixture::Response HttpFixture::answer(const QByteArray& method, const QString& path) {
    if (method != "GET")
        return error(405, "Method Not Allowed");
    if (m_scripted.contains(path))
        return m_scripted.value(path);
    const QString relative = QDir::cleanPath(path).mid(1);
    QFile file(QDir(m_folder).filePath(relative));
    if (!path.startsWith('/') || relative.startsWith("..") || QDir::isAbsolutePath(relative) ||
        QFileInfo(file).isDir() || !file.open(QIODevice::ReadOnly)) {
        m_notFound << path;
        return error(404, "Not Found");
    }
    return {200, "OK", contentType(relative), file.readAll()};
}

void HttpFixture::send(QTcpSocket* socket, const QString& path, const Response& response) {
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + response.reason;
    if (!response.contentType.isEmpty())
        head += "\r\nContent-Type: " + response.contentType;
    const bool endless = response.delivery == Delivery::Stream && !response.body.isEmpty();
    if (!endless)
        head += "\r\nContent-Length: " + QByteArray::number(response.body.size());
    socket->write(head + "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n");
    m_bodySent.insert(path, 0);
    m_outgoing.insert(socket, Outgoing{path, response.body, 0, endless});
    writeMore(socket);
}

// Hands the connection the next pieces of the body while it keeps up, and
// closes it once the whole body is out.
void HttpFixture::writeMore(QTcpSocket* socket) {
    const auto out = m_outgoing.find(socket);
    if (out == m_outgoing.end())
        return;
    while (socket->bytesToWrite() < kPieceBytes && (out->endless || out->sent < out->body.size())) {
        const QByteArray piece = out->body.mid(out->sent % out->body.size(), kPieceBytes);
        socket->write(piece);
        out->sent += piece.size();
        m_bodySent.insert(out->path, out->sent);
    }
    if (!out->endless && out->sent >= out->body.size()) {
        m_outgoing.erase(out);
        socket->disconnectFromHost();
    }
}
