#include "web/SiteGate.h"

#include "web/Downloader.h"

#include <QUrl>

namespace {

// RFC 9309 asks crawlers to read at least 500 KiB of a robots.txt.
constexpr int kRobotsCharacters = 512 * 1024;

// The path with its query, as robots.txt rules are written.
QString pathOf(const QString& url) {
    const QUrl parsed(url.trimmed());
    QString path = parsed.path(QUrl::FullyEncoded);
    if (path.isEmpty())
        path = QStringLiteral("/");
    if (parsed.hasQuery())
        path += QLatin1Char('?') + parsed.query(QUrl::FullyEncoded);
    return path;
}

} // namespace

SiteGate::Settings SiteGate::Settings::from(const StartupValues& values, bool respectByDefault) {
    Settings settings;
    settings.respectRobots = values.respectRobots.value_or(respectByDefault);
    settings.userAgent =
        values.userAgent.isEmpty() ? Downloader::standardUserAgent() : values.userAgent;
    return settings;
}

SiteGate::SiteGate(QObject* parent)
    : QObject(parent), m_userAgent(Downloader::standardUserAgent()) {
    m_clock.start();
    m_wake.setSingleShot(true);
    connect(&m_wake, &QTimer::timeout, this, &SiteGate::ready);
}

SiteGate::~SiteGate() {
    for (Downloader* downloader : std::as_const(m_reading))
        downloader->cancel();
}

void SiteGate::setUserAgent(const QString& userAgent) {
    m_userAgent = userAgent;
}

QString SiteGate::skippedText(qsizetype skippedCount, const QString& lastUrl) {
    return QStringLiteral("Left out by robots.txt: %1 pages, the last %2")
        .arg(skippedCount)
        .arg(lastUrl);
}

// Read from the text, without parsing the whole address: the crawler asks
// it of every waiting link at every step.
QString SiteGate::siteOf(const QString& url) {
    const QString trimmed = url.trimmed();
    const qsizetype schemeEnd = trimmed.indexOf(QLatin1String("://"));
    if (schemeEnd < 0)
        return trimmed.toLower();
    const QString scheme = trimmed.left(schemeEnd).toLower();
    qsizetype end = schemeEnd + 3;
    while (end < trimmed.size() && !QStringLiteral("/?#\\").contains(trimmed.at(end)))
        ++end;
    QString authority = trimmed.mid(schemeEnd + 3, end - schemeEnd - 3).toLower();
    authority = authority.mid(authority.lastIndexOf(QLatin1Char('@')) + 1);
    // A port follows the last colon outside an IPv6 address's brackets.
    if (authority.indexOf(QLatin1Char(':'), authority.lastIndexOf(QLatin1Char(']')) + 1) < 0)
        authority +=
            scheme == QLatin1String("https") ? QStringLiteral(":443") : QStringLiteral(":80");
    return scheme + QStringLiteral("://") + authority;
}

SiteGate::Verdict SiteGate::verdict(const QString& url) {
    if (!m_respectRobots)
        return Verdict::Go;
    const QString key = siteOf(url);
    Site& site = m_sites[key];
    if (!site.known) {
        readRobots(key);
        return Verdict::Wait;
    }
    if (!site.rules.allows(pathOf(url)) || heldPastRun(site))
        return Verdict::Skip;
    const int limit = site.rules.crawlDelayMs() > 0 ? 1 : kRequestsPerSite;
    if (site.running >= limit)
        return Verdict::Wait;
    if (const qint64 wait = waitMs(site); wait > 0) {
        wakeAfter(wait);
        return Verdict::Wait;
    }
    return Verdict::Go;
}

void SiteGate::started(const QString& url) {
    if (!m_respectRobots)
        return;
    Site& site = m_sites[siteOf(url)];
    ++site.running;
    ++site.runStarts;
    site.lastStartMs = m_clock.elapsed();
}

void SiteGate::ended(const QString& url) {
    if (!m_respectRobots)
        return;
    Site& site = m_sites[siteOf(url)];
    site.running = std::max(0, site.running - 1);
}

void SiteGate::startRun() {
    for (Site& site : m_sites)
        site.runStarts = 0;
}

QString SiteGate::skipReason(const QString& url) const {
    if (!m_sites.value(siteOf(url)).rules.allows(pathOf(url)))
        return QStringLiteral("is disallowed by its site's robots.txt");
    return QStringLiteral("would wait longer than the %1 s its site's Crawl-delay may hold a run")
        .arg(m_delayHoldMs / 1000.0);
}

// One reading per site at a time; its answer, whatever it is, makes the
// site known.
void SiteGate::readRobots(const QString& site) {
    if (m_reading.contains(site))
        return;
    auto* downloader = new Downloader(this);
    downloader->setUserAgent(m_userAgent);
    m_reading.insert(site, downloader);
    connect(downloader, &Downloader::stateChanged, this,
            [this, site, downloader](int state) { robotsArrived(site, downloader, state); });
    downloader->execute(site + QStringLiteral("/robots.txt"), kRobotsCharacters);
}

void SiteGate::robotsArrived(const QString& key, Downloader* downloader, int state) {
    Site& site = m_sites[key];
    site.known = true;
    const bool read = state == Downloader::ResponseCompleted && downloader->status() >= 200 &&
                      downloader->status() < 300;
    if (read)
        site.rules =
            RobotsRules::parse(downloader->getChunk(), RobotsRules::productToken(m_userAgent));
    m_reading.remove(key);
    downloader->deleteLater();
    Q_EMIT ready();
}

qint64 SiteGate::waitMs(const Site& site) const {
    if (site.lastStartMs < 0)
        return 0;
    return site.lastStartMs + site.rules.crawlDelayMs() - m_clock.elapsed();
}

// The site's requests in this run, each its Crawl-delay after the one
// before, would start the next one past the time the run gives the site.
bool SiteGate::heldPastRun(const Site& site) const {
    return qint64(site.runStarts) * site.rules.crawlDelayMs() > m_delayHoldMs;
}

// The earliest of the delays asked for wakes the callers.
void SiteGate::wakeAfter(qint64 milliseconds) {
    if (m_wake.isActive() && m_wake.remainingTime() <= milliseconds)
        return;
    m_wake.start(static_cast<int>(milliseconds));
}
