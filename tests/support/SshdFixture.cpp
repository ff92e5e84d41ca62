#include "support/SshdFixture.h"

#include "support/ServerTools.h"

#include <QDir>
#include <QUuid>
#include <pwd.h>
#include <unistd.h>

QString SshdFixture::missing() {
    const QString why = notInstalled({"sshd", "ssh-keygen"}, "package openssh-server", "SFTP");
    if (why.isEmpty() && (geteuid() != 0 || !getpwnam("quillmart-sftp")))
        return QStringLiteral("the SFTP tests need root and the account quillmart-sftp (made by "
                              "scripts/bootstrap.sh): they are skipped");
    return why;
}

bool SshdFixture::start(const QString& extraConfig) {
    if (!setError(missing()))
        return false;
    if (!prepare())
        return setError("could not make the host key, the served folder or the password of sshd");
    return LocalServer::start(program("sshd"), {"-D", "-e", "-f", path("sshd_config")}, "SSH-",
                              "sshd_config", {"EXTRA", extraConfig});
}

// The served folder belongs to the account; sshd insists on its privilege
// separation folder.
bool SshdFixture::prepare() {
    const passwd* account = getpwnam("quillmart-sftp");
    m_password = QUuid::createUuid().toString(QUuid::WithoutBraces);
    return QDir().mkpath(rootPath()) && QDir().mkpath(QStringLiteral("/run/sshd")) &&
           chown(QFile::encodeName(rootPath()).constData(), account->pw_uid, 0) == 0 &&
           ServerTools::run("ssh-keygen", {"-q", "-t", "ed25519", "-N", "", "-f",
                                           path(QStringLiteral("host_ed25519"))}) &&
           ServerTools::run("ssh-keygen", {"-q", "-t", "ecdsa", "-N", "", "-f",
                                           path(QStringLiteral("host_ecdsa"))}) &&
           ServerTools::run("chpasswd", {}, (user() + ':' + m_password + '\n').toUtf8());
}

void SshdFixture::stop() {
    LocalServer::stop();
    if (!m_password.isEmpty())
        ServerTools::run("chpasswd", {"-e"}, (user() + ":!\n").toUtf8());
    m_password.clear();
}

QString SshdFixture::serverText() const {
    return QStringLiteral("sftp://127.0.0.1:%1%2").arg(QString::number(port()), rootPath());
}

QString SshdFixture::fingerprint() const {
    return ServerTools::run("ssh-keygen", {"-l", "-f", path(QStringLiteral("host_ed25519.pub"))})
        .value_or(QString())
        .section(QLatin1Char(' '), 1, 1);
}

bool SshdFixture::authorize(const QByteArray& publicKey) const {
    QFile keys(path(QStringLiteral("authorized_keys")));
    return keys.open(QIODevice::Append) && keys.write(publicKey) == publicKey.size();
}

QByteArray SshdFixture::knownHostsName() const {
    return "[127.0.0.1]:" + QByteArray::number(port());
}

QByteArray SshdFixture::knownHostsLine(const QString& type) const {
    const QByteArray key = readFile(path("host_" + type + ".pub")).toUtf8();
    return knownHostsName() + ' ' + key.split(' ').mid(0, 2).join(' ') + '\n';
}
