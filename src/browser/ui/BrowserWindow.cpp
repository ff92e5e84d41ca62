#include "browser/ui/BrowserWindow.h"

#include "browser/StartPages.h"
#include "browser/ui/AboutBox.h"
#include "browser/ui/BrowserMenus.h"
#include "browser/ui/BufferPanel.h"
#include "browser/ui/ChannelPanel.h"
#include "browser/ui/CrawlPanel.h"
#include "browser/ui/FavouritesPanel.h"
#include "browser/ui/HarvestPanel.h"
#include "browser/ui/PreferencesDialog.h"
#include "browser/ui/TranslationPanel.h"
#include "browser/ui/WebView.h"
#include "browser/ui/ZonePanel.h"
#include "generator/GeneratorController.h"
#include "generator/GeneratorFactory.h"
#include "orders/ui/OrdersDialog.h"
#include "platform/Prompts.h"
#include "project/ui/GeneratorWindow.h"
#include "settings/StartupSettings.h"
#include "translate/LanguagePair.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProcess>
#include <QProgressBar>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

using View = BrowserController::View;
using Command = BrowserController::Command;

const QString kOpenFilter =
    QStringLiteral("HTML file (*.htm;*.html)|*.htm;*.html|Text File (*.txt;*.rtf)|*.txt;*.rtf|") +
    QStringLiteral("MS Word file(*.doc)|*.doc|GIF file(*.gif)|*.gif|JPEG file(*.jpg)|*.jpg|All "
                   "Files(*.*)|*.*|");

// Desktop calculators, in the order they are looked for on PATH.
const QStringList kCalculators = {
    QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"), QStringLiteral("galculator"),
    QStringLiteral("mate-calc"),        QStringLiteral("xcalc"),
};

const QStringList kPanelTips = {
    QStringLiteral("URL"),
    QStringLiteral("Result"),
    QStringLiteral("View links listing"),
    QStringLiteral("Show a picture buffer's contents"),
    QStringLiteral("Clear picture buffer"),
};

QStringList comboItems(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

QComboBox* editableBox(const QString& name) {
    auto* box = new QComboBox;
    box->setEditable(true);
    // Enter is handled by the window, which watches the box itself: the box
    // is the focus widget and hands keys to its line edit by a direct call,
    // past any filter on the line edit. The box neither adds items nor
    // completes what the user types, so the text stays exactly as typed.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    // On Linux a screen reader announces an editable box by its text and
    // finds its caption through the buddy label; the line edit inside is
    // named too, so the caption is heard wherever the reader looks.
    box->setAccessibleName(name);
    box->lineEdit()->setAccessibleName(name);
    box->setToolTip(name);
    return box;
}

// The caption before a toolbar box, its buddy: Alt+letter reaches the box
// and screen readers announce the box by the caption.
QLabel* buddyLabel(const QString& caption, QWidget* box) {
    auto* label = new QLabel(caption);
    label->setBuddy(box);
    return label;
}

} // namespace

BrowserWindow::BrowserWindow(BrowserController& controller, Launcher& launcher, Prompts& prompts,
                             QWidget* parent)
    : QMainWindow(parent), m_controller(controller), m_launcher(launcher), m_prompts(prompts),
      m_makeGenerator([](BrowserWindow& owner) { return owner.makeRealGenerator(); }),
      m_makeAbout([](BrowserWindow& owner) { return owner.makeRealAbout(); }) {
    setWindowTitle(m_controller.caption());
    createViews();
    buildMenus();
    buildMainToolbar();
    addToolBarBreak();
    buildSearchWordsBand();
    buildSearchToolbar();
    addToolBarBreak();
    buildAddressBand();
    buildStatusBar();
    m_channels = std::make_unique<ChannelPanel>(m_controller, *this);
    connectController();
    m_watchdog.setInterval(200);
    m_watchdog.start();
    refresh();
    resize(800, 600);
}

BrowserWindow::~BrowserWindow() {
    m_controller.disconnect(this);
    // The generator window works on a controller this window owns: it goes first.
    delete m_generator;
    m_controller.writePictureBuffer(QStringLiteral("error1.htm"));
}

