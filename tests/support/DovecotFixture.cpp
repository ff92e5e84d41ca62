#include "support/DovecotFixture.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <csignal>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kStartAttempts = 3;
constexpr int kGreetingWaitMs = 15000;

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

quint16 freePort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

QString program(const QString& name) {
    QString found = QStandardPaths::findExecutable(name);
    if (found.isEmpty())
        found = QStandardPaths::findExecutable(
            name, {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin")});
    return found;
}

// dovecot never reads mail as root; a root test run lets it read the
// mailbox as "nobody".
struct MailOwner {
    uid_t uid = 0;
    gid_t gid = 0;
};

MailOwner mailOwnerForRoot() {
    const passwd* nobody = getpwnam("nobody");
    return nobody ? MailOwner{nobody->pw_uid, nobody->pw_gid} : MailOwner{65534, 65534};
}

bool runningAsRoot() {
    return geteuid() == 0;
}

} // namespace

QString DovecotFixture::missing() {
    if (program(QStringLiteral("dovecot")).isEmpty() ||
        program(QStringLiteral("openssl")).isEmpty())
        return QStringLiteral("dovecot is not installed (Debian packages dovecot-core, "
                              "dovecot-pop3d and openssl; scripts/bootstrap.sh installs them): "
                              "the mailbox tests are skipped");
    return {};
}

DovecotFixture::DovecotFixture() = default;

DovecotFixture::~DovecotFixture() {
    stop();
}

bool DovecotFixture::start(Tls tls) {
    if (program(QStringLiteral("dovecot")).isEmpty()) {
        m_error = QStringLiteral("dovecot is not installed; run scripts/bootstrap.sh");
        return false;
    }
    if (!prepareFolders() || (tls == Tls::On && !makeCertificate()))
        return false;
    // Another program may take a free port between the look and the start.
    const bool restart = m_port != 0;
    for (int attempt = 0; attempt < kStartAttempts; ++attempt) {
        if (startOnce(tls, restart && attempt == 0))
            return true;
    }
    return false;
}

void DovecotFixture::stop() {
    if (m_process.state() == QProcess::NotRunning)
        return;
    // The mail processes outlive dovecot's master process and would keep
    // their connections open; the whole process group ends together.
    const pid_t group = pid_t(m_process.processId());
    ::kill(-group, SIGTERM);
    if (!m_process.waitForFinished(10000))
        ::kill(-group, SIGKILL);
    m_process.waitForFinished(5000);
    // A login process that still holds the listening socket would keep a
    // restarted server off its port.
    QElapsedTimer waited;
    waited.start();
    while (::kill(-group, 0) == 0 && waited.elapsed() < 5000)
        QThread::msleep(20);
    ::kill(-group, SIGKILL);
}

bool DovecotFixture::addMessage(const QByteArray& text) {
    // Written under tmp and moved into new, so the server never sees half a
    // message. The names sort in the order of adding, which is the order
    // the server numbers new messages in.
    static const qint64 startSeconds = QDateTime::currentSecsSinceEpoch();
    const QString name = QStringLiteral("%1.M%2P%3.quillmart")
                             .arg(startSeconds)
                             .arg(++m_added, 8, 10, QLatin1Char('0'))
                             .arg(getpid());
    const QString temporary = path(QStringLiteral("mail/tmp/") + name);
    if (!writeFile(temporary, text))
        return false;
    QFile::setPermissions(temporary, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                         QFile::ReadOther);
    return QFile::rename(temporary, path(QStringLiteral("mail/new/") + name));
}

int DovecotFixture::messageCount() const {
    int count = 0;
    for (const char* folder : {"mail/new", "mail/cur"})
        count += int(QDir(path(QString::fromLatin1(folder))).entryList(QDir::Files).size());
    return count;
}

QString DovecotFixture::certificatePath() const {
    return path(QStringLiteral("cert.pem"));
}

MailAccount DovecotFixture::account(MailAccount::Security security) const {
    MailAccount account;
    account.host = QStringLiteral("127.0.0.1");
    account.port = security == MailAccount::Security::Tls ? m_tlsPort : m_port;
    account.user = user();
    account.password = password();
    account.security = security;
    if (security != MailAccount::Security::Plain)
        account.trustedCertificate = certificatePath();
    return account;
}

bool DovecotFixture::prepareFolders() {
    const QDir root(m_dir.path());
    for (const char* folder : {"run", "state", "home", "mail/new", "mail/cur", "mail/tmp"})
        root.mkpath(QString::fromLatin1(folder));
    const QByteArray users = user().toUtf8() + ":{PLAIN}" + password().toUtf8() + "\n";
    if (!m_dir.isValid() || !writeFile(path(QStringLiteral("users")), users)) {
        m_error = QStringLiteral("could not prepare the dovecot folder");
        return false;
    }
    if (!runningAsRoot())
        return true;
    // The mail processes run as "nobody": they must pass through the
    // temporary folder and own the mailbox and the home folder.
    chmod(QFile::encodeName(m_dir.path()).constData(), 0711);
    const MailOwner owner = mailOwnerForRoot();
    for (const char* folder : {"home", "mail", "mail/new", "mail/cur", "mail/tmp"}) {
        if (chown(QFile::encodeName(path(QString::fromLatin1(folder))).constData(), owner.uid,
                  owner.gid) != 0) {
            m_error = QStringLiteral("could not hand the mailbox to the mail user");
            return false;
        }
    }
    return true;
}

bool DovecotFixture::makeCertificate() {
    if (QFile::exists(certificatePath()))
        return true;
    QProcess openssl;
    openssl.setProcessChannelMode(QProcess::MergedChannels);
    openssl.start(program(QStringLiteral("openssl")),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                   QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                   QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
                   QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"),
                   QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-addext"),
                   QStringLiteral("subjectAltName=IP:127.0.0.1,DNS:localhost"),
                   QStringLiteral("-keyout"), path(QStringLiteral("key.pem")),
                   QStringLiteral("-out"), certificatePath()});
    if (openssl.waitForFinished(30000) && openssl.exitCode() == 0 &&
        QFile::exists(certificatePath()))
        return true;
    m_error = QStringLiteral("openssl could not make the test certificate: ") +
              QString::fromLocal8Bit(openssl.readAll()) + openssl.errorString();
    return false;
}

