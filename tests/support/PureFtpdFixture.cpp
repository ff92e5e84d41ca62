#include "support/PureFtpdFixture.h"

#include "support/LocalServer.h"
#include "support/ServerTools.h"

#include <QDir>
#include <unistd.h>

PureFtpdFixture::PureFtpdFixture() {
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                            QFile::ExeGroup | QFile::ExeOther);
    QDir(m_dir.path()).mkpath(QStringLiteral("root"));
}

QString PureFtpdFixture::missing() {
    if (LocalServer::program("pure-ftpd").isEmpty() || LocalServer::program("pure-pw").isEmpty())
        return QStringLiteral("pure-ftpd is not installed (Debian package pure-ftpd; "
                              "scripts/bootstrap.sh installs it): the FTP tests are skipped");
    if (geteuid() != 0)
        return QStringLiteral("pure-ftpd needs root: the FTP tests are skipped");
    return {};
}

bool PureFtpdFixture::start(const QString& password) {
    m_error = missing();
    if (m_error.isEmpty() && !prepare(password))
        m_error = QStringLiteral("could not make the certificate or the user list of pure-ftpd");
    if (!m_error.isEmpty())
        return false;
    // Another program may take the free port between the look and the start.
    for (int attempt = 0; attempt < 3; ++attempt)
        if (startOnce())
            return true;
    return false;
}

void PureFtpdFixture::stop() {
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    m_process.waitForFinished(5000);
}

// The user's files belong to "nobody"; pure-ftpd reads the certificate and
// its key from one file.
bool PureFtpdFixture::prepare(const QString& password) {
    const QString key = m_dir.filePath(QStringLiteral("key.pem"));
    const QString list = m_dir.filePath(QStringLiteral("passwd"));
    const QByteArray twice = password.toUtf8() + '\n' + password.toUtf8() + '\n';
    const bool made = ServerTools::run("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes",
                                                   "-days", "2", "-subj", "/CN=127.0.0.1",
                                                   "-addext", "subjectAltName=IP:127.0.0.1",
                                                   "-keyout", key, "-out", certificatePath()}) &&
                      ServerTools::run("chown", {"nobody", rootPath()}) &&
                      ServerTools::run("pure-pw",
                                       {"useradd", user(), "-u", "nobody", "-g", "nogroup", "-d",
                                        rootPath(), "-f", list},
                                       twice) &&
                      ServerTools::run("pure-pw", {"mkdb", m_dir.filePath("pdb"), "-f", list});
    return made && LocalServer::writeFile(m_dir.filePath("both.pem"),
                                          LocalServer::readFile(key).toUtf8() +
                                              LocalServer::readFile(certificatePath()).toUtf8());
}

bool PureFtpdFixture::startOnce() {
    m_port = LocalServer::freePort();
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(LocalServer::program("pure-ftpd"),
                    {"-S", QStringLiteral("127.0.0.1,%1").arg(m_port), "-l",
                     "puredb:" + m_dir.filePath("pdb"), "-E", "-A", "-u", "1", "-Y", "1", "-2",
                     m_dir.filePath("both.pem")});
    if (m_port != 0 && m_process.waitForStarted(5000) &&
        LocalServer::waitUntilAnswering(m_process, m_port, "220"))
        return true;
    m_error = "pure-ftpd did not start: " + QString::fromLocal8Bit(m_process.readAll());
    m_process.kill();
    m_process.waitForFinished(5000);
    return false;
}
