#include "sitegen/FileTransferPublisher.h"

#include "platform/CurlTrust.h"
#include "platform/Logging.h"
#include "sitegen/PublishingLists.h"
#include "sitegen/UploadChecks.h"

#include <QFile>
#include <QSet>

namespace {

QString trailingSlashesRemoved(QString path) {
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

} // namespace

FileTransferPublisher::FileTransferPublisher(const TransferAccess& access, QObject* parent)
    : Publisher(parent), m_access(access) {}

std::optional<FileTransferPublisher::Protocol>
FileTransferPublisher::protocolOf(const QString& server) {
    const QString text = server.trimmed();
    if (text.startsWith(QLatin1String("ftps://"), Qt::CaseInsensitive))
        return Protocol::Ftps;
    if (text.startsWith(QLatin1String("ftp://"), Qt::CaseInsensitive))
        return Protocol::Ftp;
    return std::nullopt;
}

void FileTransferPublisher::vtiDisableErrorDialogs(int /*flag*/) {}

int FileTransferPublisher::vtiOpenWebWithPassword(const QString& server, const QString& web,
                                                  const QString& user, const QString& password) {
    m_user = user;
    m_password = password;
    m_blocked.clear();
    if (!useServer(server) || !useWeb(web))
        return -1;
    QStringList names;
    const WebState state = readWeb(&names);
    if (state == WebState::Unknown)
        return -1;
    setLastError(QString());
    return state == WebState::Present ? 1 : 0;
}

bool FileTransferPublisher::vtiRemoveWeb(const QString& webPath, const QString& addressList) {
    if (!useWeb(webOfPath(webPath)))
        return false;
    QStringList present;
    if (readWeb(&present) == WebState::Unknown)
        return false;
    const QStringList addresses = PublishingLists::entries(addressList);
    // Most of the time every removal succeeds: all of them go in one
    // request. Only when one fails are they made one by one, to name it.
    if (removeAll(addresses, present)) {
        setLastError(QString());
        return true;
    }
    if (readWeb(&present) == WebState::Unknown)
        return false;
    return removeEach(addressList, [this, &present](const QString& address) {
        return removeOne(address, present);
    });
}

bool FileTransferPublisher::vtiCreateWeb(const QString& serverUrl, const QString& web) {
    const QString typed = typedServer(serverUrl);
    if (!m_transfer && !useServer(typed))
        return false;
    if (!useWeb(web))
        return false;
    QStringList names;
    const WebState state = readWeb(&names);
    if (state != WebState::Missing) {
        if (state == WebState::Present)
            setLastError(QString());
        return state == WebState::Present;
    }
    const CurlTransfer::Result result = m_transfer->command(url(QString()), {makeWebCommand()});
    setLastError(result.ok()
                     ? QString()
                     : failureOf(result, QStringLiteral("to create the web \"%1\"").arg(web)));
    return result.ok();
}

QStringList FileTransferPublisher::vtiPutDocuments(const QString& fileList,
                                                   const QString& addressList) {
    return putEach(fileList, addressList, [this](const QString& file, const QString& address) {
        return putOne(file, address);
    });
}

bool FileTransferPublisher::useServer(const QString& serverText) {
    const auto protocol = protocolOf(serverText);
    m_base = QUrl(serverText.trimmed());
    if (!protocol || !m_base.isValid() || m_base.host().isEmpty() || m_base.hasQuery() ||
        m_base.hasFragment()) {
        m_base = QUrl();
        setLastError(QStringLiteral("\"%1\" is not a server name that can be published to: give "
                                    "it as ftps://host[:port]/folder or ftp://host[:port]/folder.")
                         .arg(serverText));
        return false;
    }
    m_protocol = *protocol;
    m_base.setPath(trailingSlashesRemoved(m_base.path(QUrl::FullyDecoded)), QUrl::DecodedMode);
    m_loginFolder.clear();
    configureConnection();
    return true;
}

bool FileTransferPublisher::useWeb(const QString& web) {
    if (!mayUseWeb(m_transfer != nullptr, m_blocked, web))
        return false;
    m_web = web;
    return true;
}

// A fresh connection for every publish: an earlier server's login and
// trust decisions never carry over.
void FileTransferPublisher::configureConnection() {
    m_transfer = std::make_unique<CurlTransfer>();
    CURL* curl = m_transfer->handle();
    curl_easy_setopt(curl, CURLOPT_USERNAME, m_user.toUtf8().constData());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, m_password.toUtf8().constData());
    configureTls();
}

void FileTransferPublisher::configureTls() {
    CURL* curl = m_transfer->handle();
    if (m_protocol == Protocol::Ftp)
        return;
    curl_easy_setopt(curl, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!m_access.trustedCertificate.isEmpty()) {
        const Expected<void> trusted = trustExtraCertificate(curl, m_access.trustedCertificate);
        if (!trusted)
            qCWarning(lcPublish) << trusted.error();
    }
}

// Lists the web's folder: its names when it is there, Missing when the
// server says there is no such folder, Unknown (with the reason kept) when
// the server could not be asked.
FileTransferPublisher::WebState FileTransferPublisher::readWeb(QStringList* names) {
    const CurlTransfer::Result result = m_transfer->listNames(url(QString()), names);
    if (m_loginFolder.isEmpty()) {
        char* entry = nullptr;
        if (curl_easy_getinfo(m_transfer->handle(), CURLINFO_FTP_ENTRY_PATH, &entry) == CURLE_OK &&
            entry)
            m_loginFolder = trailingSlashesRemoved(QString::fromUtf8(entry));
    }
    if (result.ok())
        return WebState::Present;
    // FTP cannot change into a folder that is not there.
    names->clear();
    if (result.code == CURLE_REMOTE_ACCESS_DENIED)
        return WebState::Missing;
    setLastError(failureOf(result, QStringLiteral("to open the web \"%1\"").arg(m_web)));
    return WebState::Unknown;
}