QString BrowserWindow::addressText() const {
    return m_controller.addressText();
}

void BrowserWindow::preview(const QString& path) {
    m_controller.showOnly(View::View1);
    m_views[View::View1]->navigate(path);
}

WebView& BrowserWindow::view(BrowserController::View which) const {
    return *m_views[which];
}

// --- views -----------------------------------------------------------------

void BrowserWindow::createViews() {
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const View which : {View::View1, View::View2}) {
        m_views[which] = std::make_unique<WebView>(WebView::Kind::Shown);
        m_views[which]->widget()->setAccessibleName(QStringLiteral("Browser %1").arg(which + 1));
        layout->addWidget(m_views[which]->widget());
        connectUserView(which);
    }
    for (auto& worker : m_workers)
        worker = std::make_unique<WebView>(WebView::Kind::Hidden);
    createHarvest(layout);
    setCentralWidget(central);
}

// The link and report editors sit under the views, hidden until asked for.
void BrowserWindow::createHarvest(QLayout* layout) {
    m_harvest = std::make_unique<HarvestPanel>(m_controller, *this, m_prompts);
    m_crawl = std::make_unique<CrawlPanel>(m_controller, *this, m_prompts);
    m_buffers = std::make_unique<BufferPanel>(m_controller, *this, m_prompts);
    m_zone = std::make_unique<ZonePanel>(m_controller, *this, m_prompts);
    m_zone->lists().placeOver(layout->parentWidget());
    m_translation = std::make_unique<TranslationPanel>(m_controller, *this);
    layout->addWidget(m_harvest->linkEditor());
    layout->addWidget(m_harvest->reportEditor());
}

QString BrowserWindow::searchWordsText() const {
    return m_searchWords->currentText();
}

int BrowserWindow::searchWordsIndex() const {
    const int index = m_searchWords->currentIndex();
    if (index < 0 || m_searchWords->itemText(index) != m_searchWords->currentText())
        return -1;
    return index;
}

void BrowserWindow::focusSearchWords() {
    m_searchWords->setFocus();
}

void BrowserWindow::connectUserView(BrowserController::View which) {
    WebView* view = m_views[which].get();
    connect(view, &WebView::navigationBegan, this, [this, which] {
        m_watchdog.start();
        m_controller.navigationBegan(which);
    });
    connect(view, &WebView::navigateComplete, this, [this, which, view](const QString& url) {
        m_watchdog.stop();
        m_controller.navigationComplete(which, url, view->locationName());
        if (m_controller.isShown(which) && !m_controller.zone().inPrivateZone())
            m_watchdog.start();
    });
    connect(view, &WebView::documentComplete, this, [this, which, view] {
        m_watchdog.stop();
        QPointer<BrowserWindow> alive(this);
        view->snapshot([this, alive, which](const DocumentSnapshot& document) {
            if (alive)
                m_controller.documentRead(which, document);
        });
    });
    connect(view, &WebView::downloadComplete, this,
            [this, which, view] { m_controller.downloadComplete(which, view->locationName()); });
}

void BrowserWindow::connectController() {
    connect(&m_controller.settings(), &StartupSettings::changed, this,
            &BrowserWindow::useLocations);
    connect(&m_controller, &BrowserController::navigateRequested, this,
            &BrowserWindow::carryOutNavigation);
    connect(&m_controller, &BrowserController::commandRequested, this,
            &BrowserWindow::carryOutCommand);
    connect(&m_controller, &BrowserController::changed, this, &BrowserWindow::refresh);
}

void BrowserWindow::carryOutNavigation(int view, const QString& url) {
    m_views.at(view)->navigate(url);
}

void BrowserWindow::carryOutCommand(int view, BrowserController::Command command) {
    WebView& target = *m_views.at(view);
    switch (command) {
    case Command::Back:
        return target.goBack();
    case Command::Forward:
        return target.goForward();
    case Command::Refresh:
        return target.refresh();
    case Command::Stop:
        return target.stop();
    case Command::SaveAs:
        return target.execWB(WebView::SaveAs);
    case Command::Print:
        return target.execWB(WebView::Print);
    case Command::PageSetup:
        return target.execWB(WebView::PageSetup);
    case Command::Copy:
        return target.execWB(WebView::Copy);
    case Command::SelectAll:
        return target.execWB(WebView::SelectAll);
    }
}

