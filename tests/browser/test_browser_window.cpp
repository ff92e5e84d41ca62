// The embedded browser view against real pages: its events, the document
// snapshot, the crawler's rows, and pages that flood, kill or misuse the
// engine. The real browser window, offscreen (and once on a real X
// display), on pages of a local web server: its menus and launchers, the
// shown view's browsing, the channel menus, the zones, the translations,
// the harvest and the buffers reaching their views and widgets (their
// rules are proven on the controller's, the harvest's and the buffers' own
// classes); and the about box.

#include "browser/BrowserController.h"
#include "browser/ChannelDownloads.h"
#include "browser/StartPages.h"
#include "browser/ui/AboutBox.h"
#include "browser/ui/BrowserWindow.h"
#include "browser/ui/BufferPanel.h"
#include "browser/ui/ChannelPanel.h"
#include "browser/ui/CrawlPanel.h"
#include "browser/ui/HarvestPanel.h"
#include "browser/ui/PageReaderDrive.h"
#include "browser/ui/PreferencesDialog.h"
#include "browser/ui/WebView.h"
#include "files/TextFile.h"
#include "generator/GeneratorController.h"
#include "harvest/LinkFilter.h"
#include "platform/Beep.h"
#include "platform/Launcher.h"
#include "settings/StartupSettings.h"
#include "support/ExpectedFile.h"
#include "support/HttpFixture.h"
#include "support/RecordingLauncher.h"
#include "support/ScriptedPrompts.h"
#include "support/UserInput.h"
#include "web/Crawler.h"

#include <QWebEnginePage>
#include <QtTest>
#include <QtWidgets>
#include <csignal>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace {

using View = BrowserController::View;
using UserInput::named;
using Kind = ScriptedPrompts::Kind;
const QString kImages = QStringLiteral("Would You like collect images ?");

// Web views share their graphics contexts, and pages of one site share an
// engine process, as in the program; this must be set before the
// application object exists.
const bool kSharedContexts = [] {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--process-per-site");
    return true;
}();

const int kTimeoutMs = 20000;

// The action of `widget` (a menu, menu bar or tool bar) with that caption
// or tool tip; a missing one ends the test run.
QAction* find(const QWidget* widget, const QString& text) {
    for (QAction* action : widget->actions())
        if (action->text() == text || action->toolTip() == text)
            return action;
    qFatal("no menu item or button %s", qPrintable(text));
}

// Spins the event loop until `condition` holds; the engine does part of its
// work on this thread, and short turns without sleeping keep it going.
bool waitUntil(const std::function<bool()>& condition) {
    const QDeadlineTimer deadline(kTimeoutMs);
    while (!condition() && !deadline.hasExpired()) {
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return condition();
}

// Loads `address` in the view and waits until the load has ended.
bool load(WebView& view, const QString& address) {
    QSignalSpy done(&view, &WebView::downloadComplete);
    view.navigate(address);
    return waitUntil([&] { return !done.isEmpty(); });
}

std::optional<DocumentSnapshot> takeSnapshot(WebView& view) {
    const auto result = std::make_shared<std::optional<DocumentSnapshot>>();
    view.snapshot([result](const DocumentSnapshot& snapshot) { *result = snapshot; });
    waitUntil([&] { return result->has_value(); });
    return *result;
}

// Scripted prompts that, while a message box is open, let one more thing
// happen, as an event arriving during the box's own event loop would.
class ReentrantPrompts : public ScriptedPrompts {
public:
    void message(const QString& text, const QString& title) override {
        ScriptedPrompts::message(text, title);
        if (auto during = std::exchange(whileOpen, nullptr))
            during();
    }
    std::function<void()> whileOpen;
};

// One session of the real window: a fresh home folder (its settings in it,
// its path free of the words the link filter turns down) served by a local
// web server, scripted prompts, the controller and the window.
struct WindowSession {
    WindowSession() {
        QStandardPaths::setTestModeEnabled(true);
        do
            home = std::make_unique<QTemporaryDir>();
        while (LinkFilter::hasExcludedWord(home->path()));
        qputenv("QUILLMART_HOME", home->path().toUtf8());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home->path());
        server = std::make_unique<HttpFixture>(home->path());
        if (!server->start())
            QTest::qFail("the local web server does not start", __FILE__, __LINE__);
        settings = std::make_unique<StartupSettings>();
        controller = std::make_unique<BrowserController>(home->path(), launcher, *settings);
        window = std::make_unique<BrowserWindow>(*controller, launcher, prompts);
    }

    // Shows the window and waits until the channel files have arrived (with
    // the first featured page they bring) and neither user view is loading.
    bool show() {
        window->show();
        return waitUntil([this] {
            return !window->channels().downloads().busy() && !view(View::View1).busy() &&
                   !view(View::View2).busy() &&
                   view(View::View1).locationUrl().endsWith("/index.htm");
        });
    }

    // Writes a page into the home folder; its address on the local server.
    QString page(const QString& name, const QByteArray& body) const {
        writeBytes(home->filePath(name), body);
        return url(name);
    }
    QString url(const QString& name) const { return server->url(name).toString(); }
    bool view1Shows(const QString& address) const {
        return view(View::View1).locationUrl() == address && !view(View::View1).busy();
    }
    WebView& view(View which) const { return window->view(which); }

    // Triggers the menu item at "Menu|Submenu|Item", or the main-toolbar
    // button with that tool tip.
    void trigger(const QString& path) const {
        QAction* action = nullptr;
        for (const QString& step : path.split(QLatin1Char('|')))
            action = find(action ? static_cast<QWidget*>(action->menu()) : window->menuBar(), step);
        action->trigger();
    }
    void press(const QString& tip) const {
        find(window->findChild<QToolBar*>("mainToolbar"), tip)->trigger();
    }
    // Status panel n (from 1), and the combo box of that accessible name.
    QLabel* panel(int n) const { return window->statusBar()->findChildren<QLabel*>().value(n - 1); }
    QComboBox* box(const QString& name) const { return named<QComboBox>(window.get(), name); }

    std::unique_ptr<QTemporaryDir> home;
    std::unique_ptr<HttpFixture> server;
    RecordingLauncher launcher;
    ReentrantPrompts prompts;
    std::unique_ptr<StartupSettings> settings;
    std::unique_ptr<BrowserController> controller;
    std::unique_ptr<BrowserWindow> window;
};

