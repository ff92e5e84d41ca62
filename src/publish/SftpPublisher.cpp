#include "publish/SftpPublisher.h"

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

Expected<bool> SftpPublisher::vtiOpenWebWithPassword(const QString& server, const QString& web,
                                                     const QString& user, const QString& password) {
    m_user = user;
    m_password = password;
    if (Expected<void> connected = connectTo(server); !connected)
        return Failure{connected.error()};
    if (Expected<void> usable = useWeb(web); !usable)
        return Failure{usable.error()};
    const SftpSession::Result there = m_session->folder(remotePath(QString()));
    if (there.kind == SftpSession::Result::Kind::Missing || there.ok())
        return there.ok();
    return Failure{failureOf(there, QStringLiteral("to open the web \"%1\"").arg(m_web))};
}

// Removes each listed file the web holds; a file that is not there is
// already removed.
Expected<void> SftpPublisher::vtiRemoveWeb(const QString& webPath, const QString& addressList) {
    if (Expected<void> usable = useWeb(webOfPath(webPath)); !usable)
        return usable;
    return removeEach(addressList, [this](const QString& address) { return removeOne(address); });
}

Expected<void> SftpPublisher::vtiCreateWeb(const QString& serverUrl, const QString& web) {
    if (!m_session)
        if (Expected<void> connected = connectTo(typedServer(serverUrl)); !connected)
            return connected;
    if (Expected<void> usable = useWeb(web); !usable)
        return usable;
    SftpSession::Result result = m_session->folder(remotePath(QString()));
    if (result.kind == SftpSession::Result::Kind::Missing)
        result = m_session->makeFolder(remotePath(QString()));
    if (!result.ok())
        return Failure{failureOf(result, QStringLiteral("to create the web \"%1\"").arg(web))};
    return {};
}

QList<Expected<void>> SftpPublisher::vtiPutDocuments(const QString& fileList,
                                                     const QString& addressList) {
    return putEach(fileList, addressList, [this](const QString& file, const QString& address) {
        return putOne(file, address);
    });
}

// A fresh connection for every publish: an earlier server's login and
// trust decisions never carry over.
Expected<void> SftpPublisher::connectTo(const QString& serverText) {
    m_session.reset();
    m_blocked.clear();
    m_base = QUrl(serverText.trimmed());
    if (!namesSftp(serverText) || !m_base.isValid() || m_base.host().isEmpty() ||
        m_base.hasQuery() || m_base.hasFragment()) {
        m_base = QUrl();
        return Failure{QStringLiteral("\"%1\" is not a server name that can be published to: "
                                      "give it as sftp://host[:port]/folder.")
                           .arg(serverText)};
    }
    m_base.setPath(trailingSlashesRemoved(m_base.path(QUrl::FullyDecoded)), QUrl::DecodedMode);
    m_session = std::make_unique<SftpSession>(m_access, m_base.host(), m_base.port(22));
    const Expected<void> opened = m_session->open(m_user, m_password);
    m_blocked = opened.error();
    return opened;
}

Expected<void> SftpPublisher::useWeb(const QString& web) {
    if (Expected<void> usable = mayUseWeb(m_session != nullptr, m_blocked, web); !usable)
        return usable;
    m_web = web;
    return {};
}

// The path of an address inside the web, or of the web's folder for an
// empty address.
QString SftpPublisher::remotePath(const QString& address) const {
    QString path = m_base.path(QUrl::FullyDecoded) + QLatin1Char('/') + m_web;
    if (!address.isEmpty())
        path += QLatin1Char('/') + address;
    return fromHome(path);
}

Expected<void> SftpPublisher::removeOne(const QString& address) {
    if (!m_blocked.isEmpty())
        return Failure{m_blocked};
    if (Expected<void> sendable = UploadChecks::checkAddress(address); !sendable)
        return sendable;
    const SftpSession::Result result = m_session->remove(remotePath(address));
    if (result.ok() || result.kind == SftpSession::Result::Kind::Missing)
        return {};
    return Failure{failureOf(result, QStringLiteral("to remove %1").arg(address))};
}

Expected<void> SftpPublisher::putOne(const QString& localPath, const QString& address) {
    if (!m_blocked.isEmpty())
        return Failure{m_blocked};
    QFile file;
    if (Expected<void> opened = UploadChecks::openForUpload(localPath, address, file); !opened)
        return opened;
    const SftpSession::Result result = m_session->upload(file, remotePath(address));
    if (!result.ok())
        return Failure{failureOf(result, QStringLiteral("to store %1").arg(address))};
    qCDebug(lcPublish) << "published" << localPath << "as" << address;
    return {};
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
