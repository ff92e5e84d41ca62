#include "support/DovecotFixture.h"

#include "support/LocalServer.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QThread>
#include <csignal>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// dovecot never reads mail as root: a root test run lets "nobody" own the
// mailbox and read it.
bool asRoot() {
    return geteuid() == 0;
}

QPair<uint, uint> mailOwner() {
    const passwd* nobody = getpwnam("nobody");
    return nobody ? qMakePair(uint(nobody->pw_uid), uint(nobody->pw_gid))
                  : qMakePair(65534u, 65534u);
}

} // namespace

QString DovecotFixture::missing() {
    if (LocalServer::program("dovecot").isEmpty() || LocalServer::program("openssl").isEmpty())
        return QStringLiteral("dovecot is not installed (Debian packages dovecot-core, "
                              "dovecot-pop3d and openssl; scripts/bootstrap.sh installs them): "
                              "the mailbox tests are skipped");
    return {};
}

bool DovecotFixture::start(Tls tls) {
    m_error = missing();
    if (!m_error.isEmpty() || !prepare(tls))
        return false;
    // Another program may take a free port between the look and the start.
    const bool restart = m_port != 0;
    for (int attempt = 0; attempt < 3; ++attempt)
        if (startOnce(tls, restart && attempt == 0))
            return true;
    return false;
}

void DovecotFixture::stop() {
    if (m_process.state() == QProcess::NotRunning)
        return;
    // The mail processes outlive dovecot's master process and would keep
    // their connections, or a restarted server's port: the whole process
    // group ends together.
    const pid_t group = pid_t(m_process.processId());
    ::kill(-group, SIGTERM);
    if (!m_process.waitForFinished(10000))
        ::kill(-group, SIGKILL);
    m_process.waitForFinished(5000);
    QElapsedTimer waited;
    waited.start();
    while (::kill(-group, 0) == 0 && waited.elapsed() < 5000)
        QThread::msleep(20);
    ::kill(-group, SIGKILL);
}

// Written under tmp and moved into new, so the server never sees half a
// message. The names sort in the order of adding, which is the order the
// server numbers new messages in.
bool DovecotFixture::addMessage(const QByteArray& text) {
    static const qint64 startSeconds = QDateTime::currentSecsSinceEpoch();
    const QString name = QStringLiteral("%1.M%2P%3.quillmart")
                             .arg(startSeconds)
                             .arg(++m_added, 8, 10, QLatin1Char('0'))
                             .arg(getpid());
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
    const quint16 port = security == MailAccount::Security::Tls ? m_tlsPort : m_port;
    const QString trusted = security == MailAccount::Security::Plain ? QString() : path("cert.pem");
    return {QStringLiteral("127.0.0.1"), port, user(), password(), security, trusted};
}

// The folders, the password file and, with TLS, a certificate for
// 127.0.0.1 made once per fixture.
bool DovecotFixture::prepare(Tls tls) {
    for (const char* folder : {"run", "state", "home", "mail/new", "mail/cur", "mail/tmp"})
        QDir(m_dir.path()).mkpath(folder);
    m_error = QStringLiteral("could not prepare the dovecot folder");
    if (!LocalServer::writeFile(path("users"), (user() + ":{PLAIN}" + password() + "\n").toUtf8()))
        return false;
    // The mail processes run as "nobody" under root: they must pass through
    // the temporary folder and own the mailbox and the home folder.
    if (asRoot()) {
        chmod(QFile::encodeName(m_dir.path()).constData(), 0711);
        for (const char* folder : {"home", "mail", "mail/new", "mail/cur", "mail/tmp"})
            if (chown(QFile::encodeName(path(folder)).constData(), mailOwner().first,
                      mailOwner().second) != 0)
                return false;
    }
    if (tls == Tls::Off || QFile::exists(path("cert.pem")))
        return true;
    QProcess openssl;
    openssl.setProcessChannelMode(QProcess::MergedChannels);
    openssl.start(LocalServer::program("openssl"),
                  {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                   "-nodes", "-days", "2", "-subj", "/CN=127.0.0.1", "-addext",
                   "subjectAltName=IP:127.0.0.1,DNS:localhost", "-keyout", path("key.pem"), "-out",
                   path("cert.pem")});
    if (openssl.waitForFinished(30000) && openssl.exitCode() == 0)
        return true;
    m_error = "openssl could not make the test certificate: " +
              QString::fromLocal8Bit(openssl.readAll()) + openssl.errorString();
    return false;
}

