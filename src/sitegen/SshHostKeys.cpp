#include "sitegen/SshHostKeys.h"

#include "platform/Logging.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace {

// The key blob libcurl hands over: raw bytes, or base64 text when no length
// is given.
QByteArray blobOf(const curl_khkey* key) {
    if (!key || !key->key)
        return {};
    if (key->len == 0)
        return QByteArray::fromBase64(QByteArray(key->key));
    return QByteArray(key->key, qsizetype(key->len));
}

// A key blob starts with its type name ("ssh-ed25519", "ssh-rsa", ...) as
// a length-prefixed string.
QByteArray keyType(const QByteArray& blob) {
    if (blob.size() < 4)
        return {};
    const quint32 length = qFromBigEndian<quint32>(blob.constData());
    if (length == 0 || length > quint32(blob.size() - 4))
        return {};
    return blob.mid(4, qsizetype(length));
}

} // namespace

SshHostKeys::SshHostKeys(const TransferAccess& access, const QString& host, int port)
    : m_access(access), m_host(host), m_port(port) {}

void SshHostKeys::attachTo(CURL* curl) {
    m_refusal.clear();
    const QByteArray knownHosts = QFile::encodeName(m_access.knownHostsPath());
    curl_easy_setopt(curl, CURLOPT_SSH_KNOWNHOSTS, knownHosts.constData());
    curl_easy_setopt(curl, CURLOPT_SSH_KEYFUNCTION, check);
    curl_easy_setopt(curl, CURLOPT_SSH_KEYDATA, this);
}

QString SshHostKeys::fingerprint(const QByteArray& keyBlob) {
    const QByteArray digest = QCryptographicHash::hash(keyBlob, QCryptographicHash::Sha256);
    return QStringLiteral("SHA256:") +
           QString::fromLatin1(digest.toBase64(QByteArray::OmitTrailingEquals));
}

int SshHostKeys::check(CURL*, const curl_khkey*, const curl_khkey* found, curl_khmatch match,
                       void* self) {
    return static_cast<SshHostKeys*>(self)->decide(blobOf(found), match);
}

int SshHostKeys::decide(const QByteArray& keyBlob, curl_khmatch match) {
    const QString print = fingerprint(keyBlob);
    if (match == CURLKHMATCH_OK)
        return CURLKHSTAT_FINE;
    if (match == CURLKHMATCH_MISMATCH) {
        m_refusal =
            QStringLiteral("The host key of the server %1 is not the one recorded in %2 "
                           "(it is now %3): someone may be intercepting the connection. "
                           "Nothing was sent. If the server's key was changed on purpose, "
                           "remove its old entry from %2.")
                .arg(serverName(), QDir::toNativeSeparators(m_access.knownHostsPath()), print);
        return CURLKHSTAT_REJECT;
    }
    if (!accepted(print)) {
        m_refusal =
            QStringLiteral("The server %1 is not in the known hosts file %2; its host key "
                           "fingerprint is %3. It was not trusted: accept it only when "
                           "the server's administrator confirms that fingerprint.")
                .arg(serverName(), QDir::toNativeSeparators(m_access.knownHostsPath()), print);
        return CURLKHSTAT_REJECT;
    }
    remember(keyBlob);
    return CURLKHSTAT_FINE;
}

bool SshHostKeys::accepted(const QString& print) const {
    if (!m_access.acceptedHostKey.isEmpty())
        return m_access.acceptedHostKey.trimmed() == print;
    return m_access.approveHostKey && m_access.approveHostKey(serverName(), print);
}

// Adds one line to the known hosts file, leaving the lines already there
// as they are.
void SshHostKeys::remember(const QByteArray& keyBlob) const {
    const QString path = m_access.knownHostsPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::Append | QIODevice::Text)) {
        qCWarning(lcPublish) << "cannot add the host key of" << serverName() << "to" << path;
        return;
    }
    file.write(knownHostsName().toUtf8() + ' ' + keyType(keyBlob) + ' ' + keyBlob.toBase64() +
               '\n');
}

// The host as the known hosts file names it: "[host]:port" off port 22.
QString SshHostKeys::knownHostsName() const {
    if (m_port == 22)
        return m_host;
    return QStringLiteral("[%1]:%2").arg(m_host, QString::number(m_port));
}

QString SshHostKeys::serverName() const {
    return m_port == 22 ? m_host : m_host + QLatin1Char(':') + QString::number(m_port);
}
