#include "support/PureFtpdFixture.h"

#include "support/ServerTools.h"

#include <QDir>
#include <unistd.h>

QString PureFtpdFixture::missing() {
    if (LocalServer::program("pure-ftpd").isEmpty() || LocalServer::program("pure-pw").isEmpty())
        return QStringLiteral("pure-ftpd is not installed (Debian package pure-ftpd; "
                              "scripts/bootstrap.sh installs it): the FTP tests are skipped");
    if (geteuid() != 0)
        return QStringLiteral("pure-ftpd needs root: the FTP tests are skipped");
    return {};
}

QString PureFtpdFixture::certificatePath() {
    return QStringLiteral(QUILLMART_TEST_ROOT "/support/test-server-cert.pem");
}

bool PureFtpdFixture::start(const QString& password) {
    m_error = missing();
    if (m_error.isEmpty() && !prepare(password))
        m_error = QStringLiteral("could not make the user list of pure-ftpd");
    if (!m_error.isEmpty())
        return false;
    const bool started =
        m_server.start(LocalServer::program("pure-ftpd"),
                       {"-S", "127.0.0.1,@PORT@", "-l", "puredb:" + m_server.path("pdb"), "-E",
                        "-A", "-u", "1", "-Y", "1", "-2", m_server.path("both.pem")},
                       "220", [](quint16) { return true; });
    if (!started)
        m_error = "pure-ftpd did not start: " + m_server.output();
    return started;
}

// The user's files belong to "nobody", who must pass through the temporary
// folder; pure-ftpd reads the certificate and its key from one file.
bool PureFtpdFixture::prepare(const QString& password) {
    const QString list = m_server.path(QStringLiteral("passwd"));
    const QByteArray twice = password.toUtf8() + '\n' + password.toUtf8() + '\n';
    const QString key = QStringLiteral(QUILLMART_TEST_ROOT "/support/test-server-key.pem");
    return QFile::setPermissions(m_server.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                      QFile::ExeOwner | QFile::ExeOther) &&
           QDir().mkpath(rootPath()) && ServerTools::run("chown", {"nobody", rootPath()}) &&
           ServerTools::run(
               "pure-pw",
               {"useradd", user(), "-u", "nobody", "-g", "nogroup", "-d", rootPath(), "-f", list},
               twice) &&
           ServerTools::run("pure-pw", {"mkdb", m_server.path("pdb"), "-f", list}) &&
           LocalServer::writeFile(m_server.path("both.pem"),
                                  LocalServer::readFile(key).toUtf8() +
                                      LocalServer::readFile(certificatePath()).toUtf8());
}
