#include "web/Downloader.h"

#include "web/BodyText.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>
#include <utility>

namespace {

// The most the network layer holds for us unread, so that an aborted
// transfer has not read far ahead of the characters wanted.
constexpr qint64 kReadBufferBytes = 64 * 1024;

// A response arrived unless the request failed below HTTP: connection and
// proxy errors, or a failure with no HTTP status at all (such as a missing
// local file). HTTP error statuses still bring their page.
bool responseArrived(const QNetworkReply& reply) {
    if (reply.error() == QNetworkReply::NoError)
        return true;
    const bool transportFailure = reply.error() < QNetworkReply::ContentAccessDenied;
    return !transportFailure && reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
}

} // namespace

Downloader::Downloader(QObject* parent)
    : QObject(parent), m_network(new QNetworkAccessManager(this)) {
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &Downloader::timeOut);
}

Downloader::Downloader(QNetworkAccessManager& network, QObject* parent)
    : QObject(parent), m_network(&network) {
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &Downloader::timeOut);
}

Downloader::~Downloader() {
    cancel();
}

void Downloader::execute(const QString& url, int chunkSize) {
    m_chunkSize = chunkSize;
    execute(url);
}

void Downloader::execute(const QString& url) {
    cancel();
    m_url = url;
    m_chunk.clear();
    m_body.reset();
    m_status = 0;
    QNetworkRequest request(QUrl::fromUserInput(url));
    request.setHeader(QNetworkRequest::UserAgentHeader, m_userAgent);
    m_reply = m_network->get(request);
    m_reply->setReadBufferSize(kReadBufferBytes);
    connect(m_reply, &QNetworkReply::readyRead, this, &Downloader::receive);
    connect(m_reply, &QNetworkReply::finished, this, &Downloader::finish);
    if (m_timeoutMs > 0)
        m_deadline.start(m_timeoutMs);
}

void Downloader::cancel() {
    stopTransfer();
    m_body.reset();
}

QString Downloader::standardUserAgent() {
    return QStringLiteral("Quillmart/" QUILLMART_VERSION);
}

QString Downloader::getChunk() {
    return std::exchange(m_chunk, QString());
}

// Without a chunk size the text is only wanted once the body is complete.
void Downloader::receive() {
    BodyText& body = receivedBody();
    body.append(m_reply->readAll());
    if (m_chunkSize > 0 && body.update(false) && chunkFull())
        complete(ResponseCompleted);
}

void Downloader::finish() {
    if (!responseArrived(*m_reply)) {
        complete(RequestFailed);
        return;
    }
    BodyText& body = receivedBody();
    body.append(m_reply->readAll());
    body.update(true);
    complete(ResponseCompleted);
}

void Downloader::timeOut() {
    if (stillExecuting())
        complete(RequestFailed);
}

BodyText& Downloader::receivedBody() {
    if (!m_body)
        m_body = std::make_unique<BodyText>(m_reply->rawHeader("Content-Type"));
    return *m_body;
}

bool Downloader::chunkFull() const {
    return m_chunkSize > 0 && m_body && m_body->text().size() >= m_chunkSize;
}

// Drops the reply without letting it report anything more.
void Downloader::stopTransfer() {
    m_deadline.stop();
    if (!m_reply)
        return;
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
}

// Ends the request and reports it. Everything is settled before the signal,
// so a handler may read the chunk or start the next request at once.
void Downloader::complete(State state) {
    if (m_reply && state == ResponseCompleted)
        m_status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    stopTransfer();
    if (state == ResponseCompleted && m_body) {
        m_chunk = m_body->text();
        if (chunkFull())
            m_chunk.truncate(m_chunkSize);
    }
    m_body.reset();
    Q_EMIT stateChanged(state);
}
