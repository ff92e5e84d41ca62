#include "orders/PopMailbox.h"

#include "files/TextFile.h"
#include "orders/PopConnection.h"
#include "orders/PopListing.h"

#include <QHash>
#include <QLocale>
#include <algorithm>

namespace {

constexpr int kPlainPort = 110;
constexpr int kTlsPort = 995;

// A host name or address; anything that would change the meaning of the
// mailbox address is refused before connecting.
bool isValidHost(const QString& host) {
    static const QString forbidden = QStringLiteral("/?#@\\ \t\r\n[]");
    return !host.isEmpty() &&
           std::none_of(host.begin(), host.end(), [](QChar c) { return forbidden.contains(c); });
}

} // namespace

QString MailAccount::serverName() const {
    const int usualPort = security == Security::Tls ? kTlsPort : kPlainPort;
    return host + QLatin1Char(':') + QString::number(port > 0 ? port : usualPort);
}

PopMailbox::PopMailbox(const MailAccount& account) : m_account(account) {}

PopMailbox::~PopMailbox() {
    endSession();
}

// The sizes come first, so that no message needs to be read to learn it
// is too large. A message the server gives no size for counts as too large.
QList<MailboxEntry> PopMailbox::list() {
    if (!perform("LIST", 0, true))
        return {};
    QHash<int, qint64> sizes;
    for (const auto& [number, size] : PopListing::parse(m_connection->body())) {
        bool isNumber = false;
        const qint64 bytes = size.toLongLong(&isNumber);
        sizes.insert(number, isNumber && bytes >= 0 ? bytes : m_sizeLimit + 1);
    }
    if (!perform("UIDL", 0, true))
        return {};
    QList<MailboxEntry> entries;
    for (const auto& [number, uid] : PopListing::parse(m_connection->body()))
        entries.append({number, QString::fromLatin1(uid), sizes.value(number, m_sizeLimit + 1)});
    return entries;
}

QString PopMailbox::sizeText(qint64 bytes) {
    return QLocale::c().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

bool PopMailbox::overflowed() const {
    return m_connection && m_connection->overflowed();
}

QString PopMailbox::retrieve(int number) {
    if (!perform(nullptr, number, true))
        return {};
    return TextFile::decode(m_connection->body());
}

bool PopMailbox::remove(int number) {
    return perform("DELE", number, false);
}

bool PopMailbox::close() {
    m_error.clear();
    if (!m_connection)
        return true;
    const bool confirmed = !m_connection->established() || perform("QUIT", 0, false);
    if (!confirmed)
        m_error += QStringLiteral(" Messages marked for deletion may still be on the server.");
    endSession();
    return confirmed;
}

PopConnection* PopMailbox::connection() {
    if (m_connection)
        return m_connection.get();
    if (!isValidHost(m_account.host.trimmed())) {
        m_error = QStringLiteral("\"%1\" is not a valid mail server name.").arg(m_account.host);
        return nullptr;
    }
    auto created = std::make_unique<PopConnection>();
    if (const Expected<void> configured = created->configure(m_account); !configured) {
        m_error = configured.error();
        return nullptr;
    }
    m_connection = std::move(created);
    return m_connection.get();
}

// RETR when command is null, else the command; number 0: no message number.
bool PopMailbox::perform(const char* command, int number, bool withBody) {
    m_error.clear();
    PopConnection* connection = this->connection();
    if (!connection)
        return false;
    connection->setBodyLimit(m_sizeLimit);
    const CURLcode code = connection->perform(url(number), command, withBody);
    if (code == CURLE_OK)
        return true;
    m_error = failureText(code);
    if (!connection->established())
        endSession(); // nothing of the session to keep: the next call starts afresh
    return false;
}

QString PopMailbox::url(int number) const {
    const bool tls = m_account.security == MailAccount::Security::Tls;
    const int port = m_account.port > 0 ? m_account.port : (tls ? kTlsPort : kPlainPort);
    QString host = m_account.host.trimmed();
    if (host.contains(QLatin1Char(':')))
        host = QLatin1Char('[') + host + QLatin1Char(']'); // an IPv6 address
    QString text = (tls ? QStringLiteral("pop3s://") : QStringLiteral("pop3://")) + host +
                   QLatin1Char(':') + QString::number(port) + QLatin1Char('/');
    if (number > 0)
        text += QString::number(number);
    return text;
}

QString PopMailbox::failureText(int code) const {
    const QString server = m_account.serverName();
    const QString detail = m_connection->detail();
    if (m_connection->lost())
        return QStringLiteral("The connection to the mail server %1 was lost.").arg(server);
    if (m_connection->overflowed())
        return QStringLiteral("The mail server %1 sent more than %2 at once; the connection was "
                              "dropped.")
            .arg(server, sizeText(m_sizeLimit));
    switch (CURLcode(code)) {
    case CURLE_COULDNT_RESOLVE_HOST:
        return QStringLiteral("The mail server %1 could not be found. Check the POP host.")
            .arg(server);
    case CURLE_COULDNT_CONNECT:
        return QStringLiteral("The mail server %1 could not be reached. Check the POP host and "
                              "the network connection.")
            .arg(server);
    case CURLE_OPERATION_TIMEDOUT:
        return QStringLiteral("The mail server %1 did not answer in time.").arg(server);
    case CURLE_LOGIN_DENIED:
        return refusedLoginText();
    case CURLE_PEER_FAILED_VERIFICATION:
        return QStringLiteral("The secure connection to the mail server %1 failed: its "
                              "certificate is not trusted (%2).")
            .arg(server, detail);
    case CURLE_USE_SSL_FAILED:
        return QStringLiteral("The mail server %1 does not offer a secure connection (STLS).")
            .arg(server);
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
        return QStringLiteral("The secure connection to the mail server %1 failed (%2).")
            .arg(server, detail);
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
        return QStringLiteral("The connection to the mail server %1 was lost.").arg(server);
    default:
        break;
    }
    if (!m_connection->refusal().isEmpty())
        return QStringLiteral("The mail server %1 said: %2").arg(server, m_connection->refusal());
    return QStringLiteral("Reading mail from %1 failed: %2")
        .arg(server,
             detail.isEmpty() ? QString::fromUtf8(curl_easy_strerror(CURLcode(code))) : detail);
}

QString PopMailbox::refusedLoginText() const {
    QString text = QStringLiteral("The mail server %1 refused the login. Check the user name and "
                                  "password.")
                       .arg(m_account.serverName());
    if (!m_connection->refusal().isEmpty())
        text += QStringLiteral(" (The server said: %1)").arg(m_connection->refusal());
    return text;
}

void PopMailbox::endSession() {
    if (m_connection)
        m_connection->cutConnection();
    m_connection.reset();
}