// Whether each menu entry along its path ("Go|Channels|CPU") is shown with
// every menu it is in; an item wins over a submenu of the same caption.
void collectShown(const QList<QAction*>& actions, const QString& path, bool shown,
                  QHash<QString, bool>& entries) {
    for (const QAction* action : actions) {
        const QString key = path + action->text();
        if (!entries.contains(key) || !action->menu())
            entries[key] = shown && action->isVisible();
        if (action->menu())
            collectShown(action->menu()->actions(), key + '|', shown && action->isVisible(),
                         entries);
    }
}

QString captions(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << action->text();
    return texts.join("; ");
}

class CountingBeep : public Beep {
public:
    void beep() override { ++count; }
    int count = 0;
};

// A page of tests/browser/pages, "{PORT}" in it replaced by `port`.
QByteArray fixturePage(const QString& name, quint16 port) {
    return fileBytes(QStringLiteral(QUILLMART_TEST_DATA "/pages/") + name)
        .replace("{PORT}", QByteArray::number(port));
}

bool xChooseMenu(QMainWindow* window, const QString& menu, const QString& item) {
    QMenuBar* bar = window->menuBar();
    QAction* title = find(bar, menu);
    if (!XInput::click(bar, bar->actionGeometry(title).center()))
        return false;
    QMenu* popup = title->menu();
    return XInput::click(popup, popup->actionGeometry(find(popup, item)).center());
}

bool xClickTab(QTabWidget* tabs, const QString& caption) {
    QTabBar* bar = tabs->tabBar();
    for (int i = 0; i < bar->count(); ++i)
        if (bar->tabText(i) == caption)
            return XInput::click(bar, bar->tabRect(i).center()) &&
                   QTest::qWaitFor([bar, i] { return bar->currentIndex() == i; }, kTimeoutMs);
    return false;
}

} // namespace

class TestBrowserWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void loadsAndSnapshots();
    void floodedOrKilledEngineStopsThePage();
    void localPagesStayData();
    void aboutBox();
    void preferencesRoundTrip();
    void makerPagesOffline();
    void browsingAndClosing();
    void channelsAndZones();
    void linksReportsAndCrawls();
    void picturesReachTheBuffers();
    void typedOnARealDisplay();
    void generatorOnARealDisplay();

private:
    // The web view's own pages, served from a folder of their own.
    QString url(const QString& page) const { return m_server->url(page).toString(); }

    QTemporaryDir m_folder;
    std::unique_ptr<HttpFixture> m_server;
};

void TestBrowserWindow::initTestCase() {
    m_server = std::make_unique<HttpFixture>(m_folder.path());
    QVERIFY(m_server->start());
    // The pages of the web view's tests. right.htm's second frame is at
    // another host name for the same server: another origin. huge.htm
    // makes 3000 paragraphs, each inside the one before, so that each
    // paragraph's text holds the text of all that follow.
    for (const QString& name : QDir(QUILLMART_TEST_DATA "/pages").entryList(QDir::Files))
        writeBytes(m_folder.filePath(name), fixturePage(name, m_server->port()));
}

// A local path is loaded as a file: URL, a folder as its index.htm. Each
// load reports its events in order, once, frames' loads included; a load
// superseded while its server holds the answer still lets the new one
// begin and complete. The snapshot reads the frameset page, its frames and
// the same-origin iframe inside the right frame; the iframe of another
// origin is left out. Hidden worker pages fetch no pictures. The crawler's
// live rows are added to what a view shows, quotes and all.
void TestBrowserWindow::loadsAndSnapshots() {
    for (const WebView::Kind kind : {WebView::Kind::Shown, WebView::Kind::Hidden}) {
        WebView view(kind);
        const qsizetype pens = m_server->requested().filter("pen.png").size();
        // A local folder opens its index.htm, never a listing of its files.
        writeBytes(m_folder.filePath("shop/index.htm"), "<title>Shop</title>");
        QVERIFY(load(view, m_folder.filePath("shop")));
        QCOMPARE(view.locationUrl(),
                 QUrl::fromLocalFile(m_folder.filePath("shop/index.htm")).toString());
        QStringList events;
        for (const auto& [signal, what] : {std::pair(&WebView::navigationBegan, "began"),
                                           std::pair(&WebView::navigateComplete, "navigate"),
                                           std::pair(&WebView::documentComplete, "document")})
            connect(&view, signal, this, [&events, what](const QString& address) {
                events << QLatin1String(what) + ' ' + address;
            });
        QVERIFY(load(view, url("frames.htm")));
        QCOMPARE(events, QStringList({"began " + url("frames.htm"), "navigate " + url("frames.htm"),
                                      "document " + url("frames.htm")}));

        // The frames may still be loading when the top document is complete.
        QVERIFY(waitUntil([&] {
            const auto snapshot = takeSnapshot(view);
            return snapshot && snapshot->frames.size() == 2 &&
                   !snapshot->frames[0].links.isEmpty() && snapshot->frames[1].frames.size() == 1 &&
                   !snapshot->frames[1].frames[0].paragraphs.isEmpty();
        }));
        const std::optional<DocumentSnapshot> top = takeSnapshot(view);
        const DocumentSnapshot& left = top->frames[0];
        QStringList read = {top->title, top->domain, top->bodyTagName, left.url, left.bodyTagName};
        for (const DocumentSnapshot::Meta& meta : top->metas + left.metas)
            read << meta.name + "=" + meta.content;
        for (const auto& link : left.links)
            read << link.href + " " + link.outerText;
        QCOMPARE(
            read + left.paragraphs + left.imageSources + top->frames[1].frames[0].paragraphs,
            QStringList({"Frames", "127.0.0.1", "FRAMESET", url("left.htm"), "BODY",
                         "description=outer", "author=Ann", "mailto:ann@example.com Write to Ann",
                         "First", "Second bold", url("pen.png"), "Inner text"}));
        QCOMPARE(m_server->requested().filter("pen.png").size() > pens,
                 kind == WebView::Kind::Shown);

        // A load superseded while its server holds the answer: each
        // navigation begins, the new one completes, and the view is idle.
        events.clear();
        const QString held = m_server->serve("held.htm", {}, HttpFixture::Delivery::Hang);
        view.navigate(held);
        QVERIFY(waitUntil([&] { return m_server->unansweredRequests() == 1; }));
        QVERIFY(load(view, url("one.htm")));
        QCOMPARE(events, QStringList({"began " + held, "began " + url("one.htm"),
                                      "navigate " + url("one.htm"), "document " + url("one.htm")}));
        QVERIFY(!view.busy());
        view.appendHtml("<a href='" + url("one.htm") + "?a=1&b=\"2\"'>it's</a><br>");
        QVERIFY(waitUntil([&] {
            const auto page = takeSnapshot(view);
            return page && page->links.size() == 1 &&
                   page->links[0].href == url("one.htm") + "?a=1&b=%222%22" &&
                   page->links[0].outerText == "it's";
        }));
    }
}

