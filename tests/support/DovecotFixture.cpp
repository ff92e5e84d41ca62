#include "support/DovecotFixture.h"

#include <QDateTime>
#include <QDir>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

QString DovecotFixture::missing() {
    if (LocalServer::program("dovecot").isEmpty())
        return QStringLiteral("dovecot is not installed (Debian packages dovecot-core and "
                              "dovecot-pop3d; scripts/bootstrap.sh installs them): the mailbox "
                              "tests are skipped");
    return {};
}

bool DovecotFixture::start(Tls tls) {
    m_error = missing();
    if (!m_error.isEmpty())
        return false;
    m_error = QStringLiteral("could not prepare the dovecot folder");
    if (!prepare())
        return false;
    const auto configure = [&](quint16) {
        m_tlsPort = tls == Tls::On ? LocalServer::freePort() : 0;
        QFile::remove(path("dovecot.log"));
        return (tls == Tls::Off || (m_tlsPort != 0 && m_tlsPort != port())) &&
               LocalServer::writeFile(path("dovecot.conf"), configuration(tls).toUtf8());
    };
    if (m_server.start(LocalServer::program("dovecot"), {"-F", "-c", path("dovecot.conf")}, "+OK",
                       configure))
        return true;
    m_error = "dovecot did not start: " + m_server.output() + serverLog();
    return false;
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
    if (!LocalServer::writeFile(temporary, text))
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
    const quint16 port = security == MailAccount::Security::Tls ? m_tlsPort : this->port();
    const QString trusted =
        security == MailAccount::Security::Plain
            ? QString()
            : QStringLiteral(QUILLMART_TEST_ROOT "/support/test-server-cert.pem");
    return {QStringLiteral("127.0.0.1"), port, user(), password(), security, trusted};
}

// The folders and the password file. dovecot never reads mail as root:
// under root the mail processes run as "nobody" and must pass through the
// temporary folder and own the mailbox and the home folder.
bool DovecotFixture::prepare() {
    for (const char* folder : {"run", "state", "home", "mail/new", "mail/cur", "mail/tmp"})
        QDir(path({})).mkpath(folder);
    chmod(QFile::encodeName(path({})).constData(), 0711);
    for (const char* folder : {"home", "mail", "mail/new", "mail/cur", "mail/tmp"})
        if (!LocalServer::giveToServerUser(path(folder)))
            return false;
    return LocalServer::writeFile(path("users"),
                                  (user() + ":{PLAIN}" + password() + "\n").toUtf8());
}

QString DovecotFixture::configuration(Tls tls) const {
    return LocalServer::fromTemplate(
        "dovecot.conf", {"DIR",      path({}),
                         "CERTDIR",  QStringLiteral(QUILLMART_TEST_ROOT "/support"),
                         "ME",       QString::fromLocal8Bit(getpwuid(geteuid())->pw_name),
                         "MYGROUP",  QString::fromLocal8Bit(getgrgid(getegid())->gr_name),
                         "MAILUSER", QString::fromLocal8Bit(LocalServer::serverUser()->pw_name),
                         "MAILUID",  QString::number(LocalServer::serverUser()->pw_uid),
                         "MAILGID",  QString::number(LocalServer::serverUser()->pw_gid),
                         "SSL",      tls == Tls::On ? "yes" : "no",
                         "PORT",     QString::number(port()),
                         "TLSPORT",  QString::number(m_tlsPort)});
}
