#include "publish/WebDavPublisher.h"

#include "platform/Logging.h"
#include "sitegen/PublishingLists.h"
#include "sitegen/UploadChecks.h"

#include <QAuthenticator>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslError>

namespace {

constexpr int kTransferTimeoutMs = 30000;
// Reply properties that remember how the server's challenge went.
constexpr char kCredentialsSent[] = "quillmartCredentialsSent";
constexpr char kCredentialsFailed[] = "quillmartCredentialsFailed";

const QByteArray kPropfindBody =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<propfind xmlns=\"DAV:\"><prop><resourcetype/></prop></propfind>\n";

bool hasHttpScheme(const QString& text) {
    return text.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
           text.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

bool isSuccess(int status) {
    return status >= 200 && status < 300;
}

} // namespace

WebDavPublisher::WebDavPublisher(QObject* parent) : Publisher(parent) {
    connect(&m_manager, &QNetworkAccessManager::authenticationRequired, this,
            &WebDavPublisher::supplyCredentials);
}

void WebDavPublisher::vtiDisableErrorDialogs(int /*flag*/) {}

Expected<bool> WebDavPublisher::vtiOpenWebWithPassword(const QString& server, const QString& web,
                                                       const QString& user,
                                                       const QString& password) {
    m_user = user;
    m_password = password;
    m_blocked.clear();
    // Forget credentials and connections of an earlier publish.
    m_manager.clearAccessCache();
    if (Expected<void> usable = useServer(server); !usable)
        return Failure{usable.error()};
    if (Expected<void> usable = useWeb(web); !usable)
        return Failure{usable.error()};
    const Answer answer = propfind(webUrl());
    if (!answer.failure.isEmpty())
        return Failure{failureOf(answer)};
    if (answer.status == 207 || answer.status == 404)
        return answer.status == 207;
    return Failure{refusal(answer, QStringLiteral("to open the web \"%1\"").arg(web))};
}

Expected<void> WebDavPublisher::vtiRemoveWeb(const QString& webPath, const QString& addressList) {
    if (Expected<void> usable = useWeb(webOfPath(webPath)); !usable)
        return usable;
    return removeEach(addressList, [this](const QString& address) { return removeOne(address); });
}

Expected<void> WebDavPublisher::vtiCreateWeb(const QString& serverUrl, const QString& web) {
    if (Expected<void> usable = useServer(typedServer(serverUrl)); !usable)
        return usable;
    if (Expected<void> usable = useWeb(web); !usable)
        return usable;
    if (!m_blocked.isEmpty())
        return Failure{m_blocked};
    const Answer answer = send("MKCOL", webUrl());
    if (!answer.failure.isEmpty())
        return Failure{failureOf(answer)};
    // 405: the collection is there already.
    if (isSuccess(answer.status) || answer.status == 405)
        return {};
    return Failure{refusal(answer, QStringLiteral("to create the web \"%1\"").arg(web))};
}

QList<Expected<void>> WebDavPublisher::vtiPutDocuments(const QString& fileList,
                                                       const QString& addressList) {
    return putEach(fileList, addressList, [this](const QString& file, const QString& address) {
        return putOne(file, address);
    });
}

QUrl WebDavPublisher::serverBaseUrl(const QString& serverText) {
    QString text = serverText.trimmed();
    // A bare host is reached over https: the password never goes in clear
    // unless "http://" was typed.
    if (!hasHttpScheme(text))
        text.prepend(QLatin1String("https://"));
    // Another scheme inside ("ftp://host") is no server this can publish to.
    if (text.indexOf(QLatin1String("://")) != text.lastIndexOf(QLatin1String("://")))
        return QUrl();
    QUrl url(text);
    QString path = url.path(QUrl::FullyDecoded);
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    url.setPath(path, QUrl::DecodedMode);
    url.setScheme(url.scheme().toLower());
    return url;
}

Expected<void> WebDavPublisher::useServer(const QString& serverText) {
    m_base = serverBaseUrl(serverText);
    if (m_base.isValid() && !m_base.host().isEmpty() && !m_base.hasQuery() && !m_base.hasFragment())
        return {};
    m_base = QUrl();
    return Failure{QStringLiteral("\"%1\" is not a server name that can be published to: give "
                                  "it as host, host:port or host/folder, with https:// or "
                                  "http:// in front or without.")
                       .arg(serverText)};
}

Expected<void> WebDavPublisher::useWeb(const QString& web) {
    if (Expected<void> usable = mayUseWeb(!m_base.isEmpty(), QString(), web); !usable)
        return usable;
    m_web = web;
    return {};
}

QUrl WebDavPublisher::webUrl() const {
    return addressUrl(QString());
}

QUrl WebDavPublisher::addressUrl(const QString& address) const {
    QUrl url = m_base;
    url.setPath(m_base.path(QUrl::FullyDecoded) + QLatin1Char('/') + m_web + QLatin1Char('/') +
                    address,
                QUrl::DecodedMode);
    return url;
}

WebDavPublisher::Answer WebDavPublisher::propfind(const QUrl& url) {
    QNetworkRequest propfindRequest = request(url);
    propfindRequest.setRawHeader("Depth", "0");
    propfindRequest.setHeader(QNetworkRequest::ContentTypeHeader,
                              QByteArray("application/xml; charset=utf-8"));
    return wait(m_manager.sendCustomRequest(propfindRequest, "PROPFIND", kPropfindBody));
}

WebDavPublisher::Answer WebDavPublisher::send(const QByteArray& verb, const QUrl& url,
                                              QIODevice* body, const QByteArray& contentType) {
    QNetworkRequest davRequest = request(url);
    if (!contentType.isEmpty())
        davRequest.setHeader(QNetworkRequest::ContentTypeHeader, contentType);
    return wait(m_manager.sendCustomRequest(davRequest, verb, body));
}

QNetworkRequest WebDavPublisher::request(const QUrl& url) {
    QNetworkRequest davRequest(url);
    davRequest.setTransferTimeout(kTransferTimeoutMs);
    // A redirection is reported, not followed: bodies and credentials go
    // only to the server the user named.
    davRequest.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                            QNetworkRequest::ManualRedirectPolicy);
    return davRequest;
}