// The URL of an address inside the web, or of the web's folder itself (with
// the trailing slash that makes it a folder) for an empty address.
QString FileTransferPublisher::url(const QString& address) const {
    QUrl target = m_base;
    target.setScheme(QStringLiteral("ftp"));
    QString path = m_base.path(QUrl::FullyDecoded) + QLatin1Char('/') + m_web;
    path += QLatin1Char('/') + address;
    target.setPath(path, QUrl::DecodedMode);
    target.setUserInfo(QString());
    return target.toString(QUrl::FullyEncoded);
}

// The path of an address (or of the web, for an empty address) as the
// server's commands take it. FTP commands run wherever the connection
// last changed to, so their paths start at the root, from the login folder.
QString FileTransferPublisher::commandPath(const QString& address) const {
    QString path = m_base.path(QUrl::FullyDecoded) + QLatin1Char('/') + m_web;
    if (!address.isEmpty())
        path += QLatin1Char('/') + address;
    return m_loginFolder + path;
}

QString FileTransferPublisher::removeCommand(const QString& address) const {
    return QStringLiteral("DELE ") + commandPath(address);
}

QString FileTransferPublisher::makeWebCommand() const {
    return QStringLiteral("MKD ") + commandPath(QString());
}

// Removes every listed file the web holds, in one request; false when
// one of them could not be removed (or an address is not a file name).
bool FileTransferPublisher::removeAll(const QStringList& addresses, const QStringList& present) {
    const QSet<QString> there(present.begin(), present.end());
    QStringList commands;
    for (const QString& address : addresses) {
        if (!UploadChecks::addressProblem(address).isEmpty())
            return false;
        if (there.contains(address))
            commands << removeCommand(address);
    }
    return commands.isEmpty() || m_transfer->command(url(QString()), commands).ok();
}

// Removes one listed file, if the web holds it.
QString FileTransferPublisher::removeOne(const QString& address, const QStringList& present) {
    if (!m_blocked.isEmpty())
        return m_blocked;
    const QString problem = UploadChecks::addressProblem(address);
    if (!problem.isEmpty())
        return problem;
    if (!present.contains(address))
        return QString();
    const CurlTransfer::Result result =
        m_transfer->command(url(QString()), {removeCommand(address)});
    return result.ok() ? QString() : failureOf(result, QStringLiteral("to remove %1").arg(address));
}

QString FileTransferPublisher::putOne(const QString& localPath, const QString& address) {
    if (!m_blocked.isEmpty())
        return m_blocked;
    QFile file;
    const QString problem = UploadChecks::openForUpload(localPath, address, file);
    if (!problem.isEmpty())
        return problem;
    const CurlTransfer::Result result = m_transfer->upload(url(address), file, file.size());
    if (!result.ok())
        return failureOf(result, QStringLiteral("to store %1").arg(address));
    qCDebug(lcPublish) << "published" << localPath << "as" << address;
    return QString();
}

// What went wrong, in words naming the server. A failure of the whole
// connection (unreachable, login, trust) also stops the requests after it.
QString FileTransferPublisher::failureOf(const CurlTransfer::Result& result, const QString& what) {
    const QString connection = connectionFailure(result);
    if (!connection.isEmpty()) {
        m_blocked = connection;
        return connection;
    }
    return QStringLiteral("The server %1 refused %2: %3.")
        .arg(serverName(), what, trailingSlashesRemoved(result.detail));
}

QString FileTransferPublisher::connectionFailure(const CurlTransfer::Result& result) const {
    const QString server = serverName();
    switch (result.code) {
    case CURLE_COULDNT_CONNECT:
        return QStringLiteral("The server %1 cannot be reached: the connection was refused; is "
                              "the server running?")
            .arg(server);
    case CURLE_COULDNT_RESOLVE_HOST:
        return QStringLiteral("The server %1 cannot be reached: no host of that name was found")
            .arg(server);
    case CURLE_OPERATION_TIMEDOUT:
        return QStringLiteral("The server %1 cannot be reached: it did not answer in time.")
            .arg(server);
    case CURLE_LOGIN_DENIED:
        return QStringLiteral("The server %1 did not accept the login of \"%2\": wrong user "
                              "name, password or key.")
            .arg(server, m_user);
    case CURLE_USE_SSL_FAILED:
        return QStringLiteral("The server %1 does not offer FTP over TLS; nothing was sent. "
                              "Publish with ftp:// only if the password may go in clear.")
            .arg(server);
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CONNECT_ERROR:
        return QStringLiteral("A secure connection to the server %1 failed: its certificate "
                              "is not trusted (%2).")
            .arg(server, result.detail);
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_WEIRD_SERVER_REPLY:
        return QStringLiteral("The connection to the server %1 failed: %2")
            .arg(server, result.detail);
    default:
        return QString();
    }
}

QString FileTransferPublisher::serverName() const {
    const QString host = m_base.host();
    return m_base.port() == -1 ? host : host + QLatin1Char(':') + QString::number(m_base.port());
}
