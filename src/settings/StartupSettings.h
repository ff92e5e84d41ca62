#pragma once

#include "platform/Expected.h"

#include <QObject>
#include <QString>
#include <optional>

// The [Startup] settings of Quillmart.conf, each as the user gave it. An
// empty text or a zero means "the program's default", so a default that
// changes with a new version reaches every user who never chose otherwise.
struct StartupValues {
    // The channel server's two base addresses, as kept (StartPages).
    QString location1;
    QString location2;
    // The host of the maker's web site; empty: the pages the program ships.
    QString makerSite;
    // The translation service's address; empty: no translation.
    QString translationService;
    // Sent by the crawler, the page reader and the harvest's downloads.
    QString userAgent;
    // Unset: the window's crawls ignore robots.txt, the harvest command
    // respects it.
    std::optional<bool> respectRobots;
    // Command lines started by the toolbar's Submit and Publish buttons.
    QString submittingProgram;
    QString publishingProgram;
    // The order database: a SQLite path or a "driver://..." address.
    QString orderDatabase;
    // The largest order mail read, in megabytes.
    int mailSizeLimitMB = 0;
    // Certificates trusted besides the system's: the mail server's and the
    // publish server's.
    QString trustedMailCertificate;
    QString trustedPublishCertificate;

    bool operator==(const StartupValues&) const = default;
};

// The one owner of the [Startup] settings. The program reads them once at
// its start and passes this object to the parts that use them; a part reads
// the values when it needs them and hears `changed`, so a change made in
// Preferences is used without a restart.
class StartupSettings : public QObject {
    Q_OBJECT

public:
    explicit StartupSettings(QObject* parent = nullptr);

    // The settings as Quillmart.conf holds them now.
    static StartupValues read();

    const StartupValues& values() const { return m_values; }
    // Keeps `values` in Quillmart.conf and announces them. A failure says
    // the file cannot be written; the values stay in use all the same.
    Expected<void> change(const StartupValues& values);
    // The channel server's own new addresses, kept for the next start.
    Expected<void> keepLocations(const QString& location1, const QString& location2);

Q_SIGNALS:
    void changed();

private:
    StartupValues m_values;
};
