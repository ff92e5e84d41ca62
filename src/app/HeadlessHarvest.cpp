#include "app/HeadlessHarvest.h"

#include "browser/ui/PageReaderDrive.h"
#include "harvest/ContactFinder.h"
#include "harvest/DocumentSnapshot.h"
#include "harvest/FullReport.h"
#include "harvest/LinkHarvester.h"
#include "harvest/PageReader.h"
#include "harvest/ReportFile.h"
#include "harvest/WebMarkup.h"
#include "web/Crawler.h"

#include <QEventLoop>
#include <QPointer>

int HeadlessHarvest::run(const HarvestCommand& command, QTextStream& err) {
    HeadlessHarvest harvest(command, err);
    QEventLoop loop;
    int exitCode = 1;
    QObject::connect(&harvest, &HeadlessHarvest::finished, &loop, [&loop, &exitCode](int code) {
        exitCode = code;
        loop.quit();
    });
    harvest.start();
    loop.exec();
    return exitCode;
}

HeadlessHarvest::HeadlessHarvest(const HarvestCommand& command, QTextStream& err)
    : m_command(command), m_err(err),
      m_prompts(err,
                [this](const QString& text, const QString& title) { return answer(text, title); }),
      m_startPage(WebView::Kind::Hidden), m_readerPage(WebView::Kind::Hidden) {
    const auto keywords = [this] { return m_keywords; };
    m_crawler = new Crawler(m_state, m_prompts, keywords, this);
    m_reader = new PageReaderDrive(m_state, m_readerPage, keywords, this);
    // Nobody is there to press "Read next": a page that times out never
    // stops the reader.
    m_reader->setKeywordSearch([] { return true; });
    m_loadTimeout.setSingleShot(true);
    m_loadTimeout.setInterval(PageReader::kTimeoutMs);
    connect(&m_loadTimeout, &QTimer::timeout, this, &HeadlessHarvest::startPageTimedOut);
    connect(&m_startPage, &WebView::documentComplete, this, &HeadlessHarvest::startPageShown);
    connect(&m_startPage, &WebView::pageStopped, this, &HeadlessHarvest::startPageStopped);
    connect(m_crawler, &Crawler::pageFailed, this, [this](const QString& url) {
        leaveOut(url, WebMarkup::isPageAddress(url) ? "could not be read" : "is not a web page");
    });
    connect(m_reader, &PageReaderDrive::pageFailed, this,
            [this](const QString& url) { leaveOut(url, "could not be shown"); });
    useGate();
    connect(m_crawler, &Crawler::progressChanged, this, &HeadlessHarvest::showCrawlProgress);
    connect(m_crawler, &Crawler::finished, this, &HeadlessHarvest::readFoundPages);
    connect(m_reader, &PageReaderDrive::statusChanged, this, [this](int panel, const QString& url) {
        if (panel == 1)
            m_err << "Reading " << url << Qt::endl;
    });
    connect(m_reader, &PageReaderDrive::reportReady, this, &HeadlessHarvest::writeReport);
}

HeadlessHarvest::~HeadlessHarvest() = default;

// One gate for the crawl and the reading, so each site's robots.txt is read
// once in the run. Respected unless the command or the settings say not to.
void HeadlessHarvest::useGate() {
    const auto settings = SiteGate::Settings::from(StartupSettings::read(), true);
    m_gate.setRespectRobots(m_command.respectRobots.value_or(settings.respectRobots));
    m_gate.setUserAgent(settings.userAgent);
    m_crawler->setUserAgent(settings.userAgent);
    m_startPage.setUserAgent(settings.userAgent);
    m_readerPage.setUserAgent(settings.userAgent);
    m_crawler->setGate(m_gate);
    m_reader->setGate(m_gate);
    connect(m_crawler, &Crawler::pageSkipped, this, &HeadlessHarvest::skip);
    connect(m_reader, &PageReaderDrive::pageSkipped, this, &HeadlessHarvest::skip);
}

void HeadlessHarvest::skip(const QString& url) {
    ++m_skipped;
    leaveOut(url, m_gate.skipReason(url));
}

// The crawl's final question is answered Yes (the report is what the run is
// for); the picture question by --images.
bool HeadlessHarvest::answer(const QString& text, const QString&) const {
    if (text == QLatin1String("Would You like collect images ?"))
        return m_command.images;
    return true;
}

