#include "browser/ui/BufferPanel.h"

#include "browser/BrowserController.h"
#include "browser/PictureCollector.h"
#include "browser/ui/PanelHost.h"
#include "browser/ui/WebView.h"
#include "buffers/BufferFile.h"
#include "buffers/PictureDoubleClick.h"
#include "harvest/DocumentSnapshot.h"
#include "harvest/LinkHarvester.h"
#include "platform/Prompts.h"
#include "project/ui/GeneratorWindow.h"

#include <QAction>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QUrl>

namespace {

using View = BrowserController::View;

} // namespace

BufferPanel::BufferPanel(BrowserController& controller, PanelHost& window, Prompts& prompts)
    : m_controller(controller), m_window(window), m_prompts(prompts),
      m_pictures(controller.pictureBuffer, controller.homeFolder()),
      m_page(controller.homeFolder()) {
    connect(&m_controller, &BrowserController::documentArrived, this,
            [this](int which, const DocumentSnapshot& document) {
                if (m_controller.isShown(static_cast<View>(which)))
                    collectPictures(which, document);
            });
    connectView(View::View1);
    connectView(View::View2);
}

BufferPanel::~BufferPanel() = default;

void BufferPanel::connectView(int which) {
    WebView& view = m_window.view(static_cast<View>(which));
    connect(&view, &WebView::documentComplete, this,
            [this, which] { m_armedAtLoad[which] = m_controller.harvest().linksArmed; });
    connect(&view, &WebView::pageMouseOver, this, &BufferPanel::mouseOver);
    connect(&view, &WebView::pageMouseOut, this, &BufferPanel::mouseOut);
    connect(&view, &WebView::pageDoubleClick, this,
            [this, which](const QString& address) { doubleClick(which, address); });
}

void BufferPanel::addPicture(const QString& url) {
    m_pictures.add(url);
}

void BufferPanel::addRamLinks(const QList<RamLink>& links) {
    for (const RamLink& link : links)
        m_mp3.add(link.url);
}

// --- pages the views load ----------------------------------------------------

// Only pages the user sees are collected from (the program's own pages,
// such as the buffers', never reach here).
//
// The page is read a moment after it has loaded. When "Get/Add all Links"
// armed the link hand-over in that moment, the arming is meant for the
// next page, not for this one, which had loaded before the command.
void BufferPanel::collectPictures(int which, const DocumentSnapshot& document) {
    HarvestState& harvest = m_controller.harvest();
    const bool armedForNextPage = harvest.linksArmed && !m_armedAtLoad[which];
    harvest.linksArmed = harvest.linksArmed && !armedForNextPage;
    m_controller.setStatusText(4, PictureCollector(m_pictures, harvest).collect(document));
    harvest.linksArmed = harvest.linksArmed || armedForNextPage;
}

void BufferPanel::mouseOver(const QString& href) {
    if (!m_controller.zone().inPrivateZone())
        m_controller.setStatusText(1, href);
}

void BufferPanel::mouseOut() {
    if (!m_controller.zone().inPrivateZone())
        m_controller.setStatusText(1, QString());
}

void BufferPanel::doubleClick(int which, const QString& address) {
    const QWidget* generator = m_window.generatorWindow();
    PictureDoubleClick::Click click;
    click.inView1 = which == View::View1;
    click.address = address;
    click.generatorShown = generator && generator->isVisible();
    click.selectedEntry = m_window.searchWordsIndex();
    click.searchWords = m_window.searchWordsText();
    switch (PictureDoubleClick(m_pictures, m_catalogs).run(click)) {
    case PictureDoubleClick::Outcome::ToGenerator:
        placeInGenerator(address);
        break;
    case PictureDoubleClick::Outcome::NoCatalogName:
        askForCatalog(click.inView1);
        break;
    case PictureDoubleClick::Outcome::Ignored:
    case PictureDoubleClick::Outcome::AddedToCatalog:
        break;
    }
    m_beep->beep();
}

// One box at a time: a double-click that arrives while the box is open
// does not open another.
void BufferPanel::askForCatalog(bool inView1) {
    if (m_asking)
        return;
    const QScopedValueRollback<bool> asking(m_asking, true);
    m_prompts.message(PictureDoubleClick::noCatalogMessage(inView1));
}

// The address goes into the item editor's "Picture URL" field, and the
// generator comes forward so that the user sees it there.
void BufferPanel::placeInGenerator(const QString& address) {
    QWidget* generator = m_window.generatorWindow();
    if (auto* window = qobject_cast<GeneratorWindow*>(generator))
        window->setPictureUrl(address);
    generator->raise();
    generator->activateWindow();
}

// --- the "Reporting" commands ------------------------------------------------

// Shown through a file, so that a buffer of any size can be shown.
void BufferPanel::showPage(const QString& html) {
    const auto path = m_page.write(html);
    if (!path)
        return;
    m_controller.navigateShown(*path);
}

void BufferPanel::viewCatalog() {
    showPage(m_catalogs.pageHtml(m_window.searchWordsIndex()));
}

void BufferPanel::viewImageBuf() {
    showPage(m_pictures.reportHtml());
}

void BufferPanel::viewMp3() {
    showPage(m_mp3.pageHtml());
}

void BufferPanel::showPictureReport() {
    if (m_reporting)
        return;
    const QScopedValueRollback guard(m_reporting, true);
    viewImageBuf();
}

void BufferPanel::clearCatalog() {
    m_catalogs.clear(m_window.searchWordsIndex());
    m_controller.setStatusText(2, Catalogs::clearedText(m_window.searchWordsText()));
}

void BufferPanel::clearMp3() {
    m_mp3.clear();
}

void BufferPanel::clearImageBuf() {
    m_pictures.clear();
    m_controller.setStatusText(4, PictureBuffer::clearedText());
}

// Each file's content is taken before the dialog, as the user saw the
// buffer when choosing the command.
void BufferPanel::saveCatalog() {
    const QString text = m_catalogs.fileText(m_window.searchWordsIndex());
    BufferFile::save(
        text,
        BufferFile::dialogFilter(BufferFile::Kind::Catalog, m_controller.zone().inPrivateZone()),
        m_prompts, m_controller.homeFolder());
}

void BufferPanel::saveMp3() {
    const QString text = m_mp3.fileText();
    BufferFile::save(
        text, BufferFile::dialogFilter(BufferFile::Kind::Mp3, m_controller.zone().inPrivateZone()),
        m_prompts, m_controller.homeFolder());
}

void BufferPanel::saveImageBuf() {
    const QString text = m_pictures.fileText();
    BufferFile::save(
        text,
        BufferFile::dialogFilter(BufferFile::Kind::Pictures, m_controller.zone().inPrivateZone()),
        m_prompts, m_controller.homeFolder());
}

void BufferPanel::setSaveImageBufEnabled(bool enabled) {
    m_window.enableCommand(QStringLiteral("Save image buf"), enabled);
}
