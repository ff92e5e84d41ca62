#include "orders/PopConnection.h"

#include "trust/CurlTrust.h"

#include <QFile>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Nothing may hang for ever: a server that takes no connection, gives no
// answer or stops sending in the middle of a message ends the command.
constexpr long kConnectTimeoutSeconds = 20;
constexpr long kResponseTimeoutSeconds = 60;
constexpr long kStalledSeconds = 60;
// The session's connection stays usable however slowly the messages are
// dealt with; the server's own idle limit still applies.
constexpr long kConnectionMaxAgeSeconds = 24 * 3600;

void initialiseCurlOnce() {
    // A function-local static is initialised exactly once, even when several
    // threads get here together.
    static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
    (void)initialised;
}

} // namespace

PopConnection::PopConnection() {
    initialiseCurlOnce();
    m_curl = curl_easy_init();
}

PopConnection::~PopConnection() {
    // Cleaning up sends QUIT on a connection still open; the owner cuts the
    // connection first when the session must not end normally.
    curl_easy_cleanup(m_curl);
}

Expected<void> PopConnection::configure(const MailAccount& account) {
    if (!m_curl)
        return Failure{QStringLiteral("The mail client could not be started.")};
    curl_easy_setopt(m_curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(m_curl, CURLOPT_ERRORBUFFER, m_curlError);
    curl_easy_setopt(m_curl, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(m_curl, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(m_curl, CURLOPT_HEADERFUNCTION, noteStatusLine);
    curl_easy_setopt(m_curl, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(m_curl, CURLOPT_OPENSOCKETFUNCTION, openSocket);
    curl_easy_setopt(m_curl, CURLOPT_OPENSOCKETDATA, this);
    curl_easy_setopt(m_curl, CURLOPT_CLOSESOCKETFUNCTION, closeSocket);
    curl_easy_setopt(m_curl, CURLOPT_CLOSESOCKETDATA, this);
    setTimeLimits();
    curl_easy_setopt(m_curl, CURLOPT_USERNAME, account.user.toUtf8().constData());
    curl_easy_setopt(m_curl, CURLOPT_PASSWORD, account.password.toUtf8().constData());
    curl_easy_setopt(m_curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(m_curl, CURLOPT_SSL_VERIFYHOST, 2L);
    if (account.security == MailAccount::Security::StartTls)
        curl_easy_setopt(m_curl, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
    if (account.trustedCertificate.isEmpty())
        return {};
    return trustExtraCertificate(m_curl, account.trustedCertificate);
}

CURLcode PopConnection::perform(const QString& url, const char* command, bool withBody) {
    m_body.clear();
    m_refusal.clear();
    m_curlError[0] = '\0';
    m_reconnectRefused = false;
    m_overflowed = false;
    curl_easy_setopt(m_curl, CURLOPT_URL, url.toUtf8().constData());
    curl_easy_setopt(m_curl, CURLOPT_CUSTOMREQUEST, command);
    curl_easy_setopt(m_curl, CURLOPT_NOBODY, withBody ? 0L : 1L);
    const CURLcode code = curl_easy_perform(m_curl);
    if (code == CURLE_OK)
        m_established = true;
    return code;
}

void PopConnection::cutConnection() {
    // Once the socket is shut down, the QUIT libcurl sends when it lets the
    // connection go cannot reach the server.
    if (m_socket != CURL_SOCKET_BAD)
        ::shutdown(m_socket, SHUT_RDWR);
}

QString PopConnection::refusal() const {
    return QString::fromUtf8(m_refusal.mid(4).trimmed());
}

curl_socket_t PopConnection::openSocket(void* connection, curlsocktype, curl_sockaddr* address) {
    auto* self = static_cast<PopConnection*>(connection);
    if (self->m_established) {
        self->m_reconnectRefused = true;
        return CURL_SOCKET_BAD;
    }
    self->m_socket = ::socket(address->family, address->socktype, address->protocol);
    return self->m_socket;
}

int PopConnection::closeSocket(void* connection, curl_socket_t socket) {
    auto* self = static_cast<PopConnection*>(connection);
    if (socket == self->m_socket)
        self->m_socket = CURL_SOCKET_BAD;
    return ::close(socket);
}

// libcurl hands the server's status lines to the header callback. A
// refusal is kept to explain the failure. libcurl lets the connection go
// after a refusal, saying QUIT, which would carry out the deletions: in a
// session that already worked the connection is cut first.
size_t PopConnection::noteStatusLine(char* data, size_t size, size_t count, void* connection) {
    auto* self = static_cast<PopConnection*>(connection);
    const QByteArray line(data, qsizetype(size * count));
    if (line.startsWith("-ERR")) {
        self->m_refusal = line;
        if (self->m_established)
            self->cutConnection();
    }
    return size * count;
}

// A server that sends more than the limit (a message without end) is cut
// off: there is no way to stop it within the session, and cutting the
// connection keeps the session's deletions from being carried out.
size_t PopConnection::appendBody(char* data, size_t size, size_t count, void* connection) {
    auto* self = static_cast<PopConnection*>(connection);
    const qsizetype length = qsizetype(size * count);
    if (self->m_bodyLimit > 0 && self->m_body.size() + length > self->m_bodyLimit) {
        self->m_overflowed = true;
        self->cutConnection();
        return 0; // ends the transfer with a write error
    }
    self->m_body.append(data, length);
    return size * count;
}

void PopConnection::setTimeLimits() {
    curl_easy_setopt(m_curl, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    curl_easy_setopt(m_curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, kResponseTimeoutSeconds);
    curl_easy_setopt(m_curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(m_curl, CURLOPT_LOW_SPEED_TIME, kStalledSeconds);
    curl_easy_setopt(m_curl, CURLOPT_MAXAGE_CONN, kConnectionMaxAgeSeconds);
}
