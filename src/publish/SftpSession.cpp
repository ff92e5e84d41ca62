#include "publish/SftpSession.h"

#include "publish/SshHostKeys.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QIODevice>
#include <QRegularExpression>
#include <QThread>
#include <QTimer>
#include <fcntl.h>
#include <sys/socket.h>

namespace {

// A server that takes no connection, or stops answering in the middle of a
// request (TransferAccess::stallLimitMs), ends the publish instead of
// hanging it.
constexpr long kConnectTimeoutSeconds = 20;
constexpr int kWatchEveryMs = 1000;
// How much of a file one write request carries.
constexpr qint64 kChunkBytes = 32 * 1024;

QByteArray pathBytes(const QString& path) {
    return path.toUtf8();
}

} // namespace

SftpSession::SftpSession(const TransferAccess& access, const QString& host, int port)
    : m_access(access), m_host(host), m_port(port) {
    m_clock.start();
}

SftpSession::~SftpSession() {
    if (m_sftp)
        sftp_free(m_sftp);
    if (m_ssh) {
        ssh_disconnect(m_ssh);
        ssh_free(m_ssh);
    }
}

Expected<void> SftpSession::open(const QString& user, const QString& password) {
    if (Expected<void> connected = connect(user); !connected)
        return connected;
    if (Expected<void> trusted = SshHostKeys(m_access, m_host, m_port).check(m_ssh); !trusted)
        return trusted;
    if (Expected<void> loggedIn = logIn(user, password); !loggedIn)
        return loggedIn;
    return openChannel();
}

// The user's own ssh configuration is not read: the server text says where
// to go, and the files of TransferAccess say whom to trust and which keys
// to offer.
Expected<void> SftpSession::connect(const QString& user) {
    m_ssh = ssh_new();
    const QByteArray host = m_host.toUtf8(), login = user.toUtf8();
    const QByteArray knownHosts = QFile::encodeName(m_access.knownHostsPath());
    const QByteArray sshFolder = QFile::encodeName(m_access.sshFolderPath());
    const long timeout = kConnectTimeoutSeconds;
    const bool readConfig = false;
    ssh_options_set(m_ssh, SSH_OPTIONS_HOST, host.constData());
    ssh_options_set(m_ssh, SSH_OPTIONS_PORT, &m_port);
    if (!login.isEmpty())
        ssh_options_set(m_ssh, SSH_OPTIONS_USER, login.constData());
    ssh_options_set(m_ssh, SSH_OPTIONS_SSH_DIR, sshFolder.constData());
    ssh_options_set(m_ssh, SSH_OPTIONS_KNOWNHOSTS, knownHosts.constData());
    ssh_options_set(m_ssh, SSH_OPTIONS_TIMEOUT, &timeout);
    ssh_options_set(m_ssh, SSH_OPTIONS_PROCESS_CONFIG, &readConfig);
    int rc = SSH_ERROR;
    runBlocking([this, &rc] { rc = ssh_connect(m_ssh); });
    if (rc == SSH_OK) {
        m_socket = ssh_get_fd(m_ssh);
        return {};
    }
    if (m_cutOff || ssh_get_error_code(m_ssh) == SSH_NO_ERROR)
        return Expected<void>::failure(
            QStringLiteral("The server %1 cannot be reached: it did not answer in time.")
                .arg(serverName()));
    return Expected<void>::failure(QStringLiteral("The server %1 cannot be reached: %2")
                                       .arg(serverName(), QString::fromUtf8(ssh_get_error(m_ssh))));
}

// The agent's keys and the key files first, as OpenSSH tries them, then the
// password (also when the server asks for it as a keyboard question).
Expected<void> SftpSession::logIn(const QString& user, const QString& password) {
    int rc = SSH_AUTH_DENIED;
    QString keyProblem;
    runBlocking([this, &rc, &keyProblem] {
        rc = ssh_userauth_publickey_auto(m_ssh, nullptr, nullptr);
        if (rc != SSH_AUTH_SUCCESS)
            keyProblem = QString::fromUtf8(ssh_get_error(m_ssh));
    });
    if (rc != SSH_AUTH_SUCCESS && rc != SSH_AUTH_ERROR && !password.isEmpty())
        runBlocking([this, &rc, &password] { rc = passwordLogIn(password); });
    if (rc == SSH_AUTH_SUCCESS)
        return {};
    if (rc == SSH_AUTH_ERROR)
        return Expected<void>::failure(lostConnection());
    if (keyProblem.contains(QLatin1String("PUBLICKEY_ACCEPTED_TYPES")))
        return Expected<void>::failure(
            QStringLiteral("The server %1 did not accept the login of \"%2\": it takes the "
                           "key's signatures only in an old form (SHA-1) that is not safe and "
                           "not used here (%3). Use an ed25519 key, or have the server accept "
                           "rsa-sha2-256 or rsa-sha2-512.")
                .arg(serverName(), user, keyProblem));
    return Expected<void>::failure(
        QStringLiteral("The server %1 did not accept the login of \"%2\": "
                       "wrong user name, password or key.")
            .arg(serverName(), user));
}

