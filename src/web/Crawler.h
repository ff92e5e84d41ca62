#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

class Downloader;
class Prompts;
class QTimer;
class HarvestState;
class SiteGate;

// The keyword crawl: four downloaders take the link list from its front,
// read the first 32000 characters of each page and keep the pages that
// contain one of the keywords (the search-words box's items, read at each
// page, case-insensitively, markup included) in the found-pages list. Each
// request is guarded by its own time-out. When the link list is empty and
// every downloader is idle the crawl ends: the link list then holds the found
// pages, so a later search searches within them, and the user is offered
// the full report.
//
// The four downloaders are independent, each with its own connections: a
// request that fails frees its downloader at once and touches no other; one
// that never answers is cancelled by its time-out. Either way the next URL
// is started.
class Crawler : public QObject {
    Q_OBJECT

public:
    static constexpr int kDownloaderCount = 4;
    static constexpr int kChunkSize = 32000;
    static constexpr int kTimeoutMs = 30000;

    // `keywords` gives the search-words box's current items.
    Crawler(HarvestState& state, Prompts& prompts, std::function<QStringList()> keywords,
            QObject* parent = nullptr);
    ~Crawler() override;

    // The gate shared with the page reader; the crawler's own until set.
    SiteGate& gate() const { return *m_gate; }
    void setGate(SiteGate& gate);
    // The User-Agent of the crawl's requests.
    void setUserAgent(const QString& userAgent);

    // How long one request may run before it is cancelled.
    int timeoutMs() const { return m_timeoutMs; }
    void setTimeoutMs(int milliseconds);

    // "Find keywords". False when there are no keywords: the window then
    // puts the input focus into the search-words box.
    bool findKeywords();
    // Starts idle downloaders on the front of the link list, or finishes the
    // crawl when there is nothing left to read and none is busy. "Find
    // e-mail" and "Find contact" run it once they have set their keywords.
    void dispatch();
    // The Stop button: cancels the four requests and their time-outs and
    // ends the crawl without its prompt. The pages not read yet, including
    // the ones being read, stay in the link list for a later search.
    void stop();

    // While set, matching pages are written live into view 1, and a
    // page-reader time-out goes on with the next page. The page reader
    // clears it when it writes the full report.
    bool keywordSearch() const { return m_keywordSearch; }
    void clearKeywordSearch() { m_keywordSearch = false; }

    bool busy() const;

    // The row written into view 1 for a matching page.
    static QString matchRow(const QString& url);
    // What the status panels show.
    static QString leftText(qsizetype linkCount);
    static QString foundText(qsizetype pageCount);
    static QString finishText(qsizetype linkCount);

Q_SIGNALS:
    // Status panel 1 or 2 shows `text`.
    void statusChanged(int panel, const QString& text);
    // A document write into view 1 during "Find keywords".
    void matchFound(const QString& rowHtml);
    // A request failed: the window runs one page-reader step.
    void pageReaderStepWanted();
    // The page could not be read: its request failed or timed out.
    void pageFailed(const QString& url);
    // The site's robots.txt keeps the page out; it is not requested.
    void pageSkipped(const QString& url);
    // The crawl ended and its prompt was answered.
    void finished(qsizetype foundCount);
    // The user answered Yes to the final prompt: run "Create Full Report".
    void fullReportRequested();
    // Pages read of the pages this crawl has to read; a total of 0 means
    // no crawl is running any more.
    void progressChanged(qsizetype done, qsizetype total);

private:
    void stateChanged(int index, int state);
    void timedOut(int index);
    bool startNext(int index);
    void release(int index);
    void gateReady();
    void examine(int index);
    bool matches(const QString& text) const;
    void finish();
    void status(int panel, const QString& text);
    void reportProgress();
    qsizetype busyCount() const;

    HarvestState& m_state;
    Prompts& m_prompts;
    std::function<QStringList()> m_keywords;
    std::array<Downloader*, kDownloaderCount> m_downloaders{};
    std::array<QTimer*, kDownloaderCount> m_timers{};
    // Which downloaders hold a place at their site's gate.
    std::array<bool, kDownloaderCount> m_running{};
    SiteGate* m_gate;
    qsizetype m_skipped = 0;
    int m_timeoutMs = kTimeoutMs;
    bool m_keywordSearch = false;
    // The pages of the running crawl: read so far plus still to read.
    qsizetype m_total = 0;
};
