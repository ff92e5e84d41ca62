#include "browser/ui/HarvestPanel.h"

#include "browser/BrowserController.h"
#include "browser/ui/BufferPanel.h"
#include "browser/ui/PanelHost.h"
#include "browser/ui/WebView.h"
#include "harvest/ContactFinder.h"
#include "harvest/DocumentSnapshot.h"
#include "harvest/LinkHarvester.h"
#include "harvest/LinkListEditor.h"
#include "harvest/ReportCaptions.h"
#include "harvest/ReportFile.h"
#include "harvest/ReportPages.h"
#include "web/LinkWalker.h"
#include "web/SiteGate.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using View = BrowserController::View;

QPushButton* addButton(QLayout* layout, const QString& caption) {
    auto* button = new QPushButton(caption);
    button->setAccessibleName(caption);
    layout->addWidget(button);
    return button;
}

void showItems(QListWidget* list, const QStringList& items) {
    const int current = list->currentRow();
    list->clear();
    list->addItems(items);
    list->setCurrentRow(std::min(current, static_cast<int>(items.size()) - 1));
}

} // namespace

HarvestPanel::HarvestPanel(BrowserController& controller, PanelHost& window, Prompts& prompts)
    : m_controller(controller), m_window(window), m_prompts(prompts),
      m_reportPage(controller.homeFolder()) {
    m_linkEditor = buildLinkEditor();
    m_reportEditor = buildReportEditor();
    m_walkTimeout.setSingleShot(true);
    m_walkTimeout.setInterval(LinkWalker::kTimeoutMs);
    connect(&m_walkTimeout, &QTimer::timeout, this, &HarvestPanel::walkTimedOut);
    WebView& walker = m_window.worker4();
    // The walked page is read once its document has loaded; the walk goes
    // on from there. A load that ends without a document (stopped, or given
    // up) goes on at once.
    connect(&walker, &WebView::documentComplete, this, &HarvestPanel::walkPageArrived);
    connect(&walker, &WebView::downloadComplete, this, [this] {
        if (m_walking && !m_walkReading)
            walkStep();
    });
    connect(&walker, &WebView::pageStopped, this, &HarvestPanel::walkPageStopped);
    connect(&m_controller.siteGate(), &SiteGate::ready, this, [this] {
        if (m_walking && std::exchange(m_walkWaiting, false))
            walkStep();
    });
}

HarvestPanel::~HarvestPanel() = default;

// --- the editors -------------------------------------------------------------

QWidget* HarvestPanel::buildLinkEditor() {
    auto* editor = new QWidget;
    auto* layout = new QHBoxLayout(editor);
    m_links = new QListWidget;
    m_links->setAccessibleName(ReportCaptions::viewLinksListing());
    m_links->viewport()->installEventFilter(this);
    layout->addWidget(m_links, 1);
    auto* buttons = new QVBoxLayout;
    layout->addLayout(buttons);
    connect(addButton(buttons, QStringLiteral("Clear All")), &QPushButton::clicked, this,
            &HarvestPanel::clearLinkList);
    connect(addButton(buttons, QStringLiteral("Hide")), &QPushButton::clicked, editor,
            &QWidget::hide);
    buttons->addStretch();
    connect(m_links, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { excludeLink(m_links->row(item)); });
    editor->hide();
    return editor;
}

QWidget* HarvestPanel::buildReportEditor() {
    auto* editor = new QWidget;
    auto* layout = new QHBoxLayout(editor);
    m_rows = new QListWidget;
    m_rows->setAccessibleName(ReportCaptions::viewReportListing());
    layout->addWidget(m_rows, 1);
    auto* buttons = new QVBoxLayout;
    layout->addLayout(buttons);
    connect(addButton(buttons, ReportCaptions::clearAllLinks()), &QPushButton::clicked, this,
            &HarvestPanel::clearReportBuffer);
    connect(addButton(buttons, ReportCaptions::close()), &QPushButton::clicked, this, [this] {
        m_listing.close();
        m_reportEditor->hide();
    });
    buttons->addStretch();
    connect(m_rows, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { removeReportRow(m_rows->row(item)); });
    editor->hide();
    return editor;
}