void HeadlessHarvest::start() {
    loadNextStartPage();
}

void HeadlessHarvest::loadNextStartPage() {
    if (m_nextStartPage == m_command.urls.size())
        return crawl();
    const QString& url = m_command.urls.at(m_nextStartPage++);
    m_err << "Getting links from " << url << Qt::endl;
    ++m_startGeneration;
    m_startPage.navigate(url);
    m_loadTimeout.start();
}

// The time-out runs on until the snapshot has answered.
void HeadlessHarvest::startPageShown() {
    const int generation = m_startGeneration;
    QPointer<HeadlessHarvest> alive(this);
    m_startPage.snapshot([this, alive, generation](const DocumentSnapshot& document) {
        if (!alive || generation != m_startGeneration)
            return;
        m_loadTimeout.stop();
        takeLinks(document);
        loadNextStartPage();
    });
}

// The page is made afresh rather than stopped: an engine still busy with a
// page's scripts would not answer the next page either.
void HeadlessHarvest::startPageTimedOut() {
    ++m_startGeneration;
    leaveOut(m_command.urls.at(m_nextStartPage - 1), "did not load");
    m_startPage.restart();
    loadNextStartPage();
}

void HeadlessHarvest::startPageStopped() {
    if (!m_loadTimeout.isActive())
        return;
    ++m_startGeneration;
    m_loadTimeout.stop();
    leaveOut(m_command.urls.at(m_nextStartPage - 1), "stopped");
    loadNextStartPage();
}

void HeadlessHarvest::leaveOut(const QString& url, const QString& why) {
    m_err << "quillmart: " << url << ' ' << why << "; it is left out" << Qt::endl;
}

void HeadlessHarvest::takeLinks(const DocumentSnapshot& document) {
    if (!document.isLoadedPage()) {
        leaveOut(m_command.urls.at(m_nextStartPage - 1), "could not be loaded");
        return;
    }
    ++m_startPagesRead;
    const GetLinksResult result = LinkHarvester(m_state).getAllLinks({document}, QString());
    m_err << result.countText << Qt::endl;
}

void HeadlessHarvest::crawl() {
    if (m_startPagesRead == 0) {
        m_err << "quillmart: none of the pages could be loaded; no report written" << Qt::endl;
        return Q_EMIT finished(1);
    }
    m_linkFindings = m_state.findings;
    m_err << "Crawling " << m_state.linkList.size() << " pages" << Qt::endl;
    switch (m_command.search) {
    case HarvestCommand::Search::Keywords:
        m_keywords = m_command.keywords;
        m_crawler->findKeywords();
        break;
    case HarvestCommand::Search::Email:
        ContactFinder::findEmail(m_state, m_keywords, m_prompts);
        m_crawler->dispatch();
        break;
    case HarvestCommand::Search::Contact:
        ContactFinder::findContact(m_state, m_keywords, m_prompts);
        m_crawler->dispatch();
        break;
    }
}

// One line per whole per cent.
void HeadlessHarvest::showCrawlProgress(qsizetype done, qsizetype total) {
    if (total == 0)
        return;
    const int percent = static_cast<int>(done * 100 / total);
    if (percent == m_shownPercent)
        return;
    m_shownPercent = percent;
    m_err << "Crawled " << done << " of " << total << " pages" << Qt::endl;
}

void HeadlessHarvest::readFoundPages(qsizetype foundCount) {
    m_err << "Found " << foundCount << " pages" << Qt::endl;
    if (foundCount == 0) {
        // Nothing to read: the report is empty, without the link rows.
        m_state.clearReport();
        return writeReport();
    }
    const FullReport::Start start = FullReport::start(m_state, m_prompts);
    m_state.collectImages = start.collectImages;
    m_reader->start();
}

void HeadlessHarvest::writeReport() {
    if (m_skipped > 0)
        m_err << m_skipped << " pages left out by robots.txt" << Qt::endl;
    m_state.findings = m_linkFindings + m_state.findings;
    const Expected<void> written = ReportFile::write(m_state, m_command.report, m_command.format);
    if (!written) {
        m_err << "quillmart: " << written.error() << Qt::endl;
        return Q_EMIT finished(1);
    }
    m_err << "Report written to " << m_command.report << " (" << m_state.reportBuffer.size()
          << " rows)" << Qt::endl;
    Q_EMIT finished(0);
}