// Pages that flood or kill the engine: a huge page's snapshot is cut at its
// character limit, an endless stream stops at the memory limit, and a
// killed engine stops a shown view's page, which says so. A hidden page never shares its
// engine process with a user's view of the same site.
void TestBrowserWindow::floodedOrKilledEngineStopsThePage() {
    WebView hidden(WebView::Kind::Hidden);
    QVERIFY(load(hidden, url("huge.htm")));
    const std::optional<DocumentSnapshot> huge = takeSnapshot(hidden);
    QVERIFY(huge->paragraphs.join(QString()).size() <= DocumentSnapshot::Limits::kCharacters);

    QSignalSpy stopped(&hidden, &WebView::pageStopped);
    // Each piece a paragraph of its own: elements fill the engine's memory
    // much faster than one ever longer text.
    m_server->serve("endless.htm", "<p>" + QByteArray(64 * 1024, 'x') + "</p>",
                    HttpFixture::Delivery::Stream);
    hidden.setMemoryLimit(qint64(384) * 1024 * 1024);
    hidden.navigate(url("endless.htm"));
    QVERIFY(waitUntil([&] { return stopped.count() == 1 && !hidden.busy(); }));

    WebView shown(WebView::Kind::Shown);
    QVERIFY(load(shown, url("one.htm")) && load(hidden, url("one.htm")));
    QVERIFY(hidden.page()->renderProcessPid() != shown.page()->renderProcessPid());
    ::kill(static_cast<pid_t>(shown.page()->renderProcessPid()), SIGKILL);
    QVERIFY(waitUntil([&] { return shown.locationName() == QLatin1String("Page stopped"); }));
}

// A page opened from a local file cannot reach a host or read another local
// file by script, and a page with the program's no-script policy runs no
// script at all.
void TestBrowserWindow::localPagesStayData() {
    const QString request =
        "<title>start</title><script>var x = new XMLHttpRequest();"
        " x.onload = function () { document.title = 'read ' + x.responseText; };"
        " x.onerror = function () { document.title = 'blocked'; };"
        " try { x.open('GET', '%1'); x.send(); } catch (e) { document.title = 'blocked'; "
        "}</script>";
    const QList<std::pair<QString, QString>> pagesAndTitles{
        {request.arg(url("beacon")), "blocked"},
        {request.arg("one.htm"), "blocked"},
        {QStringLiteral("<title>Report</title>") + kNoScriptMeta +
             "<body><script>document.title = 'ran';</script>",
         "Report"}};
    WebView view(WebView::Kind::Shown);
    for (qsizetype i = 0; i < pagesAndTitles.size(); ++i) {
        const QString path = m_folder.filePath(QStringLiteral("local%1.htm").arg(i));
        writeBytes(path, pagesAndTitles[i].first.toUtf8());
        QVERIFY(load(view, path) && takeSnapshot(view));
        QTRY_COMPARE_WITH_TIMEOUT(view.locationName(), pagesAndTitles[i].second, kTimeoutMs);
    }
}

// The field a screen reader names `name` (its label's text).
QWidget* fieldNamed(const QWidget* dialog, const QString& name) {
    for (QWidget* widget : dialog->findChildren<QWidget*>())
        if (!qobject_cast<QLabel*>(widget) &&
            QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name) == name)
            return widget;
    qFatal("no field \"%s\"", qPrintable(name));
}

// Each [Startup] setting typed into its field on its tab, found by the name
// a screen reader gives it; "OK" keeps them in Quillmart.conf, and the next
// dialog shows them again. A file chosen with "Browse..." fills its field,
// and fields left empty keep no key, so the defaults stay in force.
void TestBrowserWindow::preferencesRoundTrip() {
    QTemporaryDir home;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.path());
    StartupSettings settings;
    ScriptedPrompts prompts;
    // The tab, the field's name, what is typed and the key it is kept under.
    const QList<std::tuple<int, QString, QString, QString>> fields = {
        {0, "Channel server, first location:", "http://channels.example/a/", "Location1"},
        {0, "Channel server, second location:", "http://channels.example/b/", "Location2"},
        {0, "Maker site:", "maker.example", "MakerSite"},
        {0, "Translation service:", "http://127.0.0.1:9/translate", "TranslationService"},
        {1, "User agent:", "Quillmart test", "UserAgent"},
        {2, "Publishing program:", "publish-tool --all", "PublishingProgram"},
        {3, "Order database:", "postgresql://shop@127.0.0.1/orders", "OrderDatabase"},
        {3, "Largest order mail:", "25", "MailSizeLimitMB"},
        {3, "Mail server certificate:", "/etc/mail.pem", "TrustedMailCertificate"},
        {4, "Publish server certificate:", "/etc/publish.pem", "TrustedPublishCertificate"},
    };
    auto dialog = std::make_unique<PreferencesDialog>(settings, prompts, home.path());
    dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    const auto showTab = [&](int tab) {
        auto* tabs = dialog->findChild<QTabBar*>();
        UserInput::click(tabs, Qt::LeftButton, tabs->tabRect(tab).center());
    };
    for (const auto& [tab, name, typed, key] : fields) {
        showTab(tab);
        UserInput::enterText(fieldNamed(dialog.get(), name), typed, Qt::Key_unknown);
    }
    showTab(1);
    UserInput::press(dialog.get(), Qt::Key_R, Qt::AltModifier); // "&Respect robots.txt"
    QTRY_VERIFY(dialog->findChild<QCheckBox*>()->isChecked());
    showTab(2);
    prompts.expect(Kind::OpenFile, "All Files(*)", "/usr/bin/submit-tool");
    UserInput::click(named<QPushButton>(dialog.get(), "Choose submitting program"));
    UserInput::click(named<QPushButton>(dialog.get(), "OK"));
    QVERIFY(prompts.done());

    QSettings file(home.filePath("Quillmart/Quillmart.conf"), QSettings::IniFormat);
    file.beginGroup("Startup");
    for (const auto& [tab, name, typed, key] : fields)
        QCOMPARE(file.value(key).toString(), typed);
    QCOMPARE(file.value("SubmittingProgram").toString(), QStringLiteral("/usr/bin/submit-tool"));
    QCOMPARE(file.value("RespectRobots").toString(), QStringLiteral("true"));

    // The next dialog shows each value; cleared, the fields give their
    // settings back to the defaults.
    dialog = std::make_unique<PreferencesDialog>(settings, prompts, home.path());
    dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    for (const auto& [tab, name, typed, key] : fields) {
        showTab(tab);
        QWidget* shown = fieldNamed(dialog.get(), name);
        const auto* spinBox = qobject_cast<QSpinBox*>(shown);
        QCOMPARE(spinBox ? spinBox->cleanText() : shown->property("text").toString(), typed);
        if (spinBox)
            UserInput::enterText(shown, "0", Qt::Key_unknown); // "10 MB (default)"
        else
            UserInput::enterText(shown, QString(), Qt::Key_Delete);
    }
    UserInput::click(named<QPushButton>(dialog.get(), "OK"));
    file.sync();
    QCOMPARE(file.childKeys(), QStringList({"RespectRobots", "SubmittingProgram"}));
}