int SftpSession::passwordLogIn(const QString& password) {
    const QByteArray secret = password.toUtf8();
    int rc = ssh_userauth_password(m_ssh, nullptr, secret.constData());
    if (rc != SSH_AUTH_DENIED || !(ssh_userauth_list(m_ssh, nullptr) & SSH_AUTH_METHOD_INTERACTIVE))
        return rc;
    rc = ssh_userauth_kbdint(m_ssh, nullptr, nullptr);
    // One round of one hidden question is the password; anything else is
    // a dialogue this program cannot hold.
    for (int round = 0; rc == SSH_AUTH_INFO && round < 2; ++round) {
        const int questions = ssh_userauth_kbdint_getnprompts(m_ssh);
        if (questions > 1)
            return SSH_AUTH_DENIED;
        if (questions == 1)
            ssh_userauth_kbdint_setanswer(m_ssh, 0, secret.constData());
        rc = ssh_userauth_kbdint(m_ssh, nullptr, nullptr);
    }
    return rc;
}

Expected<void> SftpSession::openChannel() {
    int rc = SSH_ERROR;
    runBlocking([this, &rc] {
        m_sftp = sftp_new(m_ssh);
        rc = m_sftp ? sftp_init(m_sftp) : SSH_ERROR;
    });
    if (rc == SSH_OK)
        return {};
    return Expected<void>::failure(QStringLiteral("The server %1 does not offer SFTP: %2")
                                       .arg(serverName(), QString::fromUtf8(ssh_get_error(m_ssh))));
}

SftpSession::Result SftpSession::folder(const QString& path) {
    sftp_attributes attributes = nullptr;
    runBlocking([this, &attributes, &path] {
        attributes = sftp_stat(m_sftp, pathBytes(path).constData());
    });
    if (!attributes)
        return outcome(false);
    const bool isFolder = attributes->type == SSH_FILEXFER_TYPE_DIRECTORY;
    sftp_attributes_free(attributes);
    if (isFolder)
        return {};
    return {Result::Kind::Refused, QStringLiteral("it is a file, not a folder")};
}

SftpSession::Result SftpSession::makeFolder(const QString& path) {
    int rc = SSH_ERROR;
    runBlocking([this, &rc, &path] { rc = sftp_mkdir(m_sftp, pathBytes(path).constData(), 0755); });
    return outcome(rc == SSH_OK);
}

SftpSession::Result SftpSession::remove(const QString& path) {
    int rc = SSH_ERROR;
    runBlocking([this, &rc, &path] { rc = sftp_unlink(m_sftp, pathBytes(path).constData()); });
    return outcome(rc == SSH_OK);
}

SftpSession::Result SftpSession::upload(QIODevice& source, const QString& path) {
    bool done = false;
    runBlocking([this, &done, &source, &path] { done = write(source, path); });
    return outcome(done);
}

// Writes the device's bytes into a new file at the path, a chunk at a time.
bool SftpSession::write(QIODevice& source, const QString& path) {
    sftp_file file =
        sftp_open(m_sftp, pathBytes(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (!file)
        return false;
    QByteArray chunk;
    bool done = true;
    while (done && !(chunk = source.read(kChunkBytes)).isEmpty()) {
        done = sftp_write(file, chunk.constData(), size_t(chunk.size())) == chunk.size();
        touch();
    }
    const bool closed = sftp_close(file) == SSH_NO_ERROR;
    return done && closed && source.atEnd();
}

// Done, or what the last request's failure was.
SftpSession::Result SftpSession::outcome(bool done) {
    if (done)
        return {};
    if (!m_sftp || m_cutOff || !ssh_is_connected(m_ssh))
        return {Result::Kind::Lost, lostConnection()};
    if (sftp_get_error(m_sftp) == SSH_FX_NO_SUCH_FILE)
        return {Result::Kind::Missing, QString()};
    QString detail = QString::fromUtf8(ssh_get_error(m_ssh));
    detail.remove(QRegularExpression(QStringLiteral("^SFTP server: ")));
    return {Result::Kind::Refused, detail};
}

QString SftpSession::lostConnection() const {
    if (m_cutOff)
        return QStringLiteral("The server %1 cannot be reached: it did not answer in time.")
            .arg(serverName());
    return QStringLiteral("The connection to the server %1 failed: %2")
        .arg(serverName(), QString::fromUtf8(ssh_get_error(m_ssh)));
}

QString SftpSession::serverName() const {
    return m_port == 22 ? m_host : m_host + QLatin1Char(':') + QString::number(m_port);
}

// Runs one blocking libssh call on a thread of its own while this thread
// processes its events (no user input, so no second command can start). The
// session is used by one thread at a time. A call that makes no progress
// for too long has its socket shut, which ends libssh's wait.
void SftpSession::runBlocking(const std::function<void()>& work) {
    touch();
    if (!QCoreApplication::instance()) {
        work();
        return;
    }
    QEventLoop loop;
    QThread* thread = QThread::create(work);
    QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
    QTimer watch;
    watch.setInterval(kWatchEveryMs);
    QObject::connect(&watch, &QTimer::timeout, &loop, [this] { cutOffIfStalled(); });
    thread->start();
    watch.start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    thread->wait();
    delete thread;
}

void SftpSession::touch() {
    m_lastActivity = m_clock.elapsed();
}

// Before the socket is known, libssh's own connect time-out applies.
void SftpSession::cutOffIfStalled() {
    if (m_socket == SSH_INVALID_SOCKET ||
        m_clock.elapsed() - m_lastActivity < m_access.stallLimitMs)
        return;
    m_cutOff = true;
    ::shutdown(m_socket, SHUT_RDWR);
}
