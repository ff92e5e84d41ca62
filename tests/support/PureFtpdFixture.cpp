#include "support/PureFtpdFixture.h"

#include "support/ServerTools.h"

#include <QDir>
#include <unistd.h>

QString PureFtpdFixture::missing() {
    const QString why = notInstalled({"pure-ftpd", "pure-pw"}, "package pure-ftpd", "FTP");
    return why.isEmpty() && geteuid() != 0
               ? QStringLiteral("pure-ftpd needs root: the FTP tests are skipped")
               : why;
}

QString PureFtpdFixture::certificatePath() {
    return QStringLiteral(QUILLMART_TEST_ROOT "/support/test-server-cert.pem");
}

bool PureFtpdFixture::start(const QString& password) {
    if (!setError(missing()))
        return false;
    if (!prepare(password))
        return setError("could not make the user list of pure-ftpd");
    return LocalServer::start(program("pure-ftpd"),
                              {"-S", "127.0.0.1,@PORT@", "-l", "puredb:" + path("pdb"), "-E", "-A",
                               "-u", "1", "-Y", "1", "-2", path("both.pem")},
                              "220");
}

// The user's files belong to "nobody"; pure-ftpd reads the certificate and
// its key from one file.
bool PureFtpdFixture::prepare(const QString& password) {
    const QString list = path(QStringLiteral("passwd"));
    const QByteArray twice = password.toUtf8() + '\n' + password.toUtf8() + '\n';
    const QString key = QStringLiteral(QUILLMART_TEST_ROOT "/support/test-server-key.pem");
    return QDir().mkpath(rootPath()) && ServerTools::run("chown", {"nobody", rootPath()}) &&
           ServerTools::run(
               "pure-pw",
               {"useradd", user(), "-u", "nobody", "-g", "nogroup", "-d", rootPath(), "-f", list},
               twice) &&
           ServerTools::run("pure-pw", {"mkdb", path("pdb"), "-f", list}) &&
           writeFile(path("both.pem"),
                     readFile(key).toUtf8() + readFile(certificatePath()).toUtf8());
}