void HarvestPanel::refreshLists() {
    showItems(m_links, m_controller.harvest().linkList);
    showItems(m_rows, m_controller.harvest().reportBuffer);
}

void HarvestPanel::toggleLinkEditor() {
    refreshLists();
    m_linkEditor->setVisible(m_linkEditor->isHidden());
}

void HarvestPanel::clearLinkList() {
    m_window.view(View::View1).stop();
    m_controller.setStatusText(3, LinkListEditor(m_controller.harvest()).clearAll());
    m_linkEditor->hide();
    refreshLists();
}

void HarvestPanel::excludeLink(int row) {
    if (const auto text = LinkListEditor(m_controller.harvest()).exclude(row))
        m_controller.setStatusText(3, *text);
    refreshLists();
}

bool HarvestPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_links->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::RightButton) {
            openLink(press->position().toPoint());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

// The right mouse button opens the entry under the mouse (else the selected one).
void HarvestPanel::openLink(const QPoint& position) {
    QListWidgetItem* item = m_links->itemAt(position);
    if (!item)
        item = m_links->currentItem();
    if (item)
        m_controller.openHarvested(item->text());
}

void HarvestPanel::showReportListing() {
    refreshLists();
    m_listing.show();
    m_reportEditor->show();
}

void HarvestPanel::clearReportBuffer() {
    m_controller.setStatusText(2, m_listing.clearAllLinks(m_controller.harvest()));
    m_reportEditor->hide();
    refreshLists();
}

void HarvestPanel::removeReportRow(int row) {
    if (m_listing.removeRow(m_controller.harvest(), row))
        refreshLists();
}

// --- getting links -----------------------------------------------------------

void HarvestPanel::getAllLinks(const std::function<void()>& then) {
    m_controller.setStatusText(1, LinkHarvester::workingText());
    m_controller.harvest().armLinks();
    QList<int> shown;
    for (const View which : {View::View1, View::View2})
        if (m_controller.isShown(which))
            shown << which;
    collectSnapshots(shown, {}, [this, then](const QList<DocumentSnapshot>& documents) {
        const GetLinksResult result = LinkHarvester(m_controller.harvest())
                                          .getAllLinks(documents, m_window.searchWordsText());
        m_controller.setStatusText(1, result.activityText);
        m_controller.setStatusText(2, result.countText);
        m_window.buffers().addRamLinks(result.ramLinks);
        refreshLists();
        if (then)
            then();
    });
}

// Reads the views one after the other, as each snapshot arrives.
void HarvestPanel::collectSnapshots(
    QList<int> views, QList<DocumentSnapshot> taken,
    const std::function<void(const QList<DocumentSnapshot>&)>& done) {
    if (views.isEmpty())
        return done(taken);
    const auto which = static_cast<View>(views.takeFirst());
    QPointer<HarvestPanel> alive(this);
    m_window.view(which).snapshot([=, this](const DocumentSnapshot& document) mutable {
        if (!alive)
            return;
        taken << document;
        collectSnapshots(views, taken, done);
    });
}

void HarvestPanel::getLinksAndWalk() {
    // A walk is a run of the gate.
    getAllLinks([this] {
        m_walking = true;
        m_controller.siteGate().startRun();
        walkStep();
    });
}

void HarvestPanel::clearAndGetLinks() {
    m_controller.harvest().clearLinksAndReport();
    getAllLinks();
}

void HarvestPanel::addLink() {
    QPointer<HarvestPanel> alive(this);
    m_window.view(View::View1).snapshot([this, alive](const DocumentSnapshot& document) {
        if (!alive)
            return;
        QStringList keywords = m_controller.searchWords();
        ContactFinder::addLink(document.url.isEmpty() ? nullptr : &document, m_controller.harvest(),
                               keywords, m_controller.harvest().collectImages, m_prompts);
        m_controller.replaceSearchWords(keywords);
        refreshLists();
    });
}

// --- reports -----------------------------------------------------------------

// The page goes through a file, so a report of any size can be shown.
void HarvestPanel::viewReport() {
    if (const auto path = m_reportPage.write(ReportPages::viewReportHtml(m_controller.harvest())))
        m_controller.navigateShown(*path);
}

void HarvestPanel::saveReport() {
    ReportFile::save(m_controller.harvest(), m_controller.zone().inPrivateZone(), m_prompts,
                     m_controller.homeFolder());
}

void HarvestPanel::previousLink() {
    showStep(m_stepper.previous(m_controller.harvest()));
}

void HarvestPanel::nextLink() {
    showStep(m_stepper.next(m_controller.harvest()));
}

void HarvestPanel::showStep(const ReportStepper::Step& step) {
    if (step.acted && m_controller.openHarvested(step.url))
        m_controller.setStatusText(1, step.status);
}

void HarvestPanel::clearFoundUrls() {
    m_controller.setStatusText(2, m_stepper.clearFoundUrls(m_controller.harvest()));
}

// --- the link walker ---------------------------------------------------------

void HarvestPanel::stop() {
    m_controller.harvest().disarmLinks();
    m_walkTimeout.stop();
    m_window.worker4().stop();
    endWalk();
}

void HarvestPanel::endWalk() {
    m_walking = false;
    m_walkReading = false;
    m_walkStart = -1;
    m_walkSkipped = 0;
    m_walkWaiting = false;
    releaseWalkedSite();
    m_walked.clear();
    ++m_walkGeneration;
    m_window.showProgress(0, 0);
}

void HarvestPanel::walkStep() {
    WebView& walker = m_window.worker4();
    if (walker.busy() || m_walkReading)
        return;
    releaseWalkedSite();
    LinkWalker linkWalker(m_controller.harvest(), &m_controller.siteGate());
    const std::optional<QString> url = linkWalker.nextUrl(m_walked);
    for (const QString& skipped : linkWalker.skipped())
        m_controller.setStatusText(1, SiteGate::skippedText(++m_walkSkipped, skipped));
    if (!url) {
        m_walkWaiting = linkWalker.waiting();
        return m_walkWaiting ? refreshLists() : endWalk();
    }
    ++m_walkGeneration;
    m_controller.siteGate().started(*url);
    m_walkedSite = *url;
    walker.navigate(*url);
    m_walkTimeout.start();
    m_controller.setStatusText(1, *url);
    showWalkProgress();
    refreshLists();
}

// The page walked last is done with: its site has a place free again.
void HarvestPanel::releaseWalkedSite() {
    if (!m_walkedSite.isEmpty())
        m_controller.siteGate().ended(std::exchange(m_walkedSite, QString()));
}

// Pages walked of pages walked plus links still to walk: the total grows
// as walked pages add links.
void HarvestPanel::showWalkProgress() {
    const qsizetype visited = m_controller.harvest().visitedLinks.size();
    if (m_walkStart < 0)
        m_walkStart = visited - 1;
    const qsizetype done = visited - 1 - m_walkStart;
    m_window.showProgress(done, done + 1 + m_controller.harvest().linkList.size());
}

// The time-out runs on until the snapshot has answered.
void HarvestPanel::walkPageArrived() {
    if (!m_walking)
        return;
    m_walkReading = true;
    const int generation = m_walkGeneration;
    QPointer<HarvestPanel> alive(this);
    m_window.worker4().snapshot([this, alive, generation](const DocumentSnapshot& document) {
        if (!alive || generation != m_walkGeneration)
            return;
        m_walkTimeout.stop();
        m_walkReading = false;
        const WalkHarvest found = LinkWalker(m_controller.harvest()).harvest(document);
        for (const QString& picture : found.pictures)
            addPicture(picture);
        m_controller.setStatusText(2, found.linksText);
        m_controller.setStatusText(4, LinkWalker::picturesText(m_controller.pictureBuffer.size()));
        refreshLists();
        walkStep();
    });
}

// The page is made afresh rather than stopped: an engine still busy with a
// page's scripts would not answer the next page either.
void HarvestPanel::walkTimedOut() {
    ++m_walkGeneration;
    m_walkReading = false;
    m_window.worker4().restart();
    walkStep();
}

// The walked page's engine stopped: the walk goes on with the next link.
void HarvestPanel::walkPageStopped() {
    if (!m_walking)
        return;
    ++m_walkGeneration;
    m_walkTimeout.stop();
    m_walkReading = false;
    walkStep();
}

void HarvestPanel::addPicture(const QString& url) {
    m_window.buffers().addPicture(url);
}
