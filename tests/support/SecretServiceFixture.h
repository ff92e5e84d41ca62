#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <optional>

// A desktop keyring for tests: a private D-Bus session bus (dbus-daemon,
// configured to start no service by itself) with gnome-keyring-daemon's
// secret service on it, its login keyring made and unlocked with a throwaway
// password in a temporary home. While it runs, DBUS_SESSION_BUS_ADDRESS
// names the private bus, for this process and the programs it starts.
// Everything stops, and the variable comes back, when the fixture goes.
class SecretServiceFixture {
public:
    ~SecretServiceFixture() { stop(); }

    // Why it cannot run here (gnome-keyring or dbus-daemon not installed);
    // empty when it can.
    static QString missing();
    // Starts both and waits until a password can be stored. False when they
    // could not start (error() says why).
    bool start();
    // Stops the secret service and leaves the bus: a desktop without one.
    void stopKeyring();
    void stop();
    QString error() const { return m_error; }

private:
    bool startBus();

    QTemporaryDir m_dir;
    QProcess m_bus;
    QProcess m_keyring;
    QString m_address;
    std::optional<std::optional<QByteArray>> m_savedAddress;
    QString m_error;
};
