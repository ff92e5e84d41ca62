#pragma once

#include "orders/PopMailbox.h"
#include "support/LocalServer.h"

#include <QByteArray>
#include <QString>

// A POP3 server for tests: dovecot started as a child process on 127.0.0.1
// with its configuration, state, log and one user's maildir in a temporary
// folder (tests/support/dovecot.conf is its template). The system's dovecot
// configuration is never read. Works as root (mail is then read as
// "nobody") and as a normal user. Stopped when the fixture goes.
class DovecotFixture : public LocalServer {
public:
    enum class Tls { Off, On };

    // Why the server cannot run here (dovecot not installed);
    // empty when it can.
    static QString missing();

    // Starts the server and waits until it greets. With Tls::On the plain
    // port offers STLS and a second port speaks POP3 over TLS, both with
    // the test certificate for 127.0.0.1 kept in tests/support (valid for a
    // hundred years). Started again after stop(), it serves the same
    // mailbox. False when it could not start (error() says why).
    bool start(Tls tls = Tls::Off);

    // Puts a message into the mailbox as a mail delivery would: the text
    // as it is, usually with LF line ends, which the server sends as CR LF.
    // Messages keep the order in which they were added.
    bool addMessage(const QByteArray& text);
    // The messages now in the mailbox, as files on disk.
    int messageCount() const;

    QString user() const { return QStringLiteral("orders"); }
    QString password() const { return QStringLiteral("s3cret pass"); }
    // The account of the test mailbox, its certificate trusted with Tls and
    // StartTls.
    MailAccount account(MailAccount::Security security = MailAccount::Security::Plain) const;

private:
    bool prepare();

    int m_added = 0;
};
