#include "support/NginxFixture.h"

#include <QDir>
#include <QFileInfo>
#include <unistd.h>

namespace {

const QString kDavModule = QStringLiteral("/usr/lib/nginx/modules/ngx_http_dav_ext_module.so");

} // namespace

QString NginxFixture::missing() {
    if (LocalServer::program("nginx").isEmpty() || !QFileInfo::exists(kDavModule))
        return QStringLiteral("nginx with its DAV modules is not installed (Debian packages "
                              "nginx and libnginx-mod-http-dav-ext; scripts/bootstrap.sh "
                              "installs them): the WebDAV tests are skipped");
    return {};
}

bool NginxFixture::start(const QString& user, const QString& password) {
    m_error = missing();
    if (!m_error.isEmpty())
        return false;
    const QString dir = m_server.path();
    QDir(dir).mkpath(QStringLiteral("root"));
    QDir(dir).mkpath(QStringLiteral("temp"));
    const QString auth =
        user.isEmpty()
            ? QString()
            : QStringLiteral("auth_basic \"Quillmart test\"; auth_basic_user_file %1/users;")
                  .arg(dir);
    const auto configure = [&](quint16 port) {
        QFile::remove(dir + "/error.log");
        const QString configuration = LocalServer::fromTemplate(
            "nginx.conf", {"USER", geteuid() == 0 ? "user root root;" : "", "DIR", dir, "MODULE",
                           kDavModule, "PORT", QString::number(port), "AUTH", auth});
        return LocalServer::writeFile(dir + "/users",
                                      (user + ":{PLAIN}" + password + "\n").toUtf8()) &&
               LocalServer::writeFile(dir + "/nginx.conf", configuration.toUtf8());
    };
    if (m_server.start(LocalServer::program("nginx"),
                       {"-p", dir + '/', "-c", dir + "/nginx.conf", "-e", dir + "/error.log"}, {},
                       configure))
        return true;
    m_error =
        "nginx did not start: " + LocalServer::readFile(dir + "/error.log") + m_server.output();
    return false;
}
