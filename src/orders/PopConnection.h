#pragma once

#include "orders/PopMailbox.h"
#include "platform/Expected.h"

#include <QByteArray>
#include <QString>
#include <curl/curl.h>

// One libcurl handle, and so one POP3 connection, for a whole mailbox
// session: every command of the session goes over the connection the first
// one opened. Once a command has worked, the connection is never replaced
// behind the session's back (the new session would number the messages
// afresh), and it is never let go with QUIT except by an explicit QUIT
// command, so deletions happen only when the caller ends the session.
class PopConnection {
public:
    PopConnection();
    ~PopConnection();
    PopConnection(const PopConnection&) = delete;
    PopConnection& operator=(const PopConnection&) = delete;

    // Credentials, security, trusted certificate and time limits.
    Expected<void> configure(const MailAccount& account);
    // Sends one command to the mailbox at url: RETR of the message in the
    // url when command is null, else the command (with the message number
    // of the url, if any). A command without body gets one status line.
    CURLcode perform(const QString& url, const char* command, bool withBody);
    // Ends the connection without QUIT: the server carries out no deletion.
    void cutConnection();
    // The most a command may bring (0: no limit). A server that sends more
    // is cut off there: the command fails and overflowed() says why.
    void setBodyLimit(qint64 bytes) { m_bodyLimit = bytes; }

    // What the last command brought: the message or listing, lines ending
    // in CR LF, the dot-stuffing undone.
    const QByteArray& body() const { return m_body; }
    // The server's refusal of the last command, without its "-ERR" mark.
    QString refusal() const;
    // libcurl's own words on the last failure.
    QString detail() const { return QString::fromUtf8(m_curlError); }
    // True when the last command failed because the session's connection
    // was gone and a new one would have been needed.
    bool lost() const { return m_reconnectRefused; }
    // True once a command of the session has worked.
    bool established() const { return m_established; }
    // True when the last command brought more than the body limit.
    bool overflowed() const { return m_overflowed; }

private:
    static curl_socket_t openSocket(void* connection, curlsocktype, curl_sockaddr* address);
    static int closeSocket(void* connection, curl_socket_t socket);
    static size_t noteStatusLine(char* data, size_t size, size_t count, void* connection);
    static size_t appendBody(char* data, size_t size, size_t count, void* connection);
    void setTimeLimits();

    CURL* m_curl = nullptr;
    curl_socket_t m_socket = CURL_SOCKET_BAD;
    QByteArray m_body;
    QByteArray m_refusal;
    char m_curlError[CURL_ERROR_SIZE] = {};
    qint64 m_bodyLimit = 0;
    bool m_overflowed = false;
    bool m_established = false;
    bool m_reconnectRefused = false;
};