bool DovecotFixture::startOnce(Tls tls, bool samePorts) {
    stop();
    if (!samePorts || (tls == Tls::On) != (m_tlsPort != 0)) {
        m_port = LocalServer::freePort();
        m_tlsPort = tls == Tls::On ? LocalServer::freePort() : 0;
    }
    m_error = QStringLiteral("could not prepare the dovecot configuration");
    if (m_port == 0 || (tls == Tls::On && (m_tlsPort == 0 || m_tlsPort == m_port)) ||
        !LocalServer::writeFile(path("dovecot.conf"), configuration(tls).toUtf8()))
        return false;
    QFile::remove(path("dovecot.log"));
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.setChildProcessModifier([] { ::setpgid(0, 0); });
    m_process.start(LocalServer::program("dovecot"), {"-F", "-c", path("dovecot.conf")});
    if (m_process.waitForStarted(5000) && LocalServer::waitUntilAnswering(m_process, m_port, "+OK"))
        return true;
    m_error = "dovecot did not start: " + QString::fromLocal8Bit(m_process.readAll()) + serverLog();
    stop();
    return false;
}

// The system's configuration is never read. Refused logins are answered at
// once (auth_failure_delay), so the tests do not wait. Under root dovecot's
// own processes run as root and the mail ones as "nobody"; otherwise all
// run as the current user, without chroot.
QString DovecotFixture::configuration(Tls tls) const {
    const passwd* me = getpwuid(geteuid());
    const group* myGroup = getgrgid(getegid());
    const QString access =
        asRoot() ? QStringLiteral("default_internal_user = root\ndefault_internal_group = root\n"
                                  "mail_uid = %1\nmail_gid = %2\n")
                       .arg(mailOwner().first)
                       .arg(mailOwner().second)
                 : QStringLiteral("default_internal_user = %1\ndefault_internal_group = %2\n"
                                  "default_login_user = %1\n")
                       .arg(QString::fromLocal8Bit(me ? me->pw_name : ""),
                            QString::fromLocal8Bit(myGroup ? myGroup->gr_name : ""));
    const QString ssl = tls == Tls::Off
                            ? QStringLiteral("ssl = no\n")
                            : QStringLiteral("ssl = yes\nssl_cert = <%1\nssl_key = <%2\n")
                                  .arg(path("cert.pem"), path("key.pem"));
    const QString noChroot = asRoot() ? QString() : QStringLiteral("  chroot =\n");
    return QStringLiteral(
               "base_dir = %1/run\nstate_dir = %1/state\nlog_path = %1/dovecot.log\n"
               "protocols = pop3\nlisten = 127.0.0.1\ndisable_plaintext_auth = no\n"
               "auth_mechanisms = plain login\nauth_failure_delay = 0\n"
               "passdb {\n  driver = passwd-file\n  args = scheme=PLAIN %1/users\n}\n"
               "userdb {\n  driver = static\n  args = home=%1/home\n}\n"
               "mail_location = maildir:%1/mail\nfirst_valid_uid = 1\nfirst_valid_gid = 1\n")
               .arg(m_dir.path()) +
           access + ssl +
           QStringLiteral("service anvil {\n%1  unix_listener anvil-auth-penalty {\n    mode = 0\n"
                          "  }\n}\nservice pop3-login {\n%1  inet_listener pop3 {\n    port = %2\n"
                          "  }\n  inet_listener pop3s {\n    port = %3\n    ssl = yes\n  }\n}\n")
               .arg(noChroot, QString::number(m_port), QString::number(m_tlsPort));
}
