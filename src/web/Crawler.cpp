#include "web/Crawler.h"

#include "harvest/HarvestState.h"
#include "harvest/WebMarkup.h"
#include "platform/Prompts.h"
#include "web/Downloader.h"
#include "web/SiteGate.h"

#include <QSet>
#include <QTimer>
#include <algorithm>
#include <utility>

Crawler::Crawler(HarvestState& state, Prompts& prompts, std::function<QStringList()> keywords,
                 QObject* parent)
    : QObject(parent), m_state(state), m_prompts(prompts), m_keywords(std::move(keywords)),
      m_gate(new SiteGate(this)) {
    connect(m_gate, &SiteGate::ready, this, &Crawler::gateReady);
    for (int index = 0; index < kDownloaderCount; ++index) {
        // Each downloader has a network access manager of its own. One
        // manager queues its requests to a server on a few shared
        // connections, and when a connection fails for good (a server that
        // closes without answering, once the one retry is spent) it fails
        // every request still waiting for a connection to that server with
        // it, unsent: one bad page would lose the pages of the other
        // downloaders.
        auto* downloader = new Downloader(this);
        // The crawler's own timers guard the requests.
        downloader->setTimeout(0);
        connect(downloader, &Downloader::stateChanged, this,
                [this, index](int state) { stateChanged(index, state); });
        auto* timer = new QTimer(this);
        timer->setSingleShot(true);
        timer->setInterval(m_timeoutMs);
        connect(timer, &QTimer::timeout, this, [this, index] { timedOut(index); });
        m_downloaders[index] = downloader;
        m_timers[index] = timer;
    }
}

Crawler::~Crawler() {
    for (Downloader* downloader : m_downloaders)
        downloader->cancel();
}

void Crawler::setGate(SiteGate& gate) {
    disconnect(m_gate, nullptr, this, nullptr);
    m_gate = &gate;
    connect(m_gate, &SiteGate::ready, this, &Crawler::gateReady);
}

void Crawler::setUserAgent(const QString& userAgent) {
    for (Downloader* downloader : m_downloaders)
        downloader->setUserAgent(userAgent);
}

void Crawler::setTimeoutMs(int milliseconds) {
    m_timeoutMs = milliseconds;
    for (QTimer* timer : m_timers)
        timer->setInterval(milliseconds);
}

bool Crawler::findKeywords() {
    if (m_state.linkList.isEmpty())
        m_prompts.message(QStringLiteral("You need get links before, click on 'Links Editor' menu "
                                         "and next click 'Get Links'"),
                          QStringLiteral("Warning!!!"));
    status(1, QString());
    status(2, QString());
    m_keywordSearch = true;
    if (m_keywords().isEmpty()) {
        m_prompts.message(QStringLiteral("You need enter keywords first!!!"),
                          QStringLiteral("Warning!!!"));
        return false;
    }
    dispatch();
    return true;
}

// The crawl ends once no link is left to start and no downloader is busy.
// A crawl is a run of the gate.
void Crawler::dispatch() {
    if (m_total == 0) {
        m_total = m_state.linkList.size() + busyCount();
        m_gate->startRun();
    }
    for (int index = 0; index < kDownloaderCount; ++index) {
        if (!m_downloaders[index]->stillExecuting() && !startNext(index))
            break;
    }
    if (m_state.linkList.isEmpty() && !busy()) {
        finish();
        return;
    }
    status(2, leftText(m_state.linkList.size()));
    reportProgress();
}

void Crawler::stop() {
    for (int index = kDownloaderCount - 1; index >= 0; --index) {
        m_timers[index]->stop();
        if (m_downloaders[index]->stillExecuting())
            m_state.linkList.prepend(m_downloaders[index]->url());
        release(index);
    }
    if (m_total == 0)
        return;
    m_total = 0;
    m_skipped = 0;
    status(2, leftText(m_state.linkList.size()));
    reportProgress();
}

bool Crawler::busy() const {
    return busyCount() > 0;
}

qsizetype Crawler::busyCount() const {
    return std::count_if(m_downloaders.begin(), m_downloaders.end(),
                         [](const Downloader* downloader) { return downloader->stillExecuting(); });
}

void Crawler::reportProgress() {
    const qsizetype left = m_state.linkList.size() + busyCount();
    // Links added while the crawl runs join it.
    if (m_total != 0)
        m_total = std::max(m_total, left);
    Q_EMIT progressChanged(m_total == 0 ? 0 : m_total - left, m_total);
}

