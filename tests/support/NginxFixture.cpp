#include "support/NginxFixture.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <unistd.h>

namespace {

const QString kDavModule = QStringLiteral("/usr/lib/nginx/modules/ngx_http_dav_ext_module.so");
constexpr int kStartAttempts = 3;
constexpr int kAnswerWaitMs = 10000;

bool writeText(const QString& path, const QString& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.toUtf8().size();
}

} // namespace

NginxFixture::NginxFixture() {
    QDir(m_dir.path()).mkpath(QStringLiteral("root"));
    QDir(m_dir.path()).mkpath(QStringLiteral("temp"));
}

NginxFixture::~NginxFixture() {
    stop();
}

bool NginxFixture::start(const QString& user, const QString& password) {
    if (nginxProgram().isEmpty()) {
        m_error = QStringLiteral("nginx is not installed; run scripts/bootstrap.sh");
        return false;
    }
    if (!QFile::exists(kDavModule)) {
        m_error = kDavModule + QStringLiteral(" is missing; run scripts/bootstrap.sh");
        return false;
    }
    // Another program may take the free port between the look and the start.
    for (int attempt = 0; attempt < kStartAttempts; ++attempt) {
        if (startOnce(user, password))
            return true;
    }
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

QString NginxFixture::serverName() const {
    return QStringLiteral("127.0.0.1:%1").arg(m_port);
}

QString NginxFixture::rootPath() const {
    return m_dir.filePath(QStringLiteral("root"));
}

bool NginxFixture::startOnce(const QString& user, const QString& password) {
    stop();
    m_port = freePort();
    if (m_port == 0 || !writeConfiguration(user, password)) {
        m_error = QStringLiteral("could not prepare the nginx configuration");
        return false;
    }
    QFile::remove(m_dir.filePath(QStringLiteral("error.log")));
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(nginxProgram(),
                    {QStringLiteral("-p"), m_dir.path() + QLatin1Char('/'), QStringLiteral("-c"),
                     m_dir.filePath(QStringLiteral("nginx.conf")), QStringLiteral("-e"),
                     m_dir.filePath(QStringLiteral("error.log"))});
    if (m_process.waitForStarted(5000) && waitUntilAnswering())
        return true;
    m_error = QStringLiteral("nginx did not start: ") + errorLog() +
              QString::fromLocal8Bit(m_process.readAll());
    stop();
    return false;
}

bool NginxFixture::writeConfiguration(const QString& user, const QString& password) const {
    const bool withAuth = !user.isEmpty();
    if (withAuth && !writeText(m_dir.filePath(QStringLiteral("users")),
                               user + QStringLiteral(":{PLAIN}") + password + QLatin1Char('\n')))
        return false;
    return writeText(m_dir.filePath(QStringLiteral("nginx.conf")), configuration(withAuth));
}

QString NginxFixture::configuration(bool withAuth) const {
    const QString temp = m_dir.filePath(QStringLiteral("temp"));
    QString text;
    // Workers of a root master would run as "nobody" and could not write
    // the temporary folders.
    if (geteuid() == 0)
        text += QStringLiteral("user root root;\n");
    text += QStringLiteral("daemon off;\n"
                           "worker_processes 1;\n"
                           "pid %1/nginx.pid;\n"
                           "error_log %1/error.log warn;\n"
                           "load_module %2;\n"
                           "events { worker_connections 64; }\n"
                           "http {\n"
                           "  access_log %1/access.log;\n"
                           "  client_body_temp_path %3/body;\n"
                           "  proxy_temp_path %3/proxy;\n"
                           "  fastcgi_temp_path %3/fastcgi;\n"
                           "  uwsgi_temp_path %3/uwsgi;\n"
                           "  scgi_temp_path %3/scgi;\n"
                           "  client_max_body_size 16m;\n"
                           "  server {\n"
                           "    listen 127.0.0.1:%4;\n"
                           "    root %5;\n"
                           "    location / {\n"
                           "      dav_methods PUT DELETE MKCOL;\n"
                           "      dav_ext_methods PROPFIND OPTIONS;\n"
                           "      create_full_put_path on;\n"
                           "      dav_access user:rw group:rw all:r;\n")
                .arg(m_dir.path(), kDavModule, temp, QString::number(m_port), rootPath());
    if (withAuth)
        text += QStringLiteral("      auth_basic \"Quillmart test\";\n"
                               "      auth_basic_user_file %1/users;\n")
                    .arg(m_dir.path());
    text += QStringLiteral("    }\n"
                           "  }\n"
                           "}\n");
    return text;
}

bool NginxFixture::waitUntilAnswering() {
    for (int waited = 0; waited < kAnswerWaitMs; waited += 50) {
        QTcpSocket socket;
        socket.connectToHost(QStringLiteral("127.0.0.1"), m_port);
        if (socket.waitForConnected(200))
            return true;
        // Doubles as the pause between two tries; true means nginx ended.
        if (m_process.waitForFinished(50))
            return false;
    }
    return false;
}

QString NginxFixture::errorLog() const {
    QFile log(m_dir.filePath(QStringLiteral("error.log")));
    return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()) : QString();
}

quint16 NginxFixture::freePort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

QString NginxFixture::missing() {
    if (nginxProgram().isEmpty() || !QFileInfo::exists(kDavModule))
        return QStringLiteral("nginx with its DAV modules is not installed (Debian packages "
                              "nginx and libnginx-mod-http-dav-ext; scripts/bootstrap.sh "
                              "installs them): the WebDAV tests are skipped");
    return {};
}

QString NginxFixture::nginxProgram() {
    QString program = QStandardPaths::findExecutable(QStringLiteral("nginx"));
    if (program.isEmpty())
        program = QStandardPaths::findExecutable(
            QStringLiteral("nginx"),
            {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin")});
    return program;
}