WebDavPublisher::Answer WebDavPublisher::wait(QNetworkReply* reply) {
    QStringList tlsErrors;
    connect(reply, &QNetworkReply::sslErrors, this, [&tlsErrors](const QList<QSslError>& errors) {
        for (const QSslError& error : errors)
            tlsErrors << error.errorString();
    });
    QEventLoop loop;
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    const Answer answer = interpret(reply, tlsErrors);
    reply->deleteLater();
    return answer;
}

WebDavPublisher::Answer WebDavPublisher::interpret(QNetworkReply* reply,
                                                   const QStringList& tlsErrors) const {
    Answer answer;
    answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    answer.reason = QString::fromUtf8(
        reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toByteArray());
    answer.location = QString::fromUtf8(reply->rawHeader("Location"));
    if (answer.status == 401 || reply->property(kCredentialsFailed).toBool())
        answer.failure = credentialsFailure(reply);
    else if (answer.status == 0)
        answer.failure = networkFailure(reply, tlsErrors);
    answer.serverWide = !answer.failure.isEmpty();
    return answer;
}

// Called again for the same reply when the server turned the credentials
// down: they are not offered a second time, the request is given up. With
// no credentials at all the reply ends with the server's 401.
void WebDavPublisher::supplyCredentials(QNetworkReply* reply, QAuthenticator* authenticator) {
    if (m_user.isEmpty() && m_password.isEmpty()) {
        reply->setProperty(kCredentialsFailed, true);
        return;
    }
    if (reply->property(kCredentialsSent).toBool()) {
        reply->setProperty(kCredentialsFailed, true);
        reply->abort();
        return;
    }
    reply->setProperty(kCredentialsSent, true);
    authenticator->setUser(m_user);
    authenticator->setPassword(m_password);
}