// A fresh home, no maker site set: the start after every featured page has
// been seen, Go Home, the Help pages and Go > Investor each open a shipped
// page, and nothing the window opens names the maker's host.
void TestBrowserWindow::makerPagesOffline() {
    WindowSession s;
    const QString channels = StartPages::defaultLocation();
    QVERIFY(TextFile::writeLines(s.home->filePath("list6.prv"),
                                 {channels + "index.htm", channels + "pages/featured1.htm",
                                  channels + "pages/featured2.htm"})
                .ok());
    QStringList opened;
    connect(s.controller.get(), &BrowserController::navigateRequested, this,
            [&opened](int, const QString& url) { opened << url; });
    const auto shows = [&s](const QString& title) {
        return waitUntil([&] {
            return s.view(View::View1).locationName() == title && !s.view(View::View1).busy();
        });
    };
    s.window->show();
    QVERIFY(shows("Quillmart 6.0 by Dorvane"));
    const std::pair<const char*, const char*> pages[] = {
        {"Go|Go Home", "Quillmart 6.0 by Dorvane"},
        {"Help|Getting Started", "Getting Started - Quillmart 6.0"},
        {"Help|How can I..?", "How can I..? - Quillmart 6.0"},
        {"Help|Customization", "Customization - Quillmart 6.0"},
        {"Go|Investor", "Investor chart"},
    };
    for (const auto& [command, title] : pages) {
        s.trigger(command);
        QVERIFY2(shows(title), command);
    }
    for (const QString& url : std::as_const(opened))
        QVERIFY2(!url.contains("dorvane"), qPrintable(url));
}

// The box names the program and its version; "System Info..." starts the
// first system information program installed (a dedicated tool before the
// desktop's settings), or says none can be started.
void TestBrowserWindow::aboutBox() {
    RecordingLauncher launcher;
    launcher.succeeds = true;
    ScriptedPrompts prompts;
    AboutBox box(launcher, prompts, [](const QString& name) {
        return name == "gnome-control-center" || name == "hardinfo" ? "/usr/bin/" + name
                                                                    : QString();
    });
    QCOMPARE(box.windowTitle(), QStringLiteral("About Quillmart 6.0"));
    QCOMPARE(box.findChild<QLabel*>("version")->text(), QStringLiteral("Version 6.0.9"));
    QCOMPARE(box.findChild<QLabel*>("description")->text().toUtf8() + "\r\n",
             expectedFile("browser/expected/about_description.txt"));
    auto* systemInfo = named<QPushButton>(&box, "&System Info...");
    systemInfo->click();
    QCOMPARE(launcher.started, QStringList{"/usr/bin/hardinfo"});
    launcher.succeeds = false;
    prompts.expectMessage("System Information Is Unavailable At This Time");
    systemInfo->click();
    QVERIFY(prompts.done());
}

