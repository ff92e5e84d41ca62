#include "support/NginxFixture.h"

#include <QDir>
#include <unistd.h>

namespace {

const QString kDavModule = QStringLiteral("/usr/lib/nginx/modules/ngx_http_dav_ext_module.so");

} // namespace

QString NginxFixture::missing() {
    return notInstalled({"nginx", kDavModule}, "packages nginx and libnginx-mod-http-dav-ext",
                        "WebDAV");
}

// Without a user the line that asks for a password is a comment.
bool NginxFixture::start(const QString& user, const QString& password) {
    if (!setError(missing()))
        return false;
    if (!QDir().mkpath(path("temp")) || !QDir().mkpath(rootPath()) ||
        !writeFile(path("users"), (user + ":{PLAIN}" + password + "\n").toUtf8()))
        return setError("could not prepare the nginx folder");
    setLog("error.log");
    return LocalServer::start(
        program("nginx"), {"-p", path() + '/', "-c", path("nginx.conf"), "-e", path("error.log")},
        {}, "nginx.conf",
        {"USER", geteuid() == 0 ? "user root root;" : "", "MODULE", kDavModule, "AUTH",
         user.isEmpty() ? "# " : ""});
}
