#include "support/DovecotFixture.h"

#include <QDateTime>
#include <QDir>

QString DovecotFixture::missing() {
    return notInstalled({"dovecot"}, "packages dovecot-core and dovecot-pop3d", "mailbox");
}

bool DovecotFixture::start(Tls tls) {
    if (!setError(missing()))
        return false;
    if (!prepare())
        return setError("could not prepare the dovecot folder");
    setLog("dovecot.log");
    return LocalServer::start(
        program("dovecot"), {"-F", "-c", path("dovecot.conf")}, "+OK", "dovecot.conf",
        {"SSL", tls == Tls::On ? "yes" : "no", "TLSPORT", tls == Tls::On ? "@PORT2@" : "0"});
}

// Written under tmp and moved into new, so the server never sees half a
// message. The names sort in the order of adding, which is the order the
// server numbers new messages in.
bool DovecotFixture::addMessage(const QByteArray& text) {
    static const qint64 startSeconds = QDateTime::currentSecsSinceEpoch();
    const QString name = QStringLiteral("%1.M%2.quillmart")
                             .arg(startSeconds)
                             .arg(++m_added, 8, 10, QLatin1Char('0'));
    const QString temporary = path("mail/tmp/" + name);
    if (!writeFile(temporary, text))
        return false;
    QFile::setPermissions(temporary, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                         QFile::ReadOther);
    return QFile::rename(temporary, path("mail/new/" + name));
}

int DovecotFixture::messageCount() const {
    return int(QDir(path("mail/new")).entryList(QDir::Files).size() +
               QDir(path("mail/cur")).entryList(QDir::Files).size());
}

MailAccount DovecotFixture::account(MailAccount::Security security) const {
    const quint16 server = security == MailAccount::Security::Tls ? secondPort() : port();
    const QString trusted =
        security == MailAccount::Security::Plain
            ? QString()
            : QStringLiteral(QUILLMART_TEST_ROOT "/support/test-server-cert.pem");
    return {QStringLiteral("127.0.0.1"), server, user(), password(), security, trusted};
}

// The folders and the password file. dovecot never reads mail as root:
// under root the mail processes run as "nobody" and own the mailbox and the
// home folder.
bool DovecotFixture::prepare() {
    for (const char* folder : {"run", "state", "home", "mail/new", "mail/cur", "mail/tmp"})
        QDir(path()).mkpath(folder);
    for (const char* folder : {"home", "mail", "mail/new", "mail/cur", "mail/tmp"})
        if (!giveToServerUser(path(folder)))
            return false;
    return writeFile(path("users"), (user() + ":{PLAIN}" + password() + "\n").toUtf8());
}