// Every menu and item by caption, misspellings included (those marked
// "hidden" stay so until the channel server fills them). Start-up on the
// shipped pages; an address typed and entered with the keypad's Enter,
// switching views, "Open" and the shop's preview reaching the shown view.
// Commands that start programs or other windows: Submitting and Publishing
// start the programs the settings name; without one, Submitting says which
// to fill and Publishing leads to the store generator's "Front Page", made
// with the [Startup] settings. Closing writes the lists.
void TestBrowserWindow::browsingAndClosing() {
    WindowSession s;
    QCOMPARE(s.window->windowTitle(), QStringLiteral("Skyvane  Explorer"));
    QHash<QString, bool> entries;
    collectShown(s.window->menuBar()->actions(), QString(), true, entries);
    const QString groups = QString::fromUtf8(expectedFile("browser/expected/menus.txt", false));
    for (QString group : groups.split('\n', Qt::SkipEmptyParts)) {
        const bool shown = !group.startsWith("hidden ");
        const QStringList menuAndItems = group.remove(QRegularExpression("^hidden ")).split(": ");
        for (const QString& item : menuAndItems[1].split("; "))
            QVERIFY2(entries.value(menuAndItems[0] + '|' + item, !shown) == shown,
                     qPrintable(item));
    }

    QVERIFY(s.show() && s.view(View::View2).locationUrl().endsWith("/velgan/welcome.htm"));
    // The panels show addresses and texts from pages, never as markup.
    for (int n = 1; n <= 5; ++n)
        QCOMPARE(s.panel(n)->textFormat(), Qt::PlainText);

    const QString a = s.page("a.htm", "<title>Page A</title>");
    UserInput::enterText(s.box("Address"), a, Qt::Key_Enter);
    QVERIFY(waitUntil([&] { return s.window->windowTitle() == "Page A"; }));
    s.press("Switch views");
    // "Open" takes the file dialog's filter as two strings run together.
    s.page("b.htm", "<title>Page B</title>");
    s.prompts.expect(Kind::OpenFile,
                     "HTML file (*.htm;*.html)|*.htm;*.html|Text File (*.txt;*.rtf)|*.txt;*.rtf|"
                     "MS Word file(*.doc)|*.doc|GIF file(*.gif)|*.gif|JPEG file(*.jpg)|*.jpg|"
                     "All Files(*.*)|*.*|",
                     s.home->filePath("b.htm"));
    s.trigger("File|Open");
    QVERIFY(waitUntil([&] { return s.view(View::View2).locationName() == "Page B"; }));
    // The generated shop's start page replaces whatever view was shown.
    s.window->preview(a);
    QVERIFY(s.view(View::View1).widget()->isVisible() &&
            waitUntil([&] { return s.view1Shows(a); }));

    s.press("Mail");
    s.trigger("Tools|Submitting");
    QCOMPARE(s.panel(1)->text(),
             QStringLiteral("To submit, name the submitting program in Edit > Preferences..."));
    StartupValues programs = s.settings->values();
    programs.submittingProgram = "submit-tool --all";
    programs.publishingProgram = "publish-tool";
    QVERIFY(s.settings->change(programs).ok());
    s.trigger("Tools|Submitting");
    s.press("Publish");
    QCOMPARE(s.launcher.started, QStringList({"xdg-email", "submit-tool --all", "publish-tool"}));
    QCOMPARE(s.panel(1)->text(),
             QStringLiteral("Could not start the publishing program (publish-tool)."));
    programs.publishingProgram.clear();
    programs.orderDatabase = s.home->filePath("other-orders.db");
    programs.mailSizeLimitMB = 3;
    QVERIFY(s.settings->change(programs).ok());
    s.trigger("Tools|Publishing");
    QCOMPARE(s.window->generatorController()->orders().database(), programs.orderDatabase);
    QCOMPARE(s.window->generatorController()->orders().sizeLimit(), 3 * 1024 * 1024);
    QCOMPARE(qobject_cast<QAbstractButton*>(s.window->generatorWindow()->focusWidget())->text(),
             "Front Page");
    // An item with nothing behind it says so; Tools > "Orders" is the order list.
    s.trigger("Tools|Web Editor");
    QCOMPARE(s.panel(1)->text(), QStringLiteral("\"Web Editor\" is not part of this version."));
    QString ordersTitle;
    UserInput::whenDialogShows(this, [&](QDialog* dialog) {
        ordersTitle = dialog->windowTitle();
        dialog->reject();
    });
    s.trigger("Tools|Orders");
    QCOMPARE(ordersTitle, QStringLiteral("Orders"));
    s.trigger("Help|About");
    QVERIFY(s.window->findChild<AboutBox*>()->isVisible());

    // The first featured page of the shipped channel server is the start
    // page; closing writes it to its list.
    s.window->close();
    QCOMPARE(fileBytes(s.home->filePath("list6.prv")),
             (s.controller->location1() + QStringLiteral("index.htm\r\n")).toUtf8());
}

// The channel menus, search toolbar and Go menus filled from the shipped
// server, and what their items do; then the private zone's login and lists
// from "Go|Private"; back in the public zone a favourite, a refused page and
// the translations.
void TestBrowserWindow::channelsAndZones() {
    WindowSession s;
    QSignalSpy navigations(s.controller.get(), &BrowserController::navigateRequested);
    QVERIFY(s.show());
    BrowserWindow& w = *s.window;
    QMenu* shopping = w.menuBar()->findChild<QMenu*>("menu1");
    QVERIFY(waitUntil([&] {
        return captions(w.searchMenu()) == "Lumenseek; Findwell; Shop finder" &&
               captions(shopping) == "Market; Hollow Oak Crafts; Tinbell Toys";
    }));
    find(w.channelsMenu(), "News")->trigger();
    QVERIFY(waitUntil([&] { return s.view1Shows(s.controller->location1() + "pages/news.htm"); }));
    s.box("Search words")->setEditText("tea & cakes?");
    find(w.channels().searchButton(1)->menu(), "Lumenseek")->trigger();
    QCOMPARE(navigations.last().at(1).toString(),
             "http://www.lumenseek.example/search?q=tea%20%26%20cakes%3F");
    s.trigger("Go|World|Alvania");
    QVERIFY(waitUntil(
        [&] { return captions(w.searchMenu()) == "Alvania Lumenseek; Alvania Yellow Pages"; }));

    // The shipped table's password opens the zone, whose lists replace the
    // menus'; the address band hides.
    s.prompts.expect(Kind::Input, "Your password,please?", "quillpass")
        .expect(Kind::YesNo, "Would You like keep a record ?", "yes");
    s.trigger("Go|Private");
    QCOMPARE(s.panel(2)->text(), QStringLiteral("Your tracking will keeped !!! "));
    // A screen reader announces what a panel shows, and its tip as the description.
    QAccessibleInterface* zoneState = QAccessible::queryAccessibleInterface(s.panel(2));
    QCOMPARE(zoneState->text(QAccessible::Name), s.panel(2)->text());
    QCOMPARE(zoneState->text(QAccessible::Description), QStringLiteral("Result"));
    QVERIFY(w.findChild<QToolBar*>("addressBand")->isHidden());
    QVERIFY(
        waitUntil([&] { return captions(w.channelsMenu()) == "Members news; Members market"; }));
    s.trigger("Go|Private");

    const QString address = s.page("fav.htm", "<title>Fav</title>"),
                  second = s.page("fav2.htm", "<title>Fav 2</title>");
    // "Add favorites" takes the page whose navigation the controller has
    // heard complete.
    for (const QString& page : {address, second}) {
        s.controller->navigateShown(page);
        QVERIFY(waitUntil(
            [&] { return s.view1Shows(page) && s.controller->url(View::View1) == page; }));
        s.trigger("Go|Add favorites");
    }
    s.press("Favorites");
    auto* favourites = w.findChild<QListWidget*>("favorit2");
    QVERIFY(favourites->isVisible());
    QCOMPARE(favourites->count(), 2);
    QCOMPARE(favourites->item(0)->text(), address);
    QWidget* panel = favourites->parentWidget();
    QCOMPARE(QAccessible::queryAccessibleInterface(favourites)->text(QAccessible::Name),
             QStringLiteral("Favorites"));
    QVERIFY(named<QLabel>(panel, "Favorites")->isVisible());
    // The right button's menu acts on the entry under the pointer, not on
    // the one selected before; double-click opens.
    const auto menuOn = [&](int row, const QString& choice) {
        UserInput::click(favourites->viewport(), Qt::RightButton,
                         favourites->visualItemRect(favourites->item(row)).center());
        QTRY_VERIFY(QApplication::activePopupWidget());
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        UserInput::click(menu, Qt::LeftButton, menu->actionGeometry(find(menu, choice)).center());
    };
    favourites->setCurrentRow(1);
    menuOn(0, "Open");
    QVERIFY(waitUntil([&] { return s.view1Shows(address); }));
    UserInput::doubleClick(favourites->viewport(),
                           favourites->visualItemRect(favourites->item(1)).center());
    QVERIFY(waitUntil([&] { return s.view1Shows(second); }));
    QCOMPARE(favourites->count(), 2);
    menuOn(1, "Delete");
    QCOMPARE(favourites->count(), 1);
    UserInput::click(named<QToolButton>(panel, "Close"));
    QVERIFY(!favourites->isVisible());
    s.press("Favorites");
    QCOMPARE(favourites->item(0)->text(), address);

    // A page completed on a blocked site is sent back, and the page the
    // view is back on is the one "Add favorites" would take: when the page
    // had loaded (the engine shows the earlier page from its history without
    // a load) and when it was still loading (its picture never comes).
    s.controller->zone().setEntries(ZoneSession::PrivateHistory, {"blocked"});
    s.server->setResponse("hangs.png", {200, "OK", "image/png", {}, HttpFixture::Delivery::Hang});
    for (const QByteArray& body :
         {QByteArray("<title>No</title>"), QByteArray("<title>No</title><img src='hangs.png'>")}) {
        s.prompts.expectMessage(" Sorry! You have no right to see it!!!");
        s.controller->navigateShown(s.page("blocked.htm", body));
        QVERIFY(waitUntil([&] { return s.prompts.done() && s.view1Shows(second); }));
        QVERIFY(waitUntil([&] { return s.controller->url(View::View1) == second; }));
    }

    // Without a translation service the views stay and the status says so.
    // The service chosen in Preferences is used from then on: a translation
    // loads its answer into the view not shown, which then takes the shown
    // view's place; from view 2 the next one comes back in view 1.
    s.trigger("Go|Translation|English to German");
    QCOMPARE(s.panel(1)->text(),
             QStringLiteral("No translation service is set: choose one in Edit > Preferences..."));
    QVERIFY(!s.view(View::View2).widget()->isVisible());
    const QString service = QStringLiteral("cgi-bin/translate");
    UserInput::whenDialogShows(this, [&](QDialog* dialog) {
        UserInput::enterText(fieldNamed(dialog, "Translation service:"), s.url(service));
    });
    s.trigger("Edit|Preferences...");
    QVERIFY(waitUntil([&] { return !s.settings->values().translationService.isEmpty(); }));
    s.server->serve(service, "<title>translated</title>");
    s.trigger("Go|Translation|English to German");
    QCOMPARE(s.panel(1)->text(), QStringLiteral("Translating..."));
    QVERIFY(waitUntil([&] { return s.view(View::View2).widget()->isVisible(); }));
    QVERIFY(s.view(View::View2).locationUrl().endsWith("&lp=en_de&doit=done"));
    s.trigger("Go|Translation|German to English");
    QVERIFY(waitUntil([&] { return s.view(View::View1).widget()->isVisible(); }));
}

