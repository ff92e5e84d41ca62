#pragma once

#include "sitegen/Publisher.h"

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QString>
#include <QUrl>

class QAuthenticator;
class QIODevice;
class QNetworkReply;
class QNetworkRequest;

// Publishes a site to a WebDAV server over https or http. The server text
// is a bare host[:port][/path] (https) or starts with "https://" or
// "http://"; the web is the collection of that name below it. User name and
// password answer the server's basic or digest challenge. Each call waits
// for its requests in a local event loop; a request that gets no answer
// for 30 seconds is given up.
class WebDavPublisher : public Publisher {
    Q_OBJECT

public:
    explicit WebDavPublisher(QObject* parent = nullptr);

    void vtiDisableErrorDialogs(int flag) override;
    Expected<bool> vtiOpenWebWithPassword(const QString& server, const QString& web,
                                          const QString& user, const QString& password) override;
    Expected<void> vtiRemoveWeb(const QString& webPath, const QString& addressList) override;
    Expected<void> vtiCreateWeb(const QString& serverUrl, const QString& web) override;
    QList<Expected<void>> vtiPutDocuments(const QString& fileList,
                                          const QString& addressList) override;

    // The collection URL a server text as typed stands for (no trailing
    // slash on the path); a text without a scheme means https.
    static QUrl serverBaseUrl(const QString& serverText);
    // True when the typed server text asks for plain http, so whatever is
    // sent, the password included, goes unencrypted.
    static bool isUnencrypted(const QString& serverText);

private:
    // How one request ended.
    struct Answer {
        int status = 0;          // HTTP status; 0 when no answer came
        QString reason;          // the status's reason phrase
        QString location;        // where a redirection points
        QString failure;         // why no answer came or the credentials failed
        bool serverWide = false; // the failure stops every further request
    };

    Expected<void> useServer(const QString& serverText);
    Expected<void> useWeb(const QString& web);
    QUrl webUrl() const;
    QUrl addressUrl(const QString& address) const;

    Answer propfind(const QUrl& url);
    Answer send(const QByteArray& verb, const QUrl& url, QIODevice* body = nullptr,
                const QByteArray& contentType = QByteArray());
    static QNetworkRequest request(const QUrl& url);
    Answer wait(QNetworkReply* reply);
    Answer interpret(QNetworkReply* reply, const QStringList& tlsErrors) const;
    QString credentialsFailure(QNetworkReply* reply) const;
    QString networkFailure(QNetworkReply* reply, const QStringList& tlsErrors) const;
    QString secureFailure(QNetworkReply* reply, const QStringList& tlsErrors) const;
    QString refusal(const Answer& answer, const QString& what) const;
    void supplyCredentials(QNetworkReply* reply, QAuthenticator* authenticator);

    Expected<void> removeOne(const QString& address);
    Expected<void> putOne(const QString& localPath, const QString& address);
    QString failureOf(const Answer& answer);
    static QByteArray contentType(const QString& fileName);

    QString serverName() const;

    QNetworkAccessManager m_manager;
    QUrl m_base;
    QString m_web;
    QString m_user;
    QString m_password;
    // The failure that stops further requests (unreachable, credentials).
    QString m_blocked;
};
