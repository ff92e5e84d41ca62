#include "support/HttpFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTcpSocket>
#include <QTimer>
#include <sys/socket.h>

namespace {

const QByteArray kHeaderEnd = "\r\n\r\n";
// Bodies go out in pieces of this size, the next one only when the
// connection has taken most of the last.
constexpr qint64 kPieceBytes = 64 * 1024;

// The key of a path as requests decode it: always with its leading slash.
QString absolutePath(const QString& path) {
    return path.startsWith(QLatin1Char('/')) ? path : QLatin1Char('/') + path;
}

// The request's path without query or fragment, percent-decoded.
QString requestPath(const QByteArray& target) {
    QByteArray path = target;
    const qsizetype cut = path.indexOf('?');
    if (cut >= 0)
        path.truncate(cut);
    return QUrl::fromPercentEncoding(path);
}

} // namespace

HttpFixture::HttpFixture(const QString& folder, QObject* parent)
    : QObject(parent), m_folder(QDir(folder).absolutePath()) {
    connect(&m_server, &QTcpServer::newConnection, this, &HttpFixture::accept);
}

// Connections still open are closed with the server, after the members
// their signals would touch are gone: they must not call back.
HttpFixture::~HttpFixture() {
    for (QTcpSocket* socket : std::as_const(m_open))
        socket->disconnect(this);
}

bool HttpFixture::start() {
    return m_server.listen(QHostAddress::LocalHost, 0);
}

QUrl HttpFixture::url(const QString& path) const {
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(port());
    url.setPath(QLatin1Char('/') + path);
    return url;
}

void HttpFixture::setResponse(const QString& path, const Response& response) {
    m_scripted.insert(absolutePath(path), response);
}

qint64 HttpFixture::bodyBytesSent(const QString& path) const {
    return m_bodySent.value(absolutePath(path));
}

QByteArray HttpFixture::contentType(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("htm") || suffix == QLatin1String("html"))
        return "text/html; charset=utf-8";
    if (suffix == QLatin1String("js"))
        return "application/javascript; charset=utf-8";
    if (suffix == QLatin1String("png"))
        return "image/png";
    return "application/octet-stream";
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
        const QList<QByteArray> fields = table.readLine().simplified().split(' ');
        if (fields.size() < 5)
            continue;
        const QByteArray& local = fields.at(1);
        const QByteArray& remote = fields.at(2);
        const QByteArray& state = fields.at(3);
        if (local == address && state == "0A")
            waiting += fields.at(4).split(':').value(1).toLongLong(nullptr, 16);
        else if (remote == address && state == "02")
            ++waiting;
    }
    return waiting;
}

void HttpFixture::accept() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        m_open.insert(socket);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
        connect(socket, &QTcpSocket::bytesWritten, this, [this, socket] { writeMore(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { closed(socket); });
    }
}

void HttpFixture::closed(QTcpSocket* socket) {
    m_pending.remove(socket);
    m_unanswered.remove(socket);
    m_outgoing.remove(socket);
    m_open.remove(socket);
    socket->deleteLater();
}

// Collects the request head; the body of a request is never needed.
void HttpFixture::read(QTcpSocket* socket) {
    QByteArray& head = m_pending[socket];
    head += socket->readAll();
    if (!head.contains(kHeaderEnd))
        return;
    const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
    m_pending.remove(socket);
    if (requestLine.size() != 3) {
        send(socket, QString(), error(400, "Bad Request"));
        return;
    }
    const QString path = requestPath(requestLine.at(1));
    m_requested << path;
    m_unanswered.insert(socket);
    deliver(socket, path, answer(requestLine.at(0), path));
}

HttpFixture::Response HttpFixture::answer(const QByteArray& method, const QString& path) {
    if (method != "GET")
        return error(405, "Method Not Allowed");
    if (m_scripted.contains(path))
        return m_scripted.value(path);
    Response response = fileResponse(path);
    if (response.status == 404)
        m_notFound << path;
    return response;
}

// Only files inside the folder are served: "..", a missing file and a
// folder all give 404.
HttpFixture::Response HttpFixture::fileResponse(const QString& path) {
    const QString relative = QDir::cleanPath(path).mid(1);
    if (!path.startsWith(QLatin1Char('/')) || relative.startsWith(QLatin1String("..")) ||
        QDir::isAbsolutePath(relative))
        return error(404, "Not Found");
    QFile file(QDir(m_folder).filePath(relative));
    if (QFileInfo(file).isDir() || !file.open(QIODevice::ReadOnly))
        return error(404, "Not Found");
    Response response;
    response.contentType = contentType(relative);
    response.body = file.readAll();
    return response;
}

HttpFixture::Response HttpFixture::error(int status, const QByteArray& reason) {
    Response response;
    response.status = status;
    response.reason = reason;
    response.contentType = "text/plain; charset=utf-8";
    response.body = QByteArray::number(status) + ' ' + reason + '\n';
    return response;
}

void HttpFixture::deliver(QTcpSocket* socket, const QString& path, const Response& response) {
    switch (response.delivery) {
    case Delivery::Hang:
        return;
    case Delivery::Fail:
        m_unanswered.remove(socket);
        socket->disconnectFromHost();
        return;
    case Delivery::Send:
    case Delivery::Stream:
        break;
    }
    if (response.delayMs <= 0) {
        send(socket, path, response);
        return;
    }
    // The socket as context: a connection the client closed meanwhile gets
    // nothing.
    QTimer::singleShot(response.delayMs, socket,
                       [this, socket, path, response] { send(socket, path, response); });
}

void HttpFixture::send(QTcpSocket* socket, const QString& path, const Response& response) {
    m_unanswered.remove(socket);
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + response.reason;
    if (!response.contentType.isEmpty())
        head += "\r\nContent-Type: " + response.contentType;
    for (const QByteArray& line : response.extraHeaders)
        head += "\r\n" + line;
    const bool endless = response.delivery == Delivery::Stream && !response.body.isEmpty();
    if (!endless)
        head += "\r\nContent-Length: " + QByteArray::number(response.body.size());
    head += "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n";
    socket->write(head);
    m_bodySent.insert(path, 0);
    m_outgoing.insert(socket, Outgoing{path, response.body, 0, endless});
    writeMore(socket);
}

// Hands the connection the next pieces of the body while it keeps up, and
// closes it once the whole body is out.
void HttpFixture::writeMore(QTcpSocket* socket) {
    const auto outgoing = m_outgoing.find(socket);
    if (outgoing == m_outgoing.end())
        return;
    while (socket->bytesToWrite() < kPieceBytes &&
           (outgoing->endless || outgoing->sent < outgoing->body.size())) {
        const qint64 at = outgoing->sent % outgoing->body.size();
        const QByteArray piece = outgoing->body.mid(at, kPieceBytes);
        socket->write(piece);
        outgoing->sent += piece.size();
        m_bodySent.insert(outgoing->path, outgoing->sent);
    }
    if (outgoing->endless)
        return;
    if (outgoing->sent < outgoing->body.size())
        return;
    m_outgoing.erase(outgoing);
    socket->disconnectFromHost();
}
