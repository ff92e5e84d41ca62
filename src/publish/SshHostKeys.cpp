#include "publish/SshHostKeys.h"

#include "platform/Logging.h"
#include "sitegen/KnownHostsFile.h"

#include <QCryptographicHash>
#include <QDir>

namespace {

// The server's public key as the SSH wire format has it; empty when the
// session has none.
QByteArray serverKeyBlob(ssh_session session) {
    ssh_key key = nullptr;
    if (ssh_get_server_publickey(session, &key) != SSH_OK)
        return {};
    char* base64 = nullptr;
    QByteArray blob;
    if (ssh_pki_export_pubkey_base64(key, &base64) == SSH_OK)
        blob = QByteArray::fromBase64(QByteArray(base64));
    ssh_string_free_char(base64);
    ssh_key_free(key);
    return blob;
}

} // namespace

SshHostKeys::SshHostKeys(const TransferAccess& access, const QString& host, int port)
    : m_access(access), m_host(host), m_port(port) {}

Expected<void> SshHostKeys::check(ssh_session session) const {
    const QByteArray blob = serverKeyBlob(session);
    if (blob.isEmpty())
        return Expected<void>::failure(
            QStringLiteral("The server %1 did not show a host key.").arg(serverName()));
    return checkKey(session, blob);
}

QString SshHostKeys::fingerprint(const QByteArray& keyBlob) {
    const QByteArray digest = QCryptographicHash::hash(keyBlob, QCryptographicHash::Sha256);
    return QStringLiteral("SHA256:") +
           QString::fromLatin1(digest.toBase64(QByteArray::OmitTrailingEquals));
}

Expected<void> SshHostKeys::checkKey(ssh_session session, const QByteArray& keyBlob) const {
    const QString print = fingerprint(keyBlob);
    const QString file = QDir::toNativeSeparators(m_access.knownHostsPath());
    switch (ssh_session_is_known_server(session)) {
    case SSH_KNOWN_HOSTS_OK:
        return {};
    case SSH_KNOWN_HOSTS_CHANGED:
    case SSH_KNOWN_HOSTS_OTHER:
        return Expected<void>::failure(
            QStringLiteral("The host key of the server %1 is not the one recorded in %2 "
                           "(it is now %3): someone may be intercepting the connection. "
                           "Nothing was sent. If the server's key was changed on purpose, "
                           "remove its old entry from %2.")
                .arg(serverName(), file, print));
    case SSH_KNOWN_HOSTS_ERROR:
        return Expected<void>::failure(QStringLiteral("The known hosts file %1 cannot be read: %2")
                                           .arg(file, QString::fromUtf8(ssh_get_error(session))));
    default:
        break;
    }
    if (!accepted(print))
        return Expected<void>::failure(
            QStringLiteral("The server %1 is not in the known hosts file %2; its host key "
                           "fingerprint is %3. It was not trusted: accept it only when "
                           "the server's administrator confirms that fingerprint.")
                .arg(serverName(), file, print));
    const Expected<void> added =
        KnownHostsFile(m_access.knownHostsPath()).add(m_host, m_port, keyBlob);
    if (!added)
        qCWarning(lcPublish) << added.error();
    return {};
}

bool SshHostKeys::accepted(const QString& print) const {
    if (!m_access.acceptedHostKey.isEmpty())
        return m_access.acceptedHostKey.trimmed() == print;
    return m_access.approveHostKey && m_access.approveHostKey(serverName(), print);
}

QString SshHostKeys::serverName() const {
    return m_port == 22 ? m_host : m_host + QLatin1Char(':') + QString::number(m_port);
}