// Links gathered and stepped through; the report shown; "Find
// keywords" ending, on Yes, in the full report in view 1, saved as CSV. Closing the
// window ends a walk, a crawl and a read waiting on pages that never answer.
void TestBrowserWindow::linksReportsAndCrawls() {
    WindowSession s;
    QVERIFY(s.show());
    const QString links = s.page("links.htm", "<a href='p1.htm'>One</a> <a href='p2.htm'>Two</a> "
                                              "<a href='p3.htm'>Three</a>");
    s.controller->navigateShown(links);
    QVERIFY(waitUntil([&] { return s.view1Shows(links); }));
    s.trigger("Finder|Get/Add all Links");
    QVERIFY(waitUntil([&] { return s.window->harvest().linkList()->count() == 3; }));
    s.press("Next link");
    QVERIFY(waitUntil([&] { return s.view1Shows(s.url("p2.htm")); }));
    s.trigger("Reporting|View|View report");
    QVERIFY(waitUntil([&] { return s.view(View::View1).locationName() == "Found links report"; }));

    HarvestState& harvest = s.controller->harvest();
    harvest.linkList = {s.page("firm.htm", "<p>Call us about needle work</p>")};
    s.controller->enterSearchWords("needle");
    s.prompts.expect(Kind::YesNo, "Found 1 links with Your Keywords.", "yes")
        .expect(Kind::YesNo, kImages, "no");
    const QString before = s.view(View::View1).locationUrl();
    s.trigger("Finder|Find keywords");
    QVERIFY(waitUntil([&] {
        const QString shown = s.view(View::View1).locationUrl();
        return shown != before && shown.contains("/report-") && !s.view(View::View1).busy();
    }));
    QVERIFY(fileBytes(QUrl(s.view(View::View1).locationUrl()).toLocalFile())
                .contains("Call us about needle work"));
    // "Save report" to a name ending in ".csv" writes the findings as CSV.
    s.prompts.expect(Kind::SaveFile, "|CSV file (*.csv)|", s.home->filePath("found.csv"));
    s.trigger("Reporting|Save|Save report");
    QVERIFY(fileBytes(s.home->filePath("found.csv"))
                .startsWith("kind,text,url,page_title,found_at\r\ntitle,," +
                            s.url("firm.htm").toUtf8() + ",,"));
    // "Create Full Report" on `links`, without pictures; true once view 1
    // shows the report.
    const auto fullReport = [&](const QStringList& links) {
        harvest.linkList = links;
        const QString shown = s.view(View::View1).locationUrl();
        s.prompts.expect(Kind::YesNo, kImages, "no");
        s.trigger("Finder|Create Full Report");
        return waitUntil([&] { return s.view(View::View1).locationUrl() != shown; });
    };
    // With robots.txt respected, the full report never opens what it
    // disallows.
    s.server->serve("robots.txt", "User-agent: *\nDisallow: /secret");
    s.controller->siteGate().setRespectRobots(true);
    QVERIFY(fullReport({s.page("secret.htm", "<p>hidden</p>"), s.url("firm.htm")}));
    QVERIFY(!s.server->requested().contains("/secret.htm"));
    // Each full report and each walk is a run of its own, which a site's
    // Crawl-delay may hold for a limited time: here none, one page a run.
    HttpFixture paced(s.home->path());
    QVERIFY(paced.start());
    paced.serve("robots.txt", "User-agent: *\nCrawl-delay: 0.01");
    s.controller->siteGate().setDelayHoldMs(0);
    QVERIFY(fullReport({paced.serve("a.htm", "<p>a</p>"), paced.serve("b.htm", "<p>b</p>")}));
    QVERIFY(fullReport({paced.serve("c.htm", "<p>c</p>")}));
    const QString blank = s.page("blank.htm", "<p>no links</p>");
    s.controller->navigateShown(blank);
    QVERIFY(waitUntil([&] { return s.view1Shows(blank); }));
    const QString walked = paced.serve("w.htm", "<p>w</p>");
    harvest.linkList = {walked};
    s.press("Get all links");
    // The walk has read the page and ended.
    QVERIFY(waitUntil([&] {
        return harvest.visitedLinks.contains(walked) &&
               !s.window->harvest().walkTimeout().isActive();
    }));
    QCOMPARE(paced.requested().filter(".htm"), QStringList({"/a.htm", "/c.htm", "/w.htm"}));
    s.controller->siteGate().setRespectRobots(false);

    s.server->setResponse("hang.htm", {200, "OK", {}, {}, HttpFixture::Delivery::Hang});
    harvest.linkList = {s.url("hang.htm") + "?walk"};
    s.press("Get all links");
    QVERIFY(waitUntil([&] { return s.window->harvest().walkTimeout().isActive(); }));
    harvest.linkList = {s.url("hang.htm") + "?crawl"};
    s.trigger("Finder|Find keywords");
    harvest.linkList = {s.url("hang.htm") + "?read"};
    s.prompts.expect(Kind::YesNo, kImages, "no");
    s.trigger("Finder|Create Full Report");
    QVERIFY(waitUntil([&] { return s.server->unansweredRequests() == 3; }));
    s.window->close();
    QVERIFY(!s.window->crawl().crawler().busy() &&
            !s.window->crawl().reader().timeout().isActive() &&
            !s.window->harvest().walkTimeout().isActive());
    QVERIFY(waitUntil([&] { return s.server->unansweredRequests() == 0; }) && s.prompts.done());
}

