#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <curl/curl.h>

class QIODevice;

// One libcurl handle for a publishing session: requests made one after the
// other reuse its connection (one login, one SSH or TLS handshake). While a
// request runs, the caller's events are processed now and then without user
// input, so a window keeps painting even during a long upload; time limits
// see that nothing waits for ever.
class CurlTransfer {
public:
    // How one request ended: libcurl's code and its own explanation.
    struct Result {
        CURLcode code = CURLE_OK;
        QString detail;
        bool ok() const { return code == CURLE_OK; }
    };

    CurlTransfer();
    ~CurlTransfer();
    CurlTransfer(const CurlTransfer&) = delete;
    CurlTransfer& operator=(const CurlTransfer&) = delete;

    // The handle, for the options of the protocol (credentials, TLS, SSH).
    // They stay set from one request to the next.
    CURL* handle() const { return m_easy; }

    // Runs the commands (libcurl "quote" commands) on the connection to the
    // URL, with no transfer.
    Result command(const QString& url, const QStringList& commands);
    // The names in the folder the URL (ending in "/") stands for.
    Result listNames(const QString& url, QStringList* names);
    // Sends the device's bytes to the URL.
    Result upload(const QString& url, QIODevice& source, qint64 size);

private:
    void prepare(const QString& url);
    Result perform();
    static size_t collect(char* data, size_t size, size_t count, void* target);
    static size_t supply(char* buffer, size_t size, size_t count, void* source);
    static int processEvents(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t);

    CURL* m_easy = nullptr;
    QElapsedTimer m_sinceEvents;
    curl_slist* m_commands = nullptr;
    QByteArray m_received;
    char m_error[CURL_ERROR_SIZE] = {};
};
