#pragma once

#include "harvest/RobotsRules.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QString>
#include <QTimer>

class Downloader;

// Decides when the harvest may ask a site for a page. With robots.txt
// respected, each site's robots.txt is read once (the rules stay for the
// gate's life, one harvest run), an address it disallows is skipped, at
// most two requests to one site run at a time, and a site that asks for a
// Crawl-delay gets one request at a time, started that long after the last.
// A missing or unreadable robots.txt allows everything. Without robots.txt
// respected every address may go at once.
//
// A site is a scheme, host and port. The requests a caller starts and ends
// are announced with `started` and `ended`; when a verdict to wait may have
// changed (rules arrived, a delay ran out), `ready` asks the callers again.
class SiteGate : public QObject {
    Q_OBJECT

public:
    static constexpr int kRequestsPerSite = 2;
    enum class Verdict { Go, Skip, Wait };

    // The settings `RespectRobots` (else `respectByDefault`) and `UserAgent`
    // of the [Startup] group.
    struct Settings {
        bool respectRobots = false;
        QString userAgent;
        static Settings read(bool respectByDefault);
    };

    explicit SiteGate(QObject* parent = nullptr);
    ~SiteGate() override;

    bool respectsRobots() const { return m_respectRobots; }
    void setRespectRobots(bool on) { m_respectRobots = on; }
    const QString& userAgent() const { return m_userAgent; }
    void setUserAgent(const QString& userAgent);

    // Wait starts what it waits for: reading the site's robots.txt, or the
    // timer of its Crawl-delay.
    Verdict verdict(const QString& url);
    void started(const QString& url);
    void ended(const QString& url);

    // The status text once `skippedCount` pages were left out, the last
    // one `lastUrl`.
    static QString skippedText(qsizetype skippedCount, const QString& lastUrl);
    // The site of an address: "scheme://host:port", lower case.
    static QString siteOf(const QString& url);

Q_SIGNALS:
    void ready();

private:
    struct Site {
        bool known = false;
        RobotsRules rules;
        int running = 0;
        qint64 lastStartMs = -1;
    };

    void readRobots(const QString& site);
    void robotsArrived(const QString& site, Downloader* downloader, int state);
    qint64 waitMs(const Site& site) const;
    void wakeAfter(qint64 milliseconds);

    bool m_respectRobots = false;
    QString m_userAgent;
    QHash<QString, Site> m_sites;
    QHash<QString, Downloader*> m_reading;
    QElapsedTimer m_clock;
    QTimer m_wake;
};