// Pictures of a loaded page, frames included, are collected, and the
// picture buffer is cleared from its menu. A double-clicked picture, link
// or same-origin frame's picture goes into the chosen catalog, or into the
// store generator's "Picture URL" while it is shown; what the page's
// scripts forge and a frame of another origin change nothing. One box at a
// time, even when another double-click comes while it is open.
void TestBrowserWindow::picturesReachTheBuffers() {
    WindowSession s;
    CountingBeep beep;
    s.window->buffers().setBeep(beep);
    QVERIFY(s.show());
    HttpFixture foreign(s.home->path());
    QVERIFY(foreign.start());
    // A picture, a picture link with text inside it, plain text, and frames
    // of the page's own origin and of another, each with a picture, all at
    // fixed places. The page's scripts forge a double-click on a picture, and
    // the same-origin frame's also posts a message such as the program's
    // page events once used.
    s.page("frame.htm", fixturePage("frame.htm", 0));
    s.page("x.htm", "<img src='x.gif' width='40' height='40'>");
    const QString pics = s.page("pics.htm", fixturePage("pictures.htm", foreign.port()));
    s.controller->navigateShown(pics);
    QVERIFY(waitUntil([&] { return s.panel(4)->text() == "Found - 3 pictures ! "; }));
    s.trigger("Reporting|Clear|Clear image buf");
    QCOMPARE(s.panel(4)->text(), QStringLiteral("Images'Listing is clear ! "));
    UserInput::hover(s.view(View::View1).widget(), {108, 8});
    QVERIFY(waitUntil([&] { return s.panel(1)->text() == s.url("big.jpg"); }));

    QWidget* page = s.view(View::View1).widget();
    const auto doubleClick = [&](QPoint at) {
        const int beeps = beep.count;
        UserInput::doubleClick(page, at);
        return waitUntil([&] { return beep.count == beeps + 1; });
    };
    s.controller->enterSearchWords("shoes");
    s.prompts.expectMessage(" Choose the catalog's name ,please !");
    s.prompts.whileOpen = [&] { Q_EMIT s.view(View::View1).pageDoubleClick(s.url("pic.gif")); };
    s.box("Search words")->setEditText("typed");
    UserInput::doubleClick(page, {20, 20});
    QVERIFY(waitUntil([&] { return s.prompts.done(); }));
    s.box("Search words")->setCurrentIndex(0);
    for (const QPoint at : {QPoint(20, 20), QPoint(108, 8), QPoint(20, 120)})
        QVERIFY(doubleClick(at));
    const QString picked = "<img src='" + s.url("pic.gif") + "'><img src='" + s.url("big.jpg") +
                           "'><img src='" + s.url("fpic.gif") + "'>";
    QCOMPARE(s.window->buffers().catalogs().at(0), picked);
    // The plain text's double-click after them (which only beeps) shows
    // they have all been and gone.
    const int beeps = beep.count;
    bool forged = false;
    const QString forge =
        "forge(); document.querySelectorAll('iframe')[0].contentWindow.postMessage('go', '*');";
    s.view(View::View1).page()->runJavaScript(forge, [&forged](const QVariant&) { forged = true; });
    QVERIFY(waitUntil([&] { return forged; }));
    UserInput::doubleClick(page, {220, 120});
    QVERIFY(doubleClick({210, 8}));
    QCOMPARE(beep.count, beeps + 1);
    QCOMPARE(s.window->buffers().catalogs().at(0), picked);

    s.trigger("Tools|Store Generator");
    QLineEdit* pictureUrl = named<QLineEdit>(s.window->generatorWindow(), "Picture URL");
    s.window->activateWindow();
    QVERIFY(doubleClick({20, 20}));
    QCOMPARE(pictureUrl->text(), s.url("pic.gif"));
}

