#include "publish/FileTransferPublisher.h"

#include "platform/Logging.h"
#include "sitegen/PublishingLists.h"
#include "sitegen/UploadChecks.h"
#include "trust/CurlTrust.h"

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

Expected<bool> FileTransferPublisher::vtiOpenWebWithPassword(const QString& server,
                                                             const QString& web,
                                                             const QString& user,
                                                             const QString& password) {
    m_user = user;
    m_password = password;
    m_blocked.clear();
    if (Expected<void> usable = useServer(server); !usable)
        return Failure{usable.error()};
    if (Expected<void> usable = useWeb(web); !usable)
        return Failure{usable.error()};
    QStringList names;
    const Expected<WebState> state = readWeb(&names);
    if (!state)
        return Failure{state.error()};
    return *state == WebState::Present;
}

Expected<void> FileTransferPublisher::vtiRemoveWeb(const QString& webPath,
                                                   const QString& addressList) {
    if (Expected<void> usable = useWeb(webOfPath(webPath)); !usable)
        return usable;
    QStringList present;
    if (const Expected<WebState> state = readWeb(&present); !state)
        return Failure{state.error()};
    const QStringList addresses = PublishingLists::entries(addressList);
    // Most of the time every removal succeeds: all of them go in one
    // request. Only when one fails are they made one by one, to name it.
    if (removeAll(addresses, present))
        return {};
    if (const Expected<WebState> state = readWeb(&present); !state)
        return Failure{state.error()};
    return removeEach(addressList, [this, &present](const QString& address) {
        return removeOne(address, present);
    });
}

Expected<void> FileTransferPublisher::vtiCreateWeb(const QString& serverUrl, const QString& web) {
    if (!m_transfer)
        if (Expected<void> usable = useServer(typedServer(serverUrl)); !usable)
            return usable;
    if (Expected<void> usable = useWeb(web); !usable)
        return usable;
    QStringList names;
    const Expected<WebState> state = readWeb(&names);
    if (!state)
        return Failure{state.error()};
    if (*state == WebState::Present)
        return {};
    const CurlTransfer::Result result = m_transfer->command(url(QString()), {makeWebCommand()});
    if (!result.ok())
        return Failure{failureOf(result, QStringLiteral("to create the web \"%1\"").arg(web))};
    return {};
}

QList<Expected<void>> FileTransferPublisher::vtiPutDocuments(const QString& fileList,
                                                             const QString& addressList) {
    return putEach(fileList, addressList, [this](const QString& file, const QString& address) {
        return putOne(file, address);
    });
}

Expected<void> FileTransferPublisher::useServer(const QString& serverText) {
    const auto protocol = protocolOf(serverText);
    m_base = QUrl(serverText.trimmed());
    if (!protocol || !m_base.isValid() || m_base.host().isEmpty() || m_base.hasQuery() ||
        m_base.hasFragment()) {
        m_base = QUrl();
        return Failure{QStringLiteral("\"%1\" is not a server name that can be published to: "
                                      "give it as ftps://host[:port]/folder or "
                                      "ftp://host[:port]/folder.")
                           .arg(serverText)};
    }
    m_protocol = *protocol;
    m_base.setPath(trailingSlashesRemoved(m_base.path(QUrl::FullyDecoded)), QUrl::DecodedMode);
    m_loginFolder.clear();
    configureConnection();
    return {};
}

Expected<void> FileTransferPublisher::useWeb(const QString& web) {
    if (Expected<void> usable = mayUseWeb(m_transfer != nullptr, m_blocked, web); !usable)
        return usable;
    m_web = web;
    return {};
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
// server says there is no such folder, a failure when the server could not
// be asked.
Expected<FileTransferPublisher::WebState> FileTransferPublisher::readWeb(QStringList* names) {
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
    return Failure{failureOf(result, QStringLiteral("to open the web \"%1\"").arg(m_web))};
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
        if (!UploadChecks::checkAddress(address))
            return false;
        if (there.contains(address))
            commands << removeCommand(address);
    }
    return commands.isEmpty() || m_transfer->command(url(QString()), commands).ok();
}

// Removes one listed file, if the web holds it.
Expected<void> FileTransferPublisher::removeOne(const QString& address,
                                                const QStringList& present) {
    if (!m_blocked.isEmpty())
        return Failure{m_blocked};
    if (Expected<void> sendable = UploadChecks::checkAddress(address); !sendable)
        return sendable;
    if (!present.contains(address))
        return {};
    const CurlTransfer::Result result =
        m_transfer->command(url(QString()), {removeCommand(address)});
    if (!result.ok())
        return Failure{failureOf(result, QStringLiteral("to remove %1").arg(address))};
    return {};
}

Expected<void> FileTransferPublisher::putOne(const QString& localPath, const QString& address) {
    if (!m_blocked.isEmpty())
        return Failure{m_blocked};
    QFile file;
    if (Expected<void> opened = UploadChecks::openForUpload(localPath, address, file); !opened)
        return opened;
    const CurlTransfer::Result result = m_transfer->upload(url(address), file, file.size());
    if (!result.ok())
        return Failure{failureOf(result, QStringLiteral("to store %1").arg(address))};
    qCDebug(lcPublish) << "published" << localPath << "as" << address;
    return {};
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
