#pragma once

#include <QList>
#include <QString>
#include <memory>

class PopConnection;

// The account a mailbox is read from: "POP Host:", "User Name:",
// "Password:" and how the connection is secured.
struct MailAccount {
    enum class Security { Plain, Tls, StartTls };

    QString host;
    int port = 0; // 0: the protocol's usual port (110, or 995 with TLS)
    QString user;
    QString password;
    Security security = Security::Plain;
    // A PEM file of a certificate to trust besides the system's, for a
    // server with a self-signed certificate; empty: the system's only.
    QString trustedCertificate;

    // "host:port" as messages name the server.
    QString serverName() const;
};

// One message of the mailbox: its number in this session, its unique id on
// the server (UIDL), which stays the same across sessions, and its size as
// the server gives it (LIST).
struct MailboxEntry {
    int number = 0;
    QString uid;
    qint64 size = 0;
};

// A POP3 mailbox read through libcurl: plain, over TLS, or upgraded with
// STLS; certificates are checked. Every call blocks until the server
// answered, so the mailbox is used from a worker thread. One session (one
// connection) lasts from the first call to close(): deletions take effect
// when close() ends the session normally, as POP3 has it. A session that
// ends otherwise carries out no deletion: the mailbox destroyed without
// close(), the connection lost, or a command the server refused (after
// which the connection is dropped). Every later call of such a session
// fails rather than work on a new session whose message numbers may
// differ; after close() the next call starts a new session.
class PopMailbox {
public:
    // Far more than any order mail, and little enough to hold in memory.
    static constexpr qint64 kDefaultSizeLimit = 10 * 1024 * 1024;

    explicit PopMailbox(const MailAccount& account);
    ~PopMailbox();
    PopMailbox(const PopMailbox&) = delete;
    PopMailbox& operator=(const PopMailbox&) = delete;

    // The messages in the mailbox; empty with error() set when the server
    // could not be reached, refused the login or the secure connection
    // failed.
    QList<MailboxEntry> list();
    // The whole message text (header and body, lines ending in CR LF);
    // empty with error() set on failure. A server that sends more than the
    // size limit is cut off, which ends the session (overflowed() is then
    // true).
    QString retrieve(int number);
    // Marks the message for deletion. False with error() set on failure.
    bool remove(int number);
    // Ends the session (QUIT), which carries out the deletions. False with
    // error() set when the server did not confirm: the messages marked for
    // deletion may then still be on the server.
    bool close();

    // Why the last call failed, in words a merchant understands (naming
    // the server); empty after a call that succeeded.
    const QString& error() const { return m_error; }
    // True when the last call failed because the server sent more than the
    // size limit.
    bool overflowed() const;

    // The most a message (or a listing) may hold, in bytes.
    qint64 sizeLimit() const { return m_sizeLimit; }
    void setSizeLimit(qint64 bytes) { m_sizeLimit = bytes; }
    // A size as messages give it: "10.0 MB".
    static QString sizeText(qint64 bytes);

private:
    PopConnection* connection();
    bool perform(const char* command, int number, bool withBody);
    QString url(int number) const;
    QString failureText(int code) const;
    QString refusedLoginText() const;
    void endSession();

    std::unique_ptr<PopConnection> m_connection;
    MailAccount m_account;
    QString m_error;
    qint64 m_sizeLimit = kDefaultSizeLimit;
};
