#include "support/SshdFixture.h"

#include "support/ServerTools.h"

#include <QDir>
#include <QUuid>
#include <pwd.h>
#include <unistd.h>

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
    m_error = missing();
    if (m_error.isEmpty() && !prepare())
        m_error = QStringLiteral("could not make the host key, the served folder or the "
                                 "password of sshd");
    if (!m_error.isEmpty())
        return false;
    const QString config = m_server.path(QStringLiteral("sshd_config"));
    const bool started = m_server.start(
        LocalServer::program("sshd"), {"-D", "-e", "-f", config}, "SSH-", [&](quint16 port) {
            return LocalServer::writeFile(
                config, LocalServer::fromTemplate(
                            "sshd_config", {"PORT", QString::number(port), "DIR", m_server.path()})
                            .toUtf8());
        });
    if (!started)
        m_error = "sshd did not start: " + m_server.output();
    return started;
}

// The served folder belongs to the account, and the folders above it let
// the account through; sshd insists on its privilege separation folder.
bool SshdFixture::prepare() {
    const passwd* account = getpwnam("quillmart-sftp");
    m_password = QUuid::createUuid().toString(QUuid::WithoutBraces);
    return QFile::setPermissions(m_server.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                      QFile::ExeOwner | QFile::ExeOther) &&
           QDir().mkpath(rootPath()) && QDir().mkpath(QStringLiteral("/run/sshd")) &&
           chown(QFile::encodeName(rootPath()).constData(), account->pw_uid, 0) == 0 &&
           ServerTools::run("ssh-keygen", {"-q", "-t", "ed25519", "-N", "", "-f",
                                           m_server.path(QStringLiteral("host_ed25519"))}) &&
           ServerTools::run("chpasswd", {}, (user() + ':' + m_password + '\n').toUtf8());
}

void SshdFixture::stop() {
    m_server.stop();
    if (!m_password.isEmpty())
        ServerTools::run("chpasswd", {"-e"}, (user() + ":!\n").toUtf8());
    m_password.clear();
}

QString SshdFixture::serverText() const {
    return QStringLiteral("sftp://127.0.0.1:%1%2")
        .arg(QString::number(m_server.port()), rootPath());
}

QString SshdFixture::fingerprint() const {
    return ServerTools::run("ssh-keygen",
                            {"-l", "-f", m_server.path(QStringLiteral("host_ed25519.pub"))})
        .value_or(QString())
        .section(QLatin1Char(' '), 1, 1);
}

bool SshdFixture::authorize(const QByteArray& publicKey) const {
    QFile keys(m_server.path(QStringLiteral("authorized_keys")));
    return keys.open(QIODevice::Append) && keys.write(publicKey) == publicKey.size();
}
