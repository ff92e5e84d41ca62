#include "support/SecretServiceFixture.h"

#include "keyring/PasswordKeyring.h"
#include "support/LocalServer.h"

#include <QThread>

namespace {

// Listens only in the fixture's folder and has no service folders, so
// nothing is started behind the test's back.
const char kBusConfiguration[] =
    "<busconfig><type>session</type><listen>unix:path=%1</listen><auth>EXTERNAL</auth>"
    "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
    "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>";

void end(QProcess& process) {
    process.terminate();
    if (!process.waitForFinished(5000))
        process.kill();
    process.waitForFinished(5000);
}

} // namespace

QString SecretServiceFixture::missing() {
    return LocalServer::notInstalled({"gnome-keyring-daemon", "dbus-daemon"},
                                     "packages gnome-keyring and dbus", "keyring");
}

bool SecretServiceFixture::startBus() {
    const QString config = m_dir.filePath("bus.conf");
    LocalServer::writeFile(config, QString(kBusConfiguration).arg(m_dir.filePath("bus")).toUtf8());
    m_bus.start(LocalServer::program("dbus-daemon"),
                {"--config-file=" + config, "--nofork", "--print-address"});
    if (!m_bus.waitForReadyRead(5000))
        return false;
    m_address = QString::fromUtf8(m_bus.readLine().trimmed());
    m_savedAddress = qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS")
                         ? std::optional(qgetenv("DBUS_SESSION_BUS_ADDRESS"))
                         : std::nullopt;
    qputenv("DBUS_SESSION_BUS_ADDRESS", m_address.toUtf8());
    return true;
}

// --unlock reads the login keyring's password from standard input and makes
// the keyring (an empty password makes none).
bool SecretServiceFixture::start() {
    m_error = missing();
    if (m_error.isEmpty() && !startBus())
        m_error = "dbus-daemon did not start";
    if (!m_error.isEmpty())
        return false;
    QProcessEnvironment environment;
    environment.insert("HOME", m_dir.filePath("home"));
    environment.insert("XDG_RUNTIME_DIR", m_dir.path());
    environment.insert("DBUS_SESSION_BUS_ADDRESS", m_address);
    m_keyring.setProcessEnvironment(environment);
    m_keyring.start(LocalServer::program("gnome-keyring-daemon"),
                    {"--foreground", "--components=secrets", "--unlock"});
    m_keyring.write("fixture");
    m_keyring.waitForBytesWritten(5000);
    m_keyring.closeWriteChannel();
    for (int waited = 0; waited < 15000; waited += 100) {
        if (PasswordKeyring(1000).write(PasswordKeyring::Kind::Mail, "fixture", "probe", "x"))
            return bool(PasswordKeyring().forget(PasswordKeyring::Kind::Mail, "fixture", "probe"));
        QThread::msleep(100);
    }
    m_error = "the secret service did not start: " + m_keyring.readAllStandardError();
    return false;
}

void SecretServiceFixture::stopKeyring() {
    end(m_keyring);
}

void SecretServiceFixture::stop() {
    stopKeyring();
    end(m_bus);
    if (m_savedAddress && *m_savedAddress)
        qputenv("DBUS_SESSION_BUS_ADDRESS", **m_savedAddress);
    else if (m_savedAddress)
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    m_savedAddress.reset();
}
