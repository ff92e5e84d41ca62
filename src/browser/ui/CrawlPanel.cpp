#include "browser/ui/CrawlPanel.h"

#include "browser/BrowserController.h"
#include "browser/ui/HarvestPanel.h"
#include "browser/ui/PageReaderDrive.h"
#include "browser/ui/PanelHost.h"
#include "browser/ui/WebView.h"
#include "harvest/ContactFinder.h"
#include "harvest/FullReport.h"
#include "web/Crawler.h"
#include "web/SiteGate.h"

#include <QWidget>

namespace {

using View = BrowserController::View;

} // namespace

CrawlPanel::CrawlPanel(BrowserController& controller, PanelHost& window, Prompts& prompts)
    : m_controller(controller), m_window(window), m_prompts(prompts),
      m_reportPage(controller.homeFolder()) {
    const auto keywords = [this] { return m_controller.searchWords(); };
    m_crawler = new Crawler(controller.harvest(), prompts, keywords, this);
    m_reader = new PageReaderDrive(controller.harvest(), window.worker2(), keywords, this);
    useSettings();
    connect(&controller.settings(), &StartupSettings::changed, this, &CrawlPanel::useSettings);
    m_crawler->setGate(controller.siteGate());
    m_reader->setGate(controller.siteGate());
    connectCrawler();
    connectReader();
}

CrawlPanel::~CrawlPanel() = default;

// The window keeps the specified pace unless the settings ask for robots.txt
// to be respected.
void CrawlPanel::useSettings() {
    const auto settings = SiteGate::Settings::from(m_controller.settings().values(), false);
    m_controller.siteGate().setRespectRobots(settings.respectRobots);
    m_controller.siteGate().setUserAgent(settings.userAgent);
    m_crawler->setUserAgent(settings.userAgent);
    m_window.worker2().setUserAgent(settings.userAgent);
    m_window.worker4().setUserAgent(settings.userAgent);
}

void CrawlPanel::connectCrawler() {
    connect(m_crawler, &Crawler::statusChanged, &m_controller, &BrowserController::setStatusText);
    connect(m_crawler, &Crawler::matchFound, this,
            [this](const QString& row) { m_window.view(View::View1).appendHtml(row); });
    connect(m_crawler, &Crawler::pageReaderStepWanted, m_reader, &PageReaderDrive::step);
    connect(m_crawler, &Crawler::fullReportRequested, this, &CrawlPanel::createFullReport);
    connect(m_crawler, &Crawler::progressChanged, this,
            [this](qsizetype done, qsizetype total) { m_window.showProgress(done, total); });
}

void CrawlPanel::connectReader() {
    WebView& view1 = m_window.view(View::View1);
    m_reader->setKeywordSearch([this] { return m_crawler->keywordSearch(); });
    m_reader->setView1Busy([&view1] { return view1.busy(); });
    connect(&view1, &WebView::downloadComplete, m_reader, &PageReaderDrive::view1Idle);
    connect(m_reader, &PageReaderDrive::statusChanged, &m_controller,
            &BrowserController::setStatusText);
    connect(m_reader, &PageReaderDrive::progressChanged, this,
            [this](qsizetype done, qsizetype total) { m_window.showProgress(done, total); });
    connect(m_reader, &PageReaderDrive::reportReady, this, &CrawlPanel::showFullReport);
}

void CrawlPanel::findKeywords() {
    if (!m_crawler->findKeywords())
        m_window.focusSearchWords();
}

void CrawlPanel::findEmail() {
    QStringList keywords = m_controller.searchWords();
    const auto start = ContactFinder::findEmail(m_controller.harvest(), keywords, m_prompts);
    startCrawl(keywords, start.statusPanel2);
}

void CrawlPanel::findContact() {
    QStringList keywords = m_controller.searchWords();
    const auto start = ContactFinder::findContact(m_controller.harvest(), keywords, m_prompts);
    startCrawl(keywords, start.statusPanel2);
}

void CrawlPanel::startCrawl(const QStringList& keywords, const QString& statusPanel2) {
    m_controller.replaceSearchWords(keywords);
    m_controller.setStatusText(2, statusPanel2);
    m_crawler->dispatch();
}

void CrawlPanel::createFullReport() {
    const FullReport::Start start = FullReport::start(m_controller.harvest(), m_prompts);
    if (start.collectImages)
        m_controller.harvest().setCollectImages(true);
    if (start.hideLinkList)
        m_window.harvest().linkEditor()->hide();
    if (!start.refused.isEmpty())
        m_controller.setStatusText(1, BrowserController::refusedText(start.refused.first()));
    if (start.readPages)
        m_reader->start();
}

void CrawlPanel::readNext() {
    m_reader->readNext();
}

void CrawlPanel::stop() {
    m_crawler->stop();
    m_reader->stop();
}

// The report goes into view 1 whether it is shown or not; the searches'
// flags end with it.
void CrawlPanel::showFullReport(const QStringList& writes) {
    if (const auto path = m_reportPage.write(writes.join(QString())))
        m_window.view(View::View1).navigate(*path);
    m_crawler->clearKeywordSearch();
    m_controller.harvest().setCollectImages(false);
}
