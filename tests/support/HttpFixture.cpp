#include "support/HttpFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTcpSocket>

namespace {

const QByteArray kHeaderEnd = "\r\n\r\n";

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

void HttpFixture::accept() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_pending.remove(socket);
            socket->deleteLater();
        });
    }
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
        send(socket, error(400, "Bad Request"));
        return;
    }
    const QString path = requestPath(requestLine.at(1));
    m_requested << path;
    send(socket, answer(requestLine.at(0), path));
}

HttpFixture::Response HttpFixture::answer(const QByteArray& method, const QString& path) {
    if (method != "GET")
        return error(405, "Method Not Allowed");
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

void HttpFixture::send(QTcpSocket* socket, const Response& response) {
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + response.reason +
                      "\r\nContent-Type: " + response.contentType +
                      "\r\nContent-Length: " + QByteArray::number(response.body.size()) +
                      "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n";
    socket->write(head + response.body);
    socket->disconnectFromHost();
}
