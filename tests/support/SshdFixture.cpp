#include "support/SshdFixture.h"

#include "support/LocalServer.h"
#include "support/ServerTools.h"

#include <QDir>
#include <QUuid>
#include <pwd.h>
#include <unistd.h>

SshdFixture::SshdFixture() {
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                            QFile::ExeGroup | QFile::ExeOther);
    QDir(m_dir.path()).mkpath(QStringLiteral("root"));
    const passwd* account = getpwnam("quillmart-sftp");
    if (account && chown(QFile::encodeName(rootPath()).constData(), account->pw_uid, 0) != 0)
        m_error = QStringLiteral("cannot hand the served folder to quillmart-sftp");
}

QString SshdFixture::missing() {
    if (LocalServer::program("sshd").isEmpty() || LocalServer::program("ssh-keygen").isEmpty())
        return QStringLiteral("OpenSSH's server is not installed (Debian package "
                              "openssh-server; scripts/bootstrap.sh installs it): the SFTP "
                              "tests are skipped");
    if (geteuid() != 0 || !getpwnam("quillmart-sftp"))
        return QStringLiteral("the SFTP tests need root and the account quillmart-sftp (made by "
                              "scripts/bootstrap.sh): they are skipped");
    return {};
}

bool SshdFixture::start() {
    if (m_error.isEmpty())
        m_error = missing();
    const QString key = m_dir.filePath(QStringLiteral("host_ed25519"));
    if (m_error.isEmpty() && !QFile::exists(key) &&
        !ServerTools::run("ssh-keygen", {"-q", "-t", "ed25519", "-N", "", "-f", key}))
        m_error = QStringLiteral("ssh-keygen could not make a host key");
    m_password = QUuid::createUuid().toString(QUuid::WithoutBraces);
    if (m_error.isEmpty() && !setPassword(user().toUtf8() + ':' + m_password.toUtf8()))
        m_error = QStringLiteral("chpasswd could not set the test account's password");
    // sshd insists on its privilege separation folder.
    QDir().mkpath(QStringLiteral("/run/sshd"));
    if (!m_error.isEmpty())
        return false;
    // Another program may take the free port between the look and the start.
    for (int attempt = 0; attempt < 3; ++attempt)
        if (startOnce())
            return true;
    return false;
}

void SshdFixture::stop() {
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        m_process.waitForFinished(5000);
    }
    if (!m_password.isEmpty())
        setPassword(user().toUtf8() + ":!");
    m_password.clear();
}

QString SshdFixture::serverText() const {
    return QStringLiteral("sftp://127.0.0.1:%1%2").arg(QString::number(m_port), rootPath());
}

QString SshdFixture::fingerprint() const {
    return ServerTools::run("ssh-keygen",
                            {"-l", "-f", m_dir.filePath(QStringLiteral("host_ed25519.pub"))})
        .value_or(QString())
        .section(QLatin1Char(' '), 1, 1);
}

bool SshdFixture::authorize(const QByteArray& publicKey) const {
    QFile keys(m_dir.filePath(QStringLiteral("authorized_keys")));
    return keys.open(QIODevice::Append) && keys.write(publicKey) == publicKey.size();
}

bool SshdFixture::startOnce() {
    m_port = LocalServer::freePort();
    const QString config = m_dir.filePath(QStringLiteral("sshd_config"));
    if (m_port == 0 || !LocalServer::writeFile(config, configuration().toUtf8())) {
        m_error = QStringLiteral("could not prepare the sshd configuration");
        return false;
    }
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(LocalServer::program("sshd"), {"-D", "-e", "-f", config});
    if (m_process.waitForStarted(5000) &&
        LocalServer::waitUntilAnswering(m_process, m_port, "SSH-"))
        return true;
    m_error = "sshd did not start: " + QString::fromLocal8Bit(m_process.readAll());
    m_process.kill();
    m_process.waitForFinished(5000);
    return false;
}

QString SshdFixture::configuration() const {
    return QStringLiteral("Port %1\nListenAddress 127.0.0.1\nHostKey %2/host_ed25519\n"
                          "PidFile %2/sshd.pid\nAuthorizedKeysFile %2/authorized_keys\n"
                          "StrictModes no\nUsePAM no\nPasswordAuthentication yes\n"
                          "KbdInteractiveAuthentication no\nAllowUsers quillmart-sftp\n"
                          "Subsystem sftp internal-sftp\nForceCommand internal-sftp\n")
        .arg(QString::number(m_port), m_dir.path());
}

// "user:password" sets a password; "user:!" locks the account.
bool SshdFixture::setPassword(const QByteArray& entry) {
    const bool locking = entry.endsWith(":!");
    return ServerTools::run("chpasswd", locking ? QStringList{"-e"} : QStringList{}, entry + '\n')
        .has_value();
}
