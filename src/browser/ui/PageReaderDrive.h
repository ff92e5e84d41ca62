#pragma once

#include "harvest/PageReader.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>

struct DocumentSnapshot;
class HarvestState;
class SiteGate;
class WebView;

// Reads the page queue, one page at a time, in a hidden page: each page that
// finishes loading is read as a snapshot into a page summary for the full
// report; a page that takes longer than the time-out is stopped. When the
// queue is empty the full report is handed over, once view 1 is idle.
class PageReaderDrive : public QObject {
    Q_OBJECT

public:
    PageReaderDrive(HarvestState& state, WebView& page, std::function<QStringList()> keywords,
                    QObject* parent = nullptr);

    void setTimeoutMs(int milliseconds);
    const QTimer& timeout() const { return m_timeout; }
    // Asked after a time-out: the reader goes on only during a keyword search.
    void setKeywordSearch(std::function<bool()> running) { m_keywordSearch = std::move(running); }
    // Asked before each page: a page its site's robots.txt disallows is
    // left out, and the reader waits while the gate says so.
    void setGate(SiteGate& gate);
    // Whether view 1 is loading; the report waits for it (see view1Idle).
    void setView1Busy(std::function<bool()> busy) { m_view1Busy = std::move(busy); }

    // The queue has been filled: counts its pages for the progress and runs
    // a step.
    void start();
    // Opens the first queued page, unless the hidden page is busy.
    void step();
    // "Read next": opens the next queued page (the reader rests after a
    // time-out outside a keyword search, or after Stop).
    void readNext();
    // The Stop button: the page stops loading and the reader rests; the
    // queue stays as it is for "Read next".
    void stop();
    // View 1 has finished loading: a full report that waited for it is
    // handed over now.
    void view1Idle();

Q_SIGNALS:
    void statusChanged(int panel, const QString& text);
    // Pages read of the pages queued; a total of 0 means the reader rests.
    void progressChanged(qsizetype done, qsizetype total);
    // The whole report, as the strings to write into view 1 one after the
    // other. The receiver shows it and clears the search and picture flags.
    void reportReady(const QStringList& writes);
    // The page timed out or its engine stopped: it is left out.
    void pageFailed(const QString& url);
    // The site's robots.txt keeps the page out; it is not opened.
    void pageSkipped(const QString& url);

private:
    bool admitFirst();
    void releaseSite();
    void pageShown();
    void read(const DocumentSnapshot* document);
    void timedOut();
    void pageStopped();
    void pageIdle();
    void handOverReport(const QStringList& writes);
    void reportProgress();

    HarvestState& m_state;
    WebView& m_page;
    PageReader m_reader;
    std::function<QStringList()> m_keywords;
    std::function<bool()> m_keywordSearch = [] { return false; };
    std::function<bool()> m_view1Busy = [] { return false; };
    QTimer m_timeout;
    SiteGate* m_gate = nullptr;
    // The reader waits for the gate; the pages it left out.
    bool m_waitingForGate = false;
    qsizetype m_skipped = 0;
    // The page being read holds a place at its site's gate.
    bool m_holdsSite = false;
    // The page being read.
    QString m_url;
    // Counts the loads, so that a snapshot that comes back late is dropped.
    int m_generation = 0;
    qsizetype m_total = 0;
    // A snapshot is being taken: the page must not move on meanwhile.
    bool m_reading = false;
    bool m_reportWaiting = false;
    // A step wants the next page once the stopped one has let go.
    bool m_stepWhenIdle = false;
};
