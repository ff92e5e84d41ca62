#pragma once

#include "harvest/RobotsRules.h"
#include "settings/StartupSettings.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QString>
#include <QTimer>

class Downloader;

// Decides when the harvest may ask a site for a page. With robots.txt
// respected, each site's robots.txt is read once (the rules stay for the
// gate's life: one harvest command, or the window's), an address it
// disallows is skipped, at most two requests to one site run at a time,
// and a site that asks for a Crawl-delay gets one request at a time,
// started that long after the last.
// A missing or unreadable robots.txt allows everything. Without robots.txt
// respected every address may go at once.
//
// A run (one crawl, walk or full report) has no time limit of its own, and
// a site that asks for a long delay would hold it for as long as the site
// has pages. So a site's Crawl-delay may hold a run for ten minutes at most
// (unless set otherwise): once the site's requests of the run, each its
// delay after the one before, would start the next one later than that,
// the site's remaining pages are skipped like the ones robots.txt
// disallows. With the longest delay kept, 30 s, that is 21 pages a run.
//
// A site is a scheme, host and port. The requests a caller starts and ends
// are announced with `started` and `ended`; when a verdict to wait may have
// changed (rules arrived, a delay ran out), `ready` asks the callers again.
class SiteGate : public QObject {
    Q_OBJECT

public:
    static constexpr int kRequestsPerSite = 2;
    static constexpr int kDelayHoldMs = 10 * 60 * 1000;
    enum class Verdict { Go, Skip, Wait };

    // What the [Startup] settings `RespectRobots` (else `respectByDefault`)
    // and `UserAgent` (else the standard one) ask of a run.
    struct Settings {
        bool respectRobots = false;
        QString userAgent;
        static Settings from(const StartupValues& values, bool respectByDefault);
    };

    explicit SiteGate(QObject* parent = nullptr);
    ~SiteGate() override;

    bool respectsRobots() const { return m_respectRobots; }
    void setRespectRobots(bool on) { m_respectRobots = on; }
    const QString& userAgent() const { return m_userAgent; }
    void setUserAgent(const QString& userAgent);
    // How long a site's Crawl-delay may hold a run.
    void setDelayHoldMs(int milliseconds) { m_delayHoldMs = milliseconds; }

    // A run begins: every site's Crawl-delay may hold it for the whole time
    // again. A run begun while another goes on gives both the time afresh.
    void startRun();

    // Wait starts what it waits for: reading the site's robots.txt, or the
    // timer of its Crawl-delay.
    Verdict verdict(const QString& url);
    void started(const QString& url);
    void ended(const QString& url);
    // Why an address the gate skipped is left out, as the harvest names it.
    QString skipReason(const QString& url) const;

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
        // Requests started in this run.
        int runStarts = 0;
    };

    void readRobots(const QString& site);
    void robotsArrived(const QString& site, Downloader* downloader, int state);
    qint64 waitMs(const Site& site) const;
    bool heldPastRun(const Site& site) const;
    void wakeAfter(qint64 milliseconds);

    bool m_respectRobots = false;
    QString m_userAgent;
    int m_delayHoldMs = kDelayHoldMs;
    QHash<QString, Site> m_sites;
    QHash<QString, Downloader*> m_reading;
    QElapsedTimer m_clock;
    QTimer m_wake;
};
