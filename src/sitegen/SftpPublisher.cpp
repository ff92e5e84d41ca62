#include "sitegen/SftpPublisher.h"

#include "platform/Logging.h"
#include "sitegen/PublishingLists.h"
#include "sitegen/UploadChecks.h"

#include <QFile>

namespace {

QString trailingSlashesRemoved(QString path) {
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

// SFTP paths without a leading "/" start at the user's home, which the
// server text writes as "/~".
QString fromHome(const QString& path) {
    if (path == QLatin1String("/~"))
        return QStringLiteral(".");
    if (path.startsWith(QLatin1String("/~/")))
        return path.mid(3);
    return path;
}

} // namespace

SftpPublisher::SftpPublisher(const TransferAccess& access, QObject* parent)
    : Publisher(parent), m_access(access) {}

bool SftpPublisher::namesSftp(const QString& server) {
    return server.trimmed().startsWith(QLatin1String("sftp://"), Qt::CaseInsensitive);
}

void SftpPublisher::vtiDisableErrorDialogs(int /*flag*/) {}

int SftpPublisher::vtiOpenWebWithPassword(const QString& server, const QString& web,
                                          const QString& user, const QString& password) {
    m_user = user;
    m_password = password;
    if (!connectTo(server) || !useWeb(web))
        return -1;
    const SftpSession::Result there = m_session->folder(remotePath(QString()));
    if (there.kind == SftpSession::Result::Kind::Missing || there.ok()) {
        setLastError(QString());
        return there.ok() ? 1 : 0;
    }
    setLastError(failureOf(there, QStringLiteral("to open the web \"%1\"").arg(m_web)));
    return -1;
}

// Removes each listed file the web holds; a file that is not there is
// already removed.
bool SftpPublisher::vtiRemoveWeb(const QString& webPath, const QString& addressList) {
    return useWeb(webOfPath(webPath)) &&
           removeEach(addressList, [this](const QString& address) { return removeOne(address); });
}

bool SftpPublisher::vtiCreateWeb(const QString& serverUrl, const QString& web) {
    const QString typed = typedServer(serverUrl);
    if ((!m_session && !connectTo(typed)) || !useWeb(web))
        return false;
    SftpSession::Result result = m_session->folder(remotePath(QString()));
    if (result.kind == SftpSession::Result::Kind::Missing)
        result = m_session->makeFolder(remotePath(QString()));
    setLastError(result.ok()
                     ? QString()
                     : failureOf(result, QStringLiteral("to create the web \"%1\"").arg(web)));
    return result.ok();
}

QStringList SftpPublisher::vtiPutDocuments(const QString& fileList, const QString& addressList) {
    return putEach(fileList, addressList, [this](const QString& file, const QString& address) {
        return putOne(file, address);
    });
}

// A fresh connection for every publish: an earlier server's login and
// trust decisions never carry over.
bool SftpPublisher::connectTo(const QString& serverText) {
    m_session.reset();
    m_blocked.clear();
    m_base = QUrl(serverText.trimmed());
    if (!namesSftp(serverText) || !m_base.isValid() || m_base.host().isEmpty() ||
        m_base.hasQuery() || m_base.hasFragment()) {
        m_base = QUrl();
        setLastError(QStringLiteral("\"%1\" is not a server name that can be published to: give "
                                    "it as sftp://host[:port]/folder.")
                         .arg(serverText));
        return false;
    }
    m_base.setPath(trailingSlashesRemoved(m_base.path(QUrl::FullyDecoded)), QUrl::DecodedMode);
    m_session = std::make_unique<SftpSession>(m_access, m_base.host(), m_base.port(22));
    const Expected<void> opened = m_session->open(m_user, m_password);
    m_blocked = opened.error();
    setLastError(m_blocked);
    return opened.ok();
}

bool SftpPublisher::useWeb(const QString& web) {
    if (!mayUseWeb(m_session != nullptr, m_blocked, web))
        return false;
    m_web = web;
    return true;
}

// The path of an address inside the web, or of the web's folder for an
// empty address.
QString SftpPublisher::remotePath(const QString& address) const {
    QString path = m_base.path(QUrl::FullyDecoded) + QLatin1Char('/') + m_web;
    if (!address.isEmpty())
        path += QLatin1Char('/') + address;
    return fromHome(path);
}

QString SftpPublisher::removeOne(const QString& address) {
    if (!m_blocked.isEmpty())
        return m_blocked;
    const QString problem = UploadChecks::addressProblem(address);
    if (!problem.isEmpty())
        return problem;
    const SftpSession::Result result = m_session->remove(remotePath(address));
    if (result.ok() || result.kind == SftpSession::Result::Kind::Missing)
        return QString();
    return failureOf(result, QStringLiteral("to remove %1").arg(address));
}

QString SftpPublisher::putOne(const QString& localPath, const QString& address) {
    if (!m_blocked.isEmpty())
        return m_blocked;
    QFile file;
    const QString problem = UploadChecks::openForUpload(localPath, address, file);
    if (!problem.isEmpty())
        return problem;
    const SftpSession::Result result = m_session->upload(file, remotePath(address));
    if (!result.ok())
        return failureOf(result, QStringLiteral("to store %1").arg(address));
    qCDebug(lcPublish) << "published" << localPath << "as" << address;
    return QString();
}

// What went wrong, in words naming the server. A lost connection also stops
// the requests after it.
QString SftpPublisher::failureOf(const SftpSession::Result& result, const QString& what) {
    if (result.kind == SftpSession::Result::Kind::Lost) {
        m_blocked = result.detail;
        return m_blocked;
    }
    const QString detail =
        result.detail.isEmpty() ? QStringLiteral("no such file or folder") : result.detail;
    return QStringLiteral("The server %1 refused %2: %3.").arg(serverName(), what, detail);
}

QString SftpPublisher::serverName() const {
    const QString host = m_base.host();
    return m_base.port() == -1 ? host : host + QLatin1Char(':') + QString::number(m_base.port());
}