bool DovecotFixture::startOnce(Tls tls, bool samePorts) {
    stop();
    if (!samePorts || (tls == Tls::On) != (m_tlsPort != 0)) {
        m_port = freePort();
        m_tlsPort = tls == Tls::On ? freePort() : 0;
    }
    if (m_port == 0 || (tls == Tls::On && (m_tlsPort == 0 || m_tlsPort == m_port)) ||
        !writeFile(path(QStringLiteral("dovecot.conf")), configuration(tls).toUtf8())) {
        m_error = QStringLiteral("could not prepare the dovecot configuration");
        return false;
    }
    QFile::remove(path(QStringLiteral("dovecot.log")));
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.setChildProcessModifier([] { ::setpgid(0, 0); });
    m_process.start(program(QStringLiteral("dovecot")), {QStringLiteral("-F"), QStringLiteral("-c"),
                                                         path(QStringLiteral("dovecot.conf"))});
    if (m_process.waitForStarted(5000) && waitUntilGreeting())
        return true;
    m_error = QStringLiteral("dovecot did not start: ") +
              QString::fromLocal8Bit(m_process.readAll()) + serverLog();
    stop();
    return false;
}

QString DovecotFixture::configuration(Tls tls) const {
    const bool asUser = !runningAsRoot();
    QString text = QStringLiteral("base_dir = %1/run\n"
                                  "state_dir = %1/state\n"
                                  "log_path = %1/dovecot.log\n"
                                  "protocols = pop3\n"
                                  "listen = 127.0.0.1\n"
                                  "disable_plaintext_auth = no\n"
                                  "auth_mechanisms = plain login\n"
                                  // Refused logins are answered at once, so
                                  // the tests do not wait.
                                  "auth_failure_delay = 0\n"
                                  "passdb {\n"
                                  "  driver = passwd-file\n"
                                  "  args = scheme=PLAIN %1/users\n"
                                  "}\n"
                                  "userdb {\n"
                                  "  driver = static\n"
                                  "  args = home=%1/home\n"
                                  "}\n"
                                  "mail_location = maildir:%1/mail\n")
                       .arg(m_dir.path());
    text += accessSettings() + tlsSettings(tls);
    const QString noChroot = asUser ? QStringLiteral("  chroot =\n") : QString();
    text += QStringLiteral("service anvil {\n"
                           "%1"
                           "  unix_listener anvil-auth-penalty {\n"
                           "    mode = 0\n"
                           "  }\n"
                           "}\n"
                           "service pop3-login {\n"
                           "%1"
                           "  inet_listener pop3 {\n"
                           "    port = %2\n"
                           "  }\n"
                           "  inet_listener pop3s {\n"
                           "    port = %3\n"
                           "    ssl = yes\n"
                           "  }\n"
                           "}\n")
                .arg(noChroot, QString::number(m_port), QString::number(m_tlsPort));
    return text;
}

// Which accounts dovecot's own processes and the mail processes use.
QString DovecotFixture::accessSettings() const {
    if (runningAsRoot()) {
        const MailOwner owner = mailOwnerForRoot();
        return QStringLiteral("default_internal_user = root\n"
                              "default_internal_group = root\n"
                              "mail_uid = %1\n"
                              "mail_gid = %2\n"
                              "first_valid_uid = 1\n"
                              "first_valid_gid = 1\n")
            .arg(owner.uid)
            .arg(owner.gid);
    }
    // Without root everything runs as the current user, without chroot.
    const passwd* me = getpwuid(geteuid());
    const group* myGroup = getgrgid(getegid());
    return QStringLiteral("default_internal_user = %1\n"
                          "default_internal_group = %2\n"
                          "default_login_user = %1\n"
                          "first_valid_uid = 1\n"
                          "first_valid_gid = 1\n")
        .arg(QString::fromLocal8Bit(me ? me->pw_name : ""),
             QString::fromLocal8Bit(myGroup ? myGroup->gr_name : ""));
}

QString DovecotFixture::tlsSettings(Tls tls) const {
    if (tls == Tls::Off)
        return QStringLiteral("ssl = no\n");
    return QStringLiteral("ssl = yes\n"
                          "ssl_cert = <%1\n"
                          "ssl_key = <%2\n")
        .arg(certificatePath(), path(QStringLiteral("key.pem")));
}

bool DovecotFixture::waitUntilGreeting() {
    for (int waited = 0; waited < kGreetingWaitMs; waited += 100) {
        QTcpSocket socket;
        socket.connectToHost(QStringLiteral("127.0.0.1"), m_port);
        if (socket.waitForConnected(200) && socket.waitForReadyRead(2000) &&
            socket.readLine().startsWith("+OK"))
            return true;
        // Doubles as the pause between two tries; true means dovecot ended.
        if (m_process.waitForFinished(100))
            return false;
    }
    return false;
}

QString DovecotFixture::serverLog() const {
    QFile file(path(QStringLiteral("dovecot.log")));
    return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
}

QString DovecotFixture::path(const QString& name) const {
    return m_dir.filePath(name);
}