QString Crawler::matchRow(const QString& url) {
    return QStringLiteral("<font face='Arial'><small>") + WebMarkup::anchor(url) +
           WebMarkup::text(url) + QStringLiteral("</a></small></font><br>");
}

QString Crawler::leftText(qsizetype linkCount) {
    return QStringLiteral("Left - %1 pages to read").arg(linkCount);
}

QString Crawler::foundText(qsizetype pageCount) {
    return QStringLiteral("Found - %1 pages").arg(pageCount);
}

QString Crawler::finishText(qsizetype linkCount) {
    return QStringLiteral("Found %1 links with Your Keywords. You may view report by click on "
                          "'View Report' menu item.")
        .arg(linkCount);
}

// Starts the first link the gate lets go, dropping on the way the links it
// refuses; links that must wait stay where they are. An address that is not
// a web page is never fetched (a page could list local files or scripts):
// it fails at once. False when no link could start.
bool Crawler::startNext(int index) {
    // A site found waiting is not asked again in this pass, so a list of
    // many links to one busy site costs a scan of the text, not a verdict
    // for each link.
    QSet<QString> waiting;
    for (qsizetype i = 0; i < m_state.linkList.size();) {
        const QString url = m_state.linkList.at(i);
        if (!waiting.isEmpty() && waiting.contains(SiteGate::siteOf(url))) {
            ++i;
            continue;
        }
        if (!WebMarkup::isPageAddress(url)) {
            m_state.linkList.removeAt(i);
            Q_EMIT pageFailed(url);
            continue;
        }
        const SiteGate::Verdict verdict = m_gate->verdict(url);
        if (verdict == SiteGate::Verdict::Wait) {
            waiting.insert(SiteGate::siteOf(url));
            ++i;
            continue;
        }
        m_state.linkList.removeAt(i);
        if (verdict == SiteGate::Verdict::Skip) {
            ++m_skipped;
            Q_EMIT pageSkipped(url);
            status(1, SiteGate::skippedText(m_skipped, url));
            continue;
        }
        m_gate->started(url);
        m_running[index] = true;
        m_downloaders[index]->execute(url, kChunkSize);
        m_timers[index]->start();
        status(1, url);
        return true;
    }
    return false;
}

// The request, if any, is over: its site has a place free again.
void Crawler::release(int index) {
    m_timers[index]->stop();
    m_downloaders[index]->cancel();
    if (std::exchange(m_running[index], false))
        m_gate->ended(m_downloaders[index]->url());
}

void Crawler::gateReady() {
    if (m_total != 0)
        dispatch();
}

// Every downloader treats a failed request alike: it is free at once and
// the crawl goes on, rather than waiting for its time-out.
void Crawler::stateChanged(int index, int state) {
    if (state == Downloader::ResponseCompleted) {
        release(index);
        examine(index);
    } else if (state == Downloader::RequestFailed) {
        release(index);
        Q_EMIT pageFailed(m_downloaders[index]->url());
        dispatch();
        Q_EMIT pageReaderStepWanted();
    }
}

void Crawler::timedOut(int index) {
    release(index);
    Q_EMIT pageFailed(m_downloaders[index]->url());
    dispatch();
}

// Only the first chunk of the response is searched.
void Crawler::examine(int index) {
    const QString text = m_downloaders[index]->getChunk();
    if (matches(text)) {
        const QString url = m_downloaders[index]->url();
        m_state.foundPages.append(url);
        status(2, foundText(m_state.foundPages.size()));
        if (m_keywordSearch)
            Q_EMIT matchFound(matchRow(url));
    }
    dispatch();
}

bool Crawler::matches(const QString& text) const {
    const QStringList keywords = m_keywords();
    return std::any_of(keywords.begin(), keywords.end(), [&text](const QString& keyword) {
        return text.contains(keyword, Qt::CaseInsensitive);
    });
}

// The found pages become the link list, so a later search searches within
// them; the found-pages list itself is kept.
void Crawler::finish() {
    for (QTimer* timer : m_timers)
        timer->stop();
    m_total = 0;
    m_skipped = 0;
    reportProgress();
    m_state.linkList = m_state.foundPages;
    const qsizetype count = m_state.linkList.size();
    const bool wantsReport =
        m_prompts.askYesNo(finishText(count), QStringLiteral("Would You Like to see a report?"));
    Q_EMIT finished(count);
    if (wantsReport)
        Q_EMIT fullReportRequested();
}

void Crawler::status(int panel, const QString& text) {
    Q_EMIT statusChanged(panel, text);
}