// --- what the controller holds, shown -------------------------------------

void BrowserWindow::refresh() {
    setWindowTitle(m_controller.caption());
    for (int panel = 1; panel <= 5; ++panel)
        m_panels[panel - 1]->setText(m_controller.statusText(panel));
    refreshViews();
    refreshAddressBox();
    refreshSearchWords();
}

void BrowserWindow::refreshViews() {
    for (const View which : {View::View1, View::View2})
        m_views[which]->widget()->setVisible(m_controller.isShown(which));
}

void BrowserWindow::refreshAddressBox() {
    const QSignalBlocker blocker(m_address);
    if (comboItems(m_address) != m_controller.addressItems()) {
        m_address->clear();
        m_address->addItems(m_controller.addressItems());
    }
    if (m_address->currentText() != m_controller.addressText())
        m_address->setEditText(m_controller.addressText());
}

void BrowserWindow::refreshSearchWords() {
    if (comboItems(m_searchWords) == m_controller.searchWords())
        return;
    const QSignalBlocker blocker(m_searchWords);
    const QString typed = m_searchWords->currentText();
    m_searchWords->clear();
    m_searchWords->addItems(m_controller.searchWords());
    m_searchWords->setEditText(typed);
}

void BrowserWindow::buildMenus() {
    BrowserMenus::Handlers handlers;
    handlers.openFile = [this] { openFile(); };
    handlers.showPreferences = [this] { showPreferences(); };
    handlers.exit = [this] { close(); };
    handlers.showGenerator = [this] { showGenerator(); };
    handlers.submitting = [this] { submitting(); };
    handlers.publishing = [this] { publishing(); };
    handlers.showAbout = [this] { showAbout(); };
    handlers.notAvailable = [this](const QString& caption) { notAvailable(caption); };
    HarvestPanel* harvest = m_harvest.get();
    CrawlPanel* crawl = m_crawl.get();
    BufferPanel* buffers = m_buffers.get();
    handlers.commands = {
        {QStringLiteral("Orders"), [this] { showOrders(); }},
        {QStringLiteral("Find keywords"), [crawl] { crawl->findKeywords(); }},
        {QStringLiteral("Find e-mail"), [crawl] { crawl->findEmail(); }},
        {QStringLiteral("Find contact"), [crawl] { crawl->findContact(); }},
        {QStringLiteral("Create Full Report"), [crawl] { crawl->createFullReport(); }},
        {QStringLiteral("Read next"), [crawl] { crawl->readNext(); }},
        {QStringLiteral("Get/Add all Links"), [harvest] { harvest->getAllLinks(); }},
        {QStringLiteral("Add Link"), [harvest] { harvest->addLink(); }},
        {QStringLiteral("View report"), [harvest] { harvest->viewReport(); }},
        {QStringLiteral("Veiw report listing"), [harvest] { harvest->showReportListing(); }},
        {QStringLiteral("View links listing"), [harvest] { harvest->toggleLinkEditor(); }},
        {QStringLiteral("Save report"), [harvest] { harvest->saveReport(); }},
        {QStringLiteral("View catalog"), [buffers] { buffers->viewCatalog(); }},
        {QStringLiteral("View image buf"), [buffers] { buffers->viewImageBuf(); }},
        {QStringLiteral("View MP3"), [buffers] { buffers->viewMp3(); }},
        {QStringLiteral("Clear catalog"), [buffers] { buffers->clearCatalog(); }},
        {QStringLiteral("Clear MP3 buf"), [buffers] { buffers->clearMp3(); }},
        {QStringLiteral("Clear image buf"), [buffers] { buffers->clearImageBuf(); }},
        {QStringLiteral("Save catalog"), [buffers] { buffers->saveCatalog(); }},
        {QStringLiteral("Save MP3"), [buffers] { buffers->saveMp3(); }},
        {QStringLiteral("Save image buf"), [buffers] { buffers->saveImageBuf(); }},
    };
    ZonePanel* zone = m_zone.get();
    handlers.commands.insert(QHash<QString, std::function<void()>>{
        {QStringLiteral("History"), [zone] { zone->lists().toggleHistory(); }},
        {QStringLiteral("Channels"), [zone] { zone->channels(); }},
        {QStringLiteral("Private"), [zone] { zone->togglePrivate(); }},
        {QStringLiteral("Add favorites"), [zone] { zone->lists().addFavourite(); }},
        {QStringLiteral("Open Collection"), [zone] { zone->openCollection(); }},
        {QStringLiteral("Create adult listing"), [zone] { zone->createAdultListing(); }},
        {QStringLiteral("Edit adult listing"), [zone] { zone->editAdultListing(); }},
    });
    handlers.commands.insert(QStringLiteral("Investor"), [this] { m_channels->investor(); });
    TranslationPanel* translation = m_translation.get();
    for (const LanguagePair& pair : LanguagePair::all())
        handlers.commands.insert(pair.caption,
                                 [translation, code = pair.code] { translation->translate(code); });
    new BrowserMenus(menuBar(), m_controller, std::move(handlers));
}

