#include "web/Downloader.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QUrl>
#include <utility>

namespace {

// How much of the body is searched for a META charset. Decoding waits until
// this much has arrived (or the body ended) when the header names no charset.
constexpr qsizetype kSniffBytes = 4096;
// The most the network layer holds for us unread, so that an aborted
// transfer has not read far ahead of the characters wanted.
constexpr qint64 kReadBufferBytes = 64 * 1024;

const QByteArray kFallbackCharset = "windows-1252";

// The charset parameter of a Content-Type value, or empty.
QByteArray charsetParameter(const QByteArray& contentType) {
    static const QRegularExpression parameter(
        QStringLiteral(R"(charset\s*=\s*["']?\s*([A-Za-z0-9_.:\-]+))"),
        QRegularExpression::CaseInsensitiveOption);
    return parameter.match(QString::fromLatin1(contentType)).captured(1).toLatin1();
}

// The charset of the first META tag that names one, in <meta charset=x> or
// in <meta http-equiv="Content-Type" content="text/html; charset=x">.
QByteArray metaCharset(const QByteArray& head) {
    static const QRegularExpression meta(QStringLiteral(R"(<meta\b[^>]*>)"),
                                         QRegularExpression::CaseInsensitiveOption);
    auto tags = meta.globalMatch(QString::fromLatin1(head));
    while (tags.hasNext()) {
        const QByteArray charset = charsetParameter(tags.next().captured(0).toLatin1());
        if (!charset.isEmpty())
            return charset;
    }
    return {};
}

QByteArray bomCharset(const QByteArray& head) {
    if (head.startsWith("\xEF\xBB\xBF"))
        return "UTF-8";
    if (head.startsWith("\xFF\xFE"))
        return "UTF-16LE";
    if (head.startsWith("\xFE\xFF"))
        return "UTF-16BE";
    return {};
}

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
    m_text.clear();
    m_pending.clear();
    m_decoderChosen = false;
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
    m_text.clear();
    m_pending.clear();
}

QString Downloader::standardUserAgent() {
    return QStringLiteral("Quillmart/" QUILLMART_VERSION);
}

QString Downloader::getChunk() {
    return std::exchange(m_chunk, QString());
}

void Downloader::receive() {
    m_pending += m_reply->readAll();
    if (!chooseDecoder(false))
        return;
    decodePending();
    if (chunkFull())
        complete(ResponseCompleted);
}

void Downloader::finish() {
    if (!responseArrived(*m_reply)) {
        complete(RequestFailed);
        return;
    }
    m_pending += m_reply->readAll();
    chooseDecoder(true);
    decodePending();
    complete(ResponseCompleted);
}

void Downloader::timeOut() {
    if (stillExecuting())
        complete(RequestFailed);
}

// Picks the decoder once enough of the body is known; false while it has
// to wait for more bytes.
bool Downloader::chooseDecoder(bool bodyComplete) {
    if (m_decoderChosen)
        return true;
    QByteArray charset = charsetParameter(m_reply->rawHeader("Content-Type"));
    if (charset.isEmpty() || !QStringDecoder(charset.constData()).isValid()) {
        if (!bodyComplete && m_pending.size() < kSniffBytes)
            return false;
        charset = sniffedCharset();
    }
    m_decoder = QStringDecoder(charset.constData());
    m_decoderChosen = true;
    return true;
}

QByteArray Downloader::sniffedCharset() const {
    const QByteArray head = m_pending.left(kSniffBytes);
    for (const QByteArray& charset : {metaCharset(head), bomCharset(head)}) {
        if (!charset.isEmpty() && QStringDecoder(charset.constData()).isValid())
            return charset;
    }
    return kFallbackCharset;
}

void Downloader::decodePending() {
    m_text += m_decoder.decode(m_pending);
    m_pending.clear();
}

bool Downloader::chunkFull() const {
    return m_chunkSize > 0 && m_text.size() >= m_chunkSize;
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
    if (state == ResponseCompleted) {
        if (chunkFull())
            m_text.truncate(m_chunkSize);
        m_chunk = std::exchange(m_text, QString());
    }
    m_text.clear();
    m_pending.clear();
    Q_EMIT stateChanged(state);
}