// On a real X display (Xvfb; the realdisplay test runs this alone) every
// key and click goes through the X server by xdotool, exactly as a
// person's: the window gets the keyboard as a window manager gives it on a
// click; the address field is clicked, its text selected and typed over,
// and Return loads the page. It waits for states, never for a time.
void TestBrowserWindow::typedOnARealDisplay() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs a real X display; the realdisplay test gives it one");
    WindowSession s;
    s.window->move(0, 0);
    QVERIFY(s.show());
    QVERIFY(XInput::focus(s.window.get()));
    const auto enterAddress = [&s](const QString& page, const QString& title) {
        return XInput::typeInto(s.box("Address"), s.home->filePath(page)) &&
               XInput::key("Return") &&
               QTest::qWaitFor([&] { return s.window->windowTitle() == title; }, 30000);
    };
    s.page("first.htm", "<title>First typed page</title>");
    QVERIFY(enterAddress("first.htm", "First typed page"));

    // The favourites panel by keyboard: it opens with the focus on its list,
    // Enter opens the entry and Delete removes it.
    s.trigger("Go|Add favorites");
    s.page("second.htm", "<title>Second page</title>");
    QVERIFY(enterAddress("second.htm", "Second page"));
    auto* toolbar = s.window->findChild<QToolBar*>("mainToolbar");
    QVERIFY(XInput::click(toolbar->widgetForAction(find(toolbar, "Favorites"))));
    auto* favourites = s.window->findChild<QListWidget*>("favorit2");
    QTRY_VERIFY_WITH_TIMEOUT(favourites->hasFocus(), 30000);
    QVERIFY(XInput::key("Return"));
    QTRY_COMPARE_WITH_TIMEOUT(s.window->windowTitle(), QStringLiteral("First typed page"), 30000);
    QVERIFY(XInput::key("Delete"));
    QTRY_COMPARE_WITH_TIMEOUT(favourites->count(), 0, 30000);
}

// Search words entered and deleted; Edit > "Preferences..." typed into;
// Tools > "Store Generator", New Project, a category and an item typed field
// by field, written to the project files on a tab switch; a double-click on
// a picture in view 1 fills the item's "Picture URL". Every key and click
// goes through the X server.
void TestBrowserWindow::generatorOnARealDisplay() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs a real X display; the realdisplay test gives it one");
    WindowSession s;
    s.window->move(0, 0);
    QVERIFY(s.show());
    QVERIFY(XInput::focus(s.window.get()));
    QVERIFY(XInput::typeInto(s.box("Search words"), "hats"));
    QVERIFY(XInput::key("Return"));
    QTRY_COMPARE_WITH_TIMEOUT(s.controller->searchWords(), QStringList({"hats"}), kTimeoutMs);
    QVERIFY(XInput::typeInto(s.box("Search words"), "hats"));
    QVERIFY(XInput::key("Delete"));
    QTRY_COMPARE_WITH_TIMEOUT(s.controller->searchWords(), QStringList(), kTimeoutMs);

    QVERIFY(xChooseMenu(s.window.get(), "Edit", "Preferences..."));
    QTRY_VERIFY_WITH_TIMEOUT(s.window->findChild<PreferencesDialog*>(), kTimeoutMs);
    auto* preferences = s.window->findChild<PreferencesDialog*>();
    QVERIFY(QTest::qWaitForWindowExposed(preferences));
    QVERIFY(XInput::focus(preferences));
    QVERIFY(
        XInput::typeInto(fieldNamed(preferences, "Translation service:"), "http://127.0.0.1:9/t"));
    QVERIFY(XInput::key("Return"));
    QTRY_COMPARE_WITH_TIMEOUT(s.settings->values().translationService,
                              QStringLiteral("http://127.0.0.1:9/t"), kTimeoutMs);

    QVERIFY(XInput::focus(s.window.get()));
    QVERIFY(xChooseMenu(s.window.get(), "Tools", "Store Generator"));
    QTRY_VERIFY_WITH_TIMEOUT(
        s.window->generatorWindow() && s.window->generatorWindow()->isVisible(), kTimeoutMs);
    QWidget* generator = s.window->generatorWindow();
    // Beside the browser, so view 1 stays in sight.
    generator->move(s.window->frameGeometry().right() + 20, 0);
    QVERIFY(XInput::focus(generator));
    auto* tabs = generator->findChild<QTabWidget*>();
    QVERIFY(xClickTab(tabs, "Project"));
    s.prompts.expect(Kind::Input, "Enter the new project's name , please", "Shop")
        .expectMessage("You may fill the category listing for the new Store");
    QVERIFY(XInput::click(named<QPushButton>(generator, "New Project")));
    QTRY_VERIFY_WITH_TIMEOUT(s.prompts.done(), kTimeoutMs);
    QVERIFY(XInput::typeInto(named<QLineEdit>(generator, "Category name :"), "Hats"));
    QVERIFY(XInput::key("Return"));
    QTRY_COMPARE_WITH_TIMEOUT(named<QListWidget>(generator, "Categories' names :")->count(), 1,
                              kTimeoutMs);
    QVERIFY(xClickTab(tabs, "Layout"));
    const QDir shop(s.home->filePath("Shop"));
    QTRY_COMPARE_WITH_TIMEOUT(fileBytes(shop.filePath("Shop.caa")), QByteArray("Hats\r\n"),
                              kTimeoutMs);

    QVERIFY(XInput::typeInto(named<QLineEdit>(generator, "Category name"), "Hats"));
    QVERIFY(XInput::key("Return"));
    QVERIFY(XInput::typeInto(named<QLineEdit>(generator, "Item ID"), "H1"));
    QVERIFY(XInput::key("Tab"));
    QVERIFY(XInput::type("Straw hat"));
    QVERIFY(XInput::key("Tab"));
    QVERIFY(XInput::type("12.5"));
    QVERIFY(XInput::click(named<QPushButton>(generator, "Add")));
    QTRY_COMPARE_WITH_TIMEOUT(fileBytes(shop.filePath("Hats.pro")),
                              QByteArray("H1^Straw hat^12.5^^^^^^^\r\n"), kTimeoutMs);

    // A picture filling the top left of a page in view 1.
    QImage picture(200, 150, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    QVERIFY(picture.save(s.home->filePath("hat.png")));
    const QString hat =
        s.page("hat.htm", "<title>Hat picture</title><body style='margin:0'><img src='hat.png'>");
    QVERIFY(XInput::focus(s.window.get()));
    QVERIFY(XInput::typeInto(s.box("Address"), hat));
    QVERIFY(XInput::key("Return"));
    QVERIFY(waitUntil([&] { return s.view1Shows(hat); }));
    QVERIFY(XInput::click(s.view(View::View1).widget(), QPoint(100, 75), 2));
    QTRY_COMPARE_WITH_TIMEOUT(named<QLineEdit>(generator, "Picture URL")->text(), s.url("hat.png"),
                              kTimeoutMs);
}

QTEST_MAIN(TestBrowserWindow)
#include "test_browser_window.moc"
