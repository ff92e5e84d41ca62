#pragma once

#include <QByteArray>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <memory>

class BodyText;
class QNetworkAccessManager;

// Fetches one URL (http, https or file) at a time in the background and
// hands its body over as text. Only the first `chunkSize` characters are
// wanted: once they have arrived the transfer is aborted. The end of a
// request is reported by `stateChanged`: `ResponseCompleted` when a response
// arrived (an HTTP error page counts: its body is the text), `RequestFailed`
// when none did (connection refused, host not found, the server closing the
// connection, the time-out).
//
// The body is decoded by the charset of the Content-Type header, else by a
// META charset near the start of the body, else by a byte-order mark, else
// as Windows-1252.
class Downloader : public QObject {
    Q_OBJECT

public:
    enum State { RequestFailed = 11, ResponseCompleted = 12 };
    static constexpr int DefaultTimeoutMs = 30000;

    // With its own network access manager, or with one shared by many.
    explicit Downloader(QObject* parent = nullptr);
    explicit Downloader(QNetworkAccessManager& network, QObject* parent = nullptr);
    ~Downloader() override;

    // Starts a GET of `url`; a request still running is cancelled first.
    // The second form also sets the chunk size.
    void execute(const QString& url);
    void execute(const QString& url, int chunkSize);
    // Ends the pending request, if any; no signal follows.
    void cancel();
    bool stillExecuting() const { return m_reply != nullptr; }
    // The URL of the last request, as it was given.
    const QString& url() const { return m_url; }

    // How many characters of the body are wanted; 0 means all of it.
    int chunkSize() const { return m_chunkSize; }
    void setChunkSize(int characters) { m_chunkSize = characters; }
    // How long a request may take in all before it fails; 0 means no limit.
    int timeout() const { return m_timeoutMs; }
    void setTimeout(int milliseconds) { m_timeoutMs = milliseconds; }

    // The text of the completed response. It is handed over once: a second
    // call returns an empty string.
    QString getChunk();
    // The HTTP status of the completed response; 0 for a file, or when no
    // response arrived.
    int status() const { return m_status; }

    // Every request names the program and its version, unless told
    // otherwise.
    static QString standardUserAgent();
    const QString& userAgent() const { return m_userAgent; }
    void setUserAgent(const QString& userAgent) { m_userAgent = userAgent; }

Q_SIGNALS:
    void stateChanged(int state);

private:
    void receive();
    void finish();
    void timeOut();
    BodyText& receivedBody();
    bool chunkFull() const;
    void stopTransfer();
    void complete(State state);

    QNetworkAccessManager* m_network;
    QPointer<QNetworkReply> m_reply;
    QTimer m_deadline;
    QString m_url;
    int m_chunkSize = 0;
    int m_timeoutMs = DefaultTimeoutMs;
    int m_status = 0;
    QString m_userAgent = standardUserAgent();
    std::unique_ptr<BodyText> m_body; // what has arrived of the response under way
    QString m_chunk;                  // the completed response's text, until it is read
};
