#pragma once

#include <QString>
#include <QStringList>
#include <optional>

struct DocumentSnapshot;
class HarvestState;

// The page reader's decisions. It reads the page queue one page at a time
// into page summaries for the full report. The window owns the hidden page
// and the time-out timer: at each step it opens the URL `step` gives and
// starts the timer; on each navigation-complete it stops the timer and hands
// over the snapshot (`pageLoaded`); on a time-out it stops the page and the
// timer and asks `timedOut` whether to step again.
class PageReader {
public:
    static constexpr int kTimeoutMs = 30000;

    // A page to open and the two status panels to show meanwhile.
    struct Step {
        QString url;
        QString statusPanel1;
        QString statusPanel2;
    };

    // What to do after a page has loaded.
    enum class Next {
        Rest,        // nothing: view 1 is busy, the report waits
        ReadNext,    // run a step
        WriteReport, // write `reportWrites` into view 1 and clear both flags
    };
    struct Loaded {
        Next next = Next::Rest;
        QStringList summaryRows;  // what went into the report buffer
        QStringList reportWrites; // the full report, for WriteReport
    };

    explicit PageReader(HarvestState& state);

    int timeoutMs() const { return m_timeoutMs; }
    void setTimeoutMs(int milliseconds) { m_timeoutMs = milliseconds; }

    // Takes the first queued URL; nothing while the hidden page is busy or
    // the queue is empty.
    std::optional<Step> step(bool viewBusy);
    // A navigation-complete of the hidden page (for the page or one of its
    // frames): its summary, with `document` null when the page has none,
    // goes into the report buffer.
    Loaded pageLoaded(const DocumentSnapshot* document, const QStringList& keywords,
                      bool collectImages, bool view1Busy);
    // The time-out: the page that timed out has already left the queue and
    // is skipped; the queue keeps every page after it. True when the reader
    // goes on at once (only during a keyword search); otherwise it rests
    // until "Read next", which reads the next queued page.
    static bool timedOut(bool keywordSearch) { return keywordSearch; }

    static QString leftText(qsizetype queueCount);

private:
    HarvestState& m_state;
    int m_timeoutMs = kTimeoutMs;
};