void BrowserWindow::notAvailable(const QString& caption) {
    m_controller.setStatusText(1,
                               QStringLiteral("\"%1\" is not part of this version.").arg(caption));
}

// Window-modal, so the rest of the program goes on while it is open.
void BrowserWindow::showPreferences() {
    auto* dialog =
        new PreferencesDialog(m_controller.settings(), m_prompts, m_controller.homeFolder(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void BrowserWindow::openFile() {
    const std::optional<QString> file = m_prompts.openFile(kOpenFilter, m_controller.homeFolder());
    if (file && !file->isEmpty())
        m_controller.navigateShown(*file);
}

void BrowserWindow::showGenerator() {
    if (!m_generator)
        m_generator = m_makeGenerator(*this);
    m_generator->show();
    m_generator->raise();
    m_generator->activateWindow();
}

// Tools > "Orders": the order list of the store generator's "Show Orders".
void BrowserWindow::showOrders() {
    if (!m_generator)
        m_generator = m_makeGenerator(*this);
    if (m_generatorController)
        OrdersDialog::showFor(m_generatorController->orders(), this);
    else
        notAvailable(QStringLiteral("Orders"));
}

void BrowserWindow::showAbout() {
    if (!m_about)
        m_about = m_makeAbout(*this);
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

QWidget* BrowserWindow::makeRealGenerator() {
    m_generatorController = GeneratorFactory::create(m_controller.homeFolder(), m_prompts, this,
                                                     m_controller.settings());
    auto* window = new GeneratorWindow(*m_generatorController, this);
    window->setWindowFlag(Qt::Window);
    return window;
}

QWidget* BrowserWindow::makeRealAbout() {
    return new AboutBox(m_launcher, m_prompts, this);
}

// --- bands -----------------------------------------------------------------

QAction* BrowserWindow::button(QToolBar* bar, const QString& tip, const QString& themeIcon,
                               int standardIcon, const std::function<void()>& action) {
    const QIcon fallback = style()->standardIcon(static_cast<QStyle::StandardPixmap>(standardIcon));
    QAction* entry = bar->addAction(QIcon::fromTheme(themeIcon, fallback), tip);
    entry->setToolTip(tip);
    bar->widgetForAction(entry)->setAccessibleName(tip);
    connect(entry, &QAction::triggered, this, action);
    return entry;
}

QToolButton* BrowserWindow::dropDownButton(QToolBar* bar, const QString& text, QMenu** menu) {
    auto* dropDown = new QToolButton;
    *menu = new QMenu(text, dropDown);
    dropDown->setMenu(*menu);
    dropDown->setPopupMode(QToolButton::InstantPopup);
    dropDown->setToolTip(text);
    dropDown->setAccessibleName(text);
    bar->addWidget(dropDown);
    return dropDown;
}

// Positions 1 to 23; 6, 11, 16 and 19 are separators.
void BrowserWindow::buildMainToolbar() {
    auto* bar = new QToolBar(QStringLiteral("Main toolbar"));
    bar->setObjectName(QStringLiteral("mainToolbar"));
    addToolBar(Qt::TopToolBarArea, bar);
    addCommandButtons(bar);
    bar->addSeparator();
    addToolButtons(bar);
    bar->addSeparator();
    addLinkButtons(bar);
}

void BrowserWindow::addCommandButtons(QToolBar* bar) {
    button(bar, QStringLiteral("Back"), QStringLiteral("go-previous"), QStyle::SP_ArrowBack,
           [this] { m_controller.run(Command::Back); });
    button(bar, QStringLiteral("Stop"), QStringLiteral("process-stop"), QStyle::SP_BrowserStop,
           [this] {
               m_harvest->stop();
               m_crawl->stop();
               m_channels->cancel();
               m_controller.run(Command::Stop);
           });
    button(bar, QStringLiteral("Forward"), QStringLiteral("go-next"), QStyle::SP_ArrowForward,
           [this] { m_controller.run(Command::Forward); });
    button(bar, QStringLiteral("Home"), QStringLiteral("go-home"), QStyle::SP_DirHomeIcon,
           [this] { m_controller.goHome(); });
    button(bar, QStringLiteral("Refresh"), QStringLiteral("view-refresh"), QStyle::SP_BrowserReload,
           [this] { m_controller.run(Command::Refresh); });
    bar->addSeparator();
    dropDownButton(bar, QStringLiteral("Search engines"), &m_searchMenu)
        ->setIcon(QIcon::fromTheme(QStringLiteral("edit-find"),
                                   style()->standardIcon(QStyle::SP_FileDialogContentsView)));
    button(bar, QStringLiteral("Favorites"), QStringLiteral("bookmarks"),
           QStyle::SP_DialogYesButton, [this] { m_zone->lists().toggleFavourites(); });
    button(bar, QStringLiteral("History"), QStringLiteral("document-open-recent"),
           QStyle::SP_FileDialogDetailedView, [this] { m_zone->lists().toggleHistory(); });
    dropDownButton(bar, QStringLiteral("Channels"), &m_channelsMenu)
        ->setIcon(QIcon::fromTheme(QStringLiteral("network-workgroup"),
                                   style()->standardIcon(QStyle::SP_DriveNetIcon)));
}

void BrowserWindow::addToolButtons(QToolBar* bar) {
    button(bar, QStringLiteral("Get all links"), QStringLiteral("insert-link"),
           QStyle::SP_FileLinkIcon, [this] { m_harvest->getLinksAndWalk(); });
    button(bar, QStringLiteral("Mail"), QStringLiteral("mail-send"), QStyle::SP_DirLinkIcon,
           [this] {
               m_controller.launch(QStringLiteral("mail client"), QStringLiteral("xdg-email"));
           });
    button(bar, QStringLiteral("Publish"), QStringLiteral("document-send"),
           QStyle::SP_DialogSaveButton, [this] { publishing(); });
    button(bar, QStringLiteral("Calculator"), QStringLiteral("accessories-calculator"),
           QStyle::SP_ComputerIcon, [this] { launchCalculator(); });
}

void BrowserWindow::addLinkButtons(QToolBar* bar) {
    button(bar, QStringLiteral("Switch views"), QStringLiteral("view-dual"),
           QStyle::SP_TitleBarNormalButton, [this] { m_controller.switchViews(); });
    button(bar, QStringLiteral("Next featured page"), QStringLiteral("go-jump"),
           QStyle::SP_MediaSkipForward, [this] { m_channels->nextFeatured(); });
    bar->addSeparator();
    HarvestPanel* harvest = m_harvest.get();
    button(bar, QStringLiteral("Get links again"), QStringLiteral("edit-redo"),
           QStyle::SP_DialogResetButton, [harvest] { harvest->clearAndGetLinks(); });
    button(bar, QStringLiteral("Previous link"), QStringLiteral("go-previous"),
           QStyle::SP_MediaSeekBackward, [harvest] { harvest->previousLink(); });
    button(bar, QStringLiteral("Next link"), QStringLiteral("go-next"), QStyle::SP_MediaSeekForward,
           [harvest] { harvest->nextLink(); });
    button(bar, QStringLiteral("Clear found list"), QStringLiteral("edit-clear"),
           QStyle::SP_DialogDiscardButton, [harvest] { harvest->clearFoundUrls(); });
}

bool BrowserWindow::launchConfigured(const QString& commandLine, const QString& description) {
    QStringList command = QProcess::splitCommand(commandLine);
    if (command.isEmpty())
        return false;
    const QString program = command.takeFirst();
    m_controller.launch(description, program, command);
    return true;
}

void BrowserWindow::submitting() {
    if (!launchConfigured(m_controller.settings().values().submittingProgram,
                          QStringLiteral("submitting program")))
        m_controller.setStatusText(
            1, QStringLiteral("To submit, name the submitting program in Edit > Preferences..."));
}

// Without a program of the merchant's own, the store generator publishes:
// its "Front Page" button is given the focus.
void BrowserWindow::publishing() {
    if (launchConfigured(m_controller.settings().values().publishingProgram,
                         QStringLiteral("publishing program")))
        return;
    showGenerator();
    for (auto* button : m_generator->findChildren<QAbstractButton*>()) {
        if (button->text() == QLatin1String("Front Page"))
            button->setFocus(Qt::OtherFocusReason);
    }
}

void BrowserWindow::launchCalculator() {
    for (const QString& name : kCalculators) {
        if (!QStandardPaths::findExecutable(name).isEmpty())
            return m_controller.launch(QStringLiteral("calculator"), name);
    }
    // None is installed: the failed start names the first one.
    m_controller.launch(QStringLiteral("calculator"), kCalculators.first());
}

void BrowserWindow::buildSearchWordsBand() {
    auto* bar = new QToolBar(QStringLiteral("Search words"));
    bar->setObjectName(QStringLiteral("searchWordsBand"));
    m_searchWords = editableBox(QStringLiteral("Search words"));
    m_searchWords->setMinimumContentsLength(16);
    m_searchWords->installEventFilter(this);
    bar->addWidget(buddyLabel(QStringLiteral("Search words: "), m_searchWords));
    bar->addWidget(m_searchWords);
    addToolBar(Qt::TopToolBarArea, bar);
}

void BrowserWindow::buildSearchToolbar() {
    auto* bar = new QToolBar(QStringLiteral("Search toolbar"));
    bar->setObjectName(QStringLiteral("searchToolbar"));
    m_searchToolbar = bar;
    const QString captions[] = {QStringLiteral("Search"), QStringLiteral("Shareware"),
                                QStringLiteral("Computers"), QStringLiteral("Investmens")};
    for (int i = 0; i < 4; ++i)
        dropDownButton(bar, captions[i], &m_searchToolbarMenus[i])->setText(captions[i]);
    addToolBar(Qt::TopToolBarArea, bar);
}

void BrowserWindow::buildAddressBand() {
    auto* bar = new QToolBar(QStringLiteral("Address"));
    bar->setObjectName(QStringLiteral("addressBand"));
    m_addressBand = bar;
    m_address = editableBox(QStringLiteral("Address"));
    m_address->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_address->installEventFilter(this);
    connect(m_address, &QComboBox::editTextChanged, this,
            [this](const QString& text) { m_controller.setAddressText(text); });
    connect(m_address, &QComboBox::activated, this,
            [this](int index) { m_controller.chooseAddress(m_address->itemText(index)); });
    bar->addWidget(buddyLabel(QStringLiteral("Address "), m_address));
    bar->addWidget(m_address);
    addToolBar(Qt::TopToolBarArea, bar);
}

// --- status bar ------------------------------------------------------------

void BrowserWindow::buildStatusBar() {
    for (int i = 0; i < 5; ++i) {
        auto* panel = new QLabel;
        // The panels show addresses and texts from pages: never as markup.
        panel->setTextFormat(Qt::PlainText);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        // A screen reader names a panel by what it shows; the tip says what
        // the panel is for.
        panel->setToolTip(kPanelTips[i]);
        panel->setAccessibleDescription(kPanelTips[i]);
        panel->installEventFilter(this);
        statusBar()->addWidget(panel, i == 0 ? 3 : 1);
        m_panels[i] = panel;
    }
    m_progress = new QProgressBar;
    m_progress->setAccessibleName(QStringLiteral("Pages read"));
    m_progress->setFormat(QStringLiteral("%v of %m pages"));
    m_progress->setMaximumWidth(200);
    m_progress->hide();
    statusBar()->addPermanentWidget(m_progress);
}

QMenu* BrowserWindow::goMenu(const QString& name) const {
    return menuBar()->findChild<QMenu*>(name);
}

void BrowserWindow::enableCommand(const QString& caption, bool enabled) {
    for (QAction* action : menuBar()->findChildren<QAction*>()) {
        if (action->text() == caption)
            action->setEnabled(enabled);
    }
}

void BrowserWindow::showProgress(qsizetype done, qsizetype total) {
    m_progress->setVisible(total > 0);
    if (total <= 0)
        return;
    m_progress->setRange(0, static_cast<int>(total));
    m_progress->setValue(static_cast<int>(done));
}

// --- events ----------------------------------------------------------------

bool BrowserWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        handleKey(watched, static_cast<QKeyEvent*>(event)->key()))
        return true;
    if ((event->type() == QEvent::MouseButtonPress ||
         event->type() == QEvent::MouseButtonDblClick) &&
        handlePanelClick(watched, event->type()))
        return true;
    return QMainWindow::eventFilter(watched, event);
}

bool BrowserWindow::handleKey(QObject* watched, int key) {
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (watched == m_address && enter) {
        m_controller.setAddressText(m_address->currentText());
        m_controller.enterAddress();
        return true;
    }
    if (watched != m_searchWords || !(enter || key == Qt::Key_Delete))
        return false;
    const QString text = m_searchWords->currentText();
    if (enter)
        m_controller.enterSearchWords(text);
    else
        m_controller.deleteSearchWords(text);
    m_searchWords->clearEditText();
    return true;
}

// Shown from status panel 3, the link list takes the place of the private
// history list.
void BrowserWindow::toggleLinkList() {
    if (m_harvest->linkEditor()->isHidden())
        m_zone->lists().panel(FavouritesPanel::PrivateHistory)->hide();
    m_harvest->toggleLinkEditor();
}

bool BrowserWindow::handlePanelClick(QObject* watched, QEvent::Type type) {
    const bool click = type == QEvent::MouseButtonPress;
    const bool wanted = (click && (watched == m_panels[2] || watched == m_panels[3])) ||
                        (!click && watched == m_panels[4]);
    if (!wanted)
        return false;
    if (watched == m_panels[2])
        toggleLinkList();
    else if (watched == m_panels[3])
        m_buffers->showPictureReport();
    else
        m_buffers->clearImageBuf();
    return true;
}

void BrowserWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_started)
        return;
    m_started = true;
    startUp();
}

void BrowserWindow::startUp() {
    useLocations();
    m_controller.startUp();
}

// An empty location is the shipped start pages.
void BrowserWindow::useLocations() {
    const StartupValues& values = m_controller.settings().values();
    const auto location = [](const QString& kept) {
        return kept.isEmpty() ? StartPages::defaultLocation() : StartPages::fromKept(kept);
    };
    m_controller.setLocations(location(values.location1), location(values.location2));
}

void BrowserWindow::closeEvent(QCloseEvent* event) {
    if (!m_shutDown) {
        m_shutDown = true;
        m_channels->cancel();
        // The crawl downloads, the page reader and the link walk end too.
        m_crawl->stop();
        m_harvest->stop();
        m_controller.shutDown();
        // The store generator's settings are kept even when it is still open.
        if (m_generatorController)
            m_generatorController->keepSettings();
    }
    event->accept();
}