QString WebDavPublisher::credentialsFailure(QNetworkReply* reply) const {
    if (!reply->property(kCredentialsSent).toBool() && m_user.isEmpty() && m_password.isEmpty())
        return QStringLiteral("The server %1 asks for a user name and password, and none are "
                              "set.")
            .arg(serverName());
    return QStringLiteral("The server %1 did not accept the user name and password: wrong user "
                          "name or password.")
        .arg(serverName());
}

QString WebDavPublisher::networkFailure(QNetworkReply* reply, const QStringList& tlsErrors) const {
    QString why;
    switch (reply->error()) {
    case QNetworkReply::ConnectionRefusedError:
        why = QStringLiteral("the connection was refused; is the server running?");
        break;
    case QNetworkReply::HostNotFoundError:
        why = QStringLiteral("no host of that name was found");
        break;
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
        why = QStringLiteral("it did not answer within %1 seconds").arg(kTransferTimeoutMs / 1000);
        break;
    default:
        if (reply->url().scheme() == QLatin1String("https"))
            return secureFailure(reply, tlsErrors);
        why = reply->errorString();
        break;
    }
    return QStringLiteral("The server %1 cannot be reached: %2").arg(serverName(), why);
}

QString WebDavPublisher::secureFailure(QNetworkReply* reply, const QStringList& tlsErrors) const {
    if (!tlsErrors.isEmpty())
        return QStringLiteral("A secure (https) connection to the server %1 failed: its "
                              "certificate is not trusted (%2).")
            .arg(serverName(), tlsErrors.join(QStringLiteral("; ")));
    return QStringLiteral("A secure (https) connection to the server %1 failed: the server does "
                          "not speak https at this address, or not in a way this program "
                          "accepts (%2).")
        .arg(serverName(), reply->errorString());
}

QString WebDavPublisher::refusal(const Answer& answer, const QString& what) const {
    QString text = QStringLiteral("The server %1 refused %2 (HTTP %3 %4).")
                       .arg(serverName(), what, QString::number(answer.status), answer.reason);
    if (!answer.location.isEmpty())
        text += QStringLiteral(" It points to %1 instead.").arg(answer.location);
    return text;
}

Expected<void> WebDavPublisher::removeOne(const QString& address) {
    if (!m_blocked.isEmpty())
        return Failure{m_blocked};
    if (Expected<void> sendable = UploadChecks::checkAddress(address); !sendable)
        return sendable;
    const Answer answer = send("DELETE", addressUrl(address));
    if (!answer.failure.isEmpty())
        return Failure{failureOf(answer)};
    if (isSuccess(answer.status) || answer.status == 404)
        return {};
    return Failure{refusal(answer, QStringLiteral("to remove %1").arg(address))};
}

Expected<void> WebDavPublisher::putOne(const QString& localPath, const QString& address) {
    if (!m_blocked.isEmpty())
        return Failure{m_blocked};
    QFile file;
    if (Expected<void> opened = UploadChecks::openForUpload(localPath, address, file); !opened)
        return opened;
    const Answer answer = send("PUT", addressUrl(address), &file, contentType(address));
    if (!answer.failure.isEmpty())
        return Failure{failureOf(answer)};
    if (isSuccess(answer.status)) {
        qCDebug(lcPublish) << "published" << localPath << "as" << address;
        return {};
    }
    return Failure{refusal(answer, QStringLiteral("to store %1").arg(address))};
}

// A failure that concerns the whole server also stops the requests after it.
QString WebDavPublisher::failureOf(const Answer& answer) {
    if (answer.serverWide)
        m_blocked = answer.failure;
    return answer.failure;
}

QByteArray WebDavPublisher::contentType(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("htm") || suffix == QLatin1String("html"))
        return "text/html";
    if (suffix == QLatin1String("js"))
        return "application/javascript";
    if (suffix == QLatin1String("png"))
        return "image/png";
    return "application/octet-stream";
}

bool WebDavPublisher::isUnencrypted(const QString& serverText) {
    return serverBaseUrl(serverText).scheme() == QLatin1String("http");
}

QString WebDavPublisher::serverName() const {
    const QString host = m_base.host();
    return m_base.port() == -1 ? host : host + QLatin1Char(':') + QString::number(m_base.port());
}
