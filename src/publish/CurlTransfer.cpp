#include "publish/CurlTransfer.h"

#include <QCoreApplication>
#include <QIODevice>

namespace {

// A server that takes no connection, or stops answering in the middle of a
// request, ends that request instead of hanging the publish.
constexpr long kConnectTimeoutSeconds = 20;
constexpr long kStalledSeconds = 30;
constexpr long kResponseTimeoutSeconds = 30;
// How often events are processed while one request runs.
constexpr qint64 kEventsEveryMs = 50;

void initialiseCurlOnce() {
    static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
    (void)initialised;
}

} // namespace

CurlTransfer::CurlTransfer() {
    initialiseCurlOnce();
    m_easy = curl_easy_init();
    curl_easy_setopt(m_easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(m_easy, CURLOPT_ERRORBUFFER, m_error);
    curl_easy_setopt(m_easy, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    curl_easy_setopt(m_easy, CURLOPT_SERVER_RESPONSE_TIMEOUT, kResponseTimeoutSeconds);
    curl_easy_setopt(m_easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(m_easy, CURLOPT_LOW_SPEED_TIME, kStalledSeconds);
    curl_easy_setopt(m_easy, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(m_easy, CURLOPT_XFERINFOFUNCTION, processEvents);
    curl_easy_setopt(m_easy, CURLOPT_XFERINFODATA, this);
}

CurlTransfer::~CurlTransfer() {
    curl_easy_cleanup(m_easy);
    curl_slist_free_all(m_commands);
}

CurlTransfer::Result CurlTransfer::command(const QString& url, const QStringList& commands) {
    prepare(url);
    for (const QString& command : commands)
        m_commands = curl_slist_append(m_commands, command.toUtf8().constData());
    curl_easy_setopt(m_easy, CURLOPT_QUOTE, m_commands);
    curl_easy_setopt(m_easy, CURLOPT_NOBODY, 1L);
    return perform();
}

CurlTransfer::Result CurlTransfer::listNames(const QString& url, QStringList* names) {
    prepare(url);
    curl_easy_setopt(m_easy, CURLOPT_DIRLISTONLY, 1L);
    const Result result = perform();
    names->clear();
    for (const QByteArray& line : m_received.split('\n')) {
        const QString name = QString::fromUtf8(line.trimmed());
        if (!name.isEmpty() && name != QLatin1String(".") && name != QLatin1String(".."))
            *names << name;
    }
    return result;
}

CurlTransfer::Result CurlTransfer::upload(const QString& url, QIODevice& source, qint64 size) {
    prepare(url);
    curl_easy_setopt(m_easy, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(m_easy, CURLOPT_READFUNCTION, supply);
    curl_easy_setopt(m_easy, CURLOPT_READDATA, &source);
    curl_easy_setopt(m_easy, CURLOPT_INFILESIZE_LARGE, curl_off_t(size));
    return perform();
}

// Puts back what the last request changed, keeping the protocol's options.
void CurlTransfer::prepare(const QString& url) {
    m_received.clear();
    m_error[0] = '\0';
    curl_easy_setopt(m_easy, CURLOPT_URL, url.toUtf8().constData());
    curl_easy_setopt(m_easy, CURLOPT_QUOTE, nullptr);
    curl_slist_free_all(m_commands);
    m_commands = nullptr;
    curl_easy_setopt(m_easy, CURLOPT_NOBODY, 0L);
    curl_easy_setopt(m_easy, CURLOPT_UPLOAD, 0L);
    curl_easy_setopt(m_easy, CURLOPT_DIRLISTONLY, 0L);
    curl_easy_setopt(m_easy, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(m_easy, CURLOPT_WRITEDATA, &m_received);
}

// libcurl waits for the sockets itself; its progress calls, many a second,
// let the caller's events in now and then.
CurlTransfer::Result CurlTransfer::perform() {
    m_sinceEvents.start();
    Result result{curl_easy_perform(m_easy), QString::fromUtf8(m_error)};
    if (result.detail.isEmpty() && !result.ok())
        result.detail = QString::fromUtf8(curl_easy_strerror(result.code));
    return result;
}

int CurlTransfer::processEvents(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    QElapsedTimer& since = static_cast<CurlTransfer*>(self)->m_sinceEvents;
    if (since.elapsed() >= kEventsEveryMs) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        since.start();
    }
    return 0;
}

size_t CurlTransfer::collect(char* data, size_t size, size_t count, void* target) {
    static_cast<QByteArray*>(target)->append(data, qsizetype(size * count));
    return size * count;
}

size_t CurlTransfer::supply(char* buffer, size_t size, size_t count, void* source) {
    const qint64 read = static_cast<QIODevice*>(source)->read(buffer, qint64(size * count));
    return read < 0 ? CURL_READFUNC_ABORT : size_t(read);
}
