#include "support/NginxFixture.h"

#include "support/LocalServer.h"

#include <QDir>
#include <QFileInfo>
#include <unistd.h>

namespace {

const QString kDavModule = QStringLiteral("/usr/lib/nginx/modules/ngx_http_dav_ext_module.so");

} // namespace

NginxFixture::NginxFixture() {
    QDir(m_dir.path()).mkpath(QStringLiteral("root"));
    QDir(m_dir.path()).mkpath(QStringLiteral("temp"));
}

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
    // Another program may take the free port between the look and the start.
    for (int attempt = 0; attempt < 3; ++attempt)
        if (startOnce(user, password))
            return true;
    return false;
}

void NginxFixture::stop() {
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

bool NginxFixture::startOnce(const QString& user, const QString& password) {
    stop();
    m_port = LocalServer::freePort();
    const QString users = user + ":{PLAIN}" + password + "\n";
    if (m_port == 0 ||
        (!user.isEmpty() && !LocalServer::writeFile(m_dir.filePath("users"), users.toUtf8())) ||
        !LocalServer::writeFile(m_dir.filePath("nginx.conf"),
                                configuration(!user.isEmpty()).toUtf8())) {
        m_error = QStringLiteral("could not prepare the nginx configuration");
        return false;
    }
    const QString log = m_dir.filePath("error.log");
    QFile::remove(log);
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(LocalServer::program("nginx"),
                    {"-p", m_dir.path() + '/', "-c", m_dir.filePath("nginx.conf"), "-e", log});
    if (m_process.waitForStarted(5000) && LocalServer::waitUntilAnswering(m_process, m_port, {}))
        return true;
    m_error = "nginx did not start: " + LocalServer::readFile(log) +
              QString::fromLocal8Bit(m_process.readAll());
    stop();
    return false;
}

// Workers of a root master would run as "nobody" and could not write the
// temporary folders, so under root they run as root.
QString NginxFixture::configuration(bool withAuth) const {
    const QString auth =
        withAuth ? QStringLiteral("auth_basic \"Quillmart test\"; auth_basic_user_file %1/users;")
                       .arg(m_dir.path())
                 : QString();
    return QStringLiteral(
               "%1daemon off;\nworker_processes 1;\npid %2/nginx.pid;\n"
               "error_log %2/error.log warn;\nload_module %3;\n"
               "events { worker_connections 64; }\n"
               "http {\n  access_log %2/access.log;\n  client_body_temp_path %2/temp/body;\n"
               "  proxy_temp_path %2/temp/proxy;\n  fastcgi_temp_path %2/temp/fastcgi;\n"
               "  uwsgi_temp_path %2/temp/uwsgi;\n  scgi_temp_path %2/temp/scgi;\n"
               "  client_max_body_size 16m;\n"
               "  server {\n    listen 127.0.0.1:%4;\n    root %5;\n    location / {\n"
               "      dav_methods PUT DELETE MKCOL;\n      dav_ext_methods PROPFIND OPTIONS;\n"
               "      create_full_put_path on;\n      dav_access user:rw group:rw all:r;\n"
               "      %6\n    }\n  }\n}\n")
        .arg(QString(geteuid() == 0 ? "user root root;\n" : ""), m_dir.path(), kDavModule,
             QString::number(m_port), rootPath(), auth);
}
