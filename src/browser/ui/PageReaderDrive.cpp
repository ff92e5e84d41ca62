#include "browser/ui/PageReaderDrive.h"

#include "browser/ui/WebView.h"
#include "harvest/DocumentSnapshot.h"
#include "harvest/HarvestState.h"
#include "harvest/ReportPages.h"
#include "web/SiteGate.h"

#include <QPointer>
#include <utility>

PageReaderDrive::PageReaderDrive(HarvestState& state, WebView& page,
                                 std::function<QStringList()> keywords, QObject* parent)
    : QObject(parent), m_state(state), m_page(page), m_reader(state),
      m_keywords(std::move(keywords)) {
    m_timeout.setSingleShot(true);
    m_timeout.setInterval(PageReader::kTimeoutMs);
    connect(&m_timeout, &QTimer::timeout, this, &PageReaderDrive::timedOut);
    connect(&m_page, &WebView::documentComplete, this, &PageReaderDrive::pageShown);
    connect(&m_page, &WebView::downloadComplete, this, &PageReaderDrive::pageIdle);
    connect(&m_page, &WebView::pageStopped, this, &PageReaderDrive::pageStopped);
}

void PageReaderDrive::setTimeoutMs(int milliseconds) {
    m_timeout.setInterval(milliseconds);
    m_reader.setTimeoutMs(milliseconds);
}

void PageReaderDrive::setGate(SiteGate& gate) {
    m_gate = &gate;
    connect(m_gate, &SiteGate::ready, this, [this] {
        if (std::exchange(m_waitingForGate, false))
            step();
    });
}

// A full report is a run of the gate.
void PageReaderDrive::start() {
    m_total = 0;
    m_skipped = 0;
    m_reportWaiting = false;
    if (m_gate)
        m_gate->startRun();
    step();
}

void PageReaderDrive::step() {
    if (m_total == 0)
        m_total = m_state.pageQueue.size();
    const bool busy = m_page.busy() || m_reading;
    // A page still letting go of a stopped load reports it only later: the
    // step is taken then, rather than lost.
    if (busy && !m_reading && !m_state.pageQueue.isEmpty())
        m_stepWhenIdle = true;
    if (!busy && !admitFirst())
        return;
    const std::optional<PageReader::Step> next = m_reader.step(busy);
    if (!next)
        return;
    ++m_generation;
    if (m_gate) {
        m_gate->started(next->url);
        m_holdsSite = true;
    }
    m_url = next->url;
    m_page.navigate(next->url);
    m_timeout.start();
    Q_EMIT statusChanged(1, next->statusPanel1);
    Q_EMIT statusChanged(2, next->statusPanel2);
    reportProgress();
}

void PageReaderDrive::readNext() {
    step();
}

// Leaves out the queued pages the gate refuses. False when the first page
// must wait, or when none is left: a queue that only refused pages emptied
// is read to its end all the same.
bool PageReaderDrive::admitFirst() {
    if (!m_gate)
        return true;
    bool skipped = false;
    while (!m_state.pageQueue.isEmpty()) {
        const QString url = m_state.pageQueue.first();
        const SiteGate::Verdict verdict = m_gate->verdict(url);
        if (verdict == SiteGate::Verdict::Go)
            return true;
        if (verdict == SiteGate::Verdict::Wait) {
            m_waitingForGate = true;
            return false;
        }
        m_state.pageQueue.removeFirst();
        skipped = true;
        Q_EMIT pageSkipped(url);
        Q_EMIT statusChanged(1, SiteGate::skippedText(++m_skipped, url));
    }
    if (skipped)
        read(nullptr);
    return false;
}

// The page is done with: its site has a place free again.
void PageReaderDrive::releaseSite() {
    if (std::exchange(m_holdsSite, false))
        m_gate->ended(m_url);
}

void PageReaderDrive::stop() {
    ++m_generation;
    m_waitingForGate = false;
    releaseSite();
    m_stepWhenIdle = false;
    m_reading = false;
    m_timeout.stop();
    m_page.stop();
    m_total = 0;
    reportProgress();
}

void PageReaderDrive::view1Idle() {
    if (!m_reportWaiting || !m_state.pageQueue.isEmpty())
        return;
    m_reportWaiting = false;
    handOverReport(ReportPages::fullReportWrites(m_state));
}

// The document is read once it has loaded, frames and all; a page that only
// changed its address has nothing to read yet. The time-out runs on until
// the snapshot has answered: a page whose scripts keep the engine busy
// never answers.
void PageReaderDrive::pageShown() {
    m_reading = true;
    const int generation = m_generation;
    QPointer<PageReaderDrive> alive(this);
    m_page.snapshot([this, alive, generation](const DocumentSnapshot& document) {
        if (!alive || generation != m_generation)
            return;
        m_timeout.stop();
        m_reading = false;
        releaseSite();
        // A page that could not be loaded has no document to summarise.
        read(document.isLoadedPage() ? &document : nullptr);
    });
}

void PageReaderDrive::read(const DocumentSnapshot* document) {
    const PageReader::Loaded loaded =
        m_reader.pageLoaded(document, m_keywords(), m_state.collectImages, m_view1Busy());
    switch (loaded.next) {
    case PageReader::Next::ReadNext:
        step();
        break;
    case PageReader::Next::WriteReport:
        handOverReport(loaded.reportWrites);
        break;
    case PageReader::Next::Rest:
        // View 1 is loading: the report follows when it is idle.
        m_reportWaiting = true;
        break;
    }
}

// The page is made afresh rather than stopped: an engine still busy with a
// page's scripts would not answer the next page either.
void PageReaderDrive::timedOut() {
    ++m_generation;
    releaseSite();
    m_stepWhenIdle = false;
    m_page.restart();
    m_reading = false;
    Q_EMIT pageFailed(m_url);
    if (!PageReader::timedOut(m_keywordSearch()))
        return reportProgress();
    step();
}

// The page's engine stopped (it crashed, or the page went past its memory
// limit): the page counts as read without a summary, and the reader goes
// on with the next one.
void PageReaderDrive::pageStopped() {
    if (!m_timeout.isActive() && !m_reading)
        return;
    ++m_generation;
    m_timeout.stop();
    m_reading = false;
    m_stepWhenIdle = false;
    releaseSite();
    Q_EMIT pageFailed(m_url);
    read(nullptr);
}

void PageReaderDrive::pageIdle() {
    if (!m_stepWhenIdle)
        return;
    m_stepWhenIdle = false;
    step();
}

void PageReaderDrive::handOverReport(const QStringList& writes) {
    m_total = 0;
    reportProgress();
    Q_EMIT reportReady(writes);
}

// The page being read counts as not read yet.
void PageReaderDrive::reportProgress() {
    const qsizetype left = m_state.pageQueue.size() + (m_page.busy() || m_reading ? 1 : 0);
    if (m_total != 0)
        m_total = std::max(m_total, left);
    Q_EMIT progressChanged(m_total == 0 ? 0 : m_total - left, m_total);
}
