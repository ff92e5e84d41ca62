// The real browser window, offscreen, on pages of a local web server: its
// menus and launchers, the shown view's browsing, the channel menus, the
// zones, the translations, the harvest and the buffers reaching their views
// and widgets (their rules are proven on the controller's, the harvest's
// and the buffers' own classes); and the about box.

#include "WindowTestKit.h"
#include "browser/ui/AboutBox.h"
#include "browser/ui/BrowserWindow.h"
#include "browser/ui/BufferPanel.h"
#include "browser/ui/ChannelPanel.h"
#include "browser/ui/CrawlPanel.h"
#include "browser/ui/HarvestPanel.h"
#include "browser/ui/PageReaderDrive.h"
#include "browser/ui/WebView.h"
#include "harvest/Crawler.h"
#include "platform/Beep.h"
#include "project/GeneratorController.h"
#include "support/ExpectedFile.h"
#include "support/UserInput.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QToolBar>
#include <QWebEnginePage>
#include <QtTest>

namespace {

using View = BrowserController::View;
using Kind = ScriptedPrompts::Kind;
const QString kImages = QStringLiteral("Would You like collect images ?");

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

void choose(QMenu* menu, const QString& caption) {
    for (QAction* action : menu->actions())
        if (action->text() == caption)
            return action->trigger();
    QFAIL(qPrintable("no item " + caption));
}

class CountingBeep : public Beep {
public:
    void beep() override { ++count; }
    int count = 0;
};

// A picture, a picture link with text inside it, plain text, and frames of
// the page's own origin and of another (FOREIGN), each with a picture, all
// at fixed places. The page's scripts forge a double-click on a picture,
// and the same-origin frame's also posts a message such as the program's
// page events once used.
const char* kPicturesPage =
    "<body style='margin:0'>"
    "<img id='pic' src='pic.gif' width='40' height='40' style='position:absolute;left:0;top:0'>"
    "<a href='big.jpg' onclick='return false' style='position:absolute;left:100px;top:0'><b>"
    "Big</b></a><p style='position:absolute;left:200px;top:0;margin:0'>text</p>"
    "<iframe src='frame.htm' width='100' height='100' "
    "style='position:absolute;left:0;top:100px;border:0'></iframe>"
    "<iframe src='FOREIGN' width='100' height='100' "
    "style='position:absolute;left:200px;top:100px;border:0'></iframe><script>"
    "function forge() { document.getElementById('pic').dispatchEvent("
    "new MouseEvent('dblclick', {bubbles: true})); }</script></body>";
const char* kFramePage =
    "<body style='margin:0'><img id='fpic' src='fpic.gif' width='40' height='40'>"
    "<script>window.addEventListener('message', function (e) {"
    " document.getElementById('fpic').dispatchEvent(new MouseEvent('dblclick', {bubbles: true}));"
    " top.postMessage({kind: 'quillmart-page-event', type: 'dblclick',"
    " address: document.getElementById('fpic').src}, '*'); });</script></body>";

} // namespace

class TestBrowserWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aboutBox_data();
    void aboutBox();
    void menusAndLaunchers();
    void browsingAndClosing();
    void channelsAndZones();
    void translationsSwapTheViews();
    void linksReportsAndCrawls();
    void picturesReachTheBuffers();
};

void TestBrowserWindow::aboutBox_data() {
    QTest::addColumn<QStringList>("programs");
    QTest::addColumn<QString>("started"); // empty: the box tells it cannot start one
    QTest::newRow("GNOME settings opens its overview")
        << QStringList{"gnome-control-center"} << "/usr/bin/gnome-control-center info-overview";
    QTest::newRow("a dedicated tool before the desktop's settings")
        << QStringList{"gnome-control-center", "hardinfo"} << "/usr/bin/hardinfo";
    QTest::newRow("none installed") << QStringList{} << QString();
}

// The box names the program and its version; "System Info..." starts the
// first system information program installed, or says none can be started.
void TestBrowserWindow::aboutBox() {
    QFETCH(QStringList, programs);
    QFETCH(QString, started);
    RecordingLauncher launcher;
    launcher.succeeds = true;
    ScriptedPrompts prompts;
    if (started.isEmpty())
        prompts.expectMessage("System Information Is Unavailable At This Time");
    AboutBox box(launcher, prompts, [programs](const QString& name) {
        return programs.contains(name) ? "/usr/bin/" + name : QString();
    });
    QCOMPARE(box.windowTitle(), QStringLiteral("About Quillmart 6.0"));
    QCOMPARE(box.findChild<QLabel*>("version")->text(), QStringLiteral("Version 6.0.9"));
    QByteArray description = expectedFile("browser/expected/about_description.txt");
    description.chop(2); // the file's own last line end
    QCOMPARE(box.findChild<QLabel*>("description")->text().toUtf8(), description);
    for (auto* button : box.findChildren<QPushButton*>())
        if (button->text() == "&System Info...")
            button->click();
    QVERIFY(prompts.done());
    QCOMPARE(launcher.started, started.isEmpty() ? QStringList() : QStringList{started});
}

// Every menu and item by caption, misspellings included (those marked
// "hidden" stay so until the channel server fills them); commands that
// start programs or other windows. Submitting and Publishing start the
// programs the settings name; without one, Submitting says which to fill
// and Publishing leads to the store generator's "Front Page", made with the
// [Startup] settings.
void TestBrowserWindow::menusAndLaunchers() {
    WindowSession s;
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

    s.press("Mail");
    s.trigger("Tools|Submitting");
    QCOMPARE(s.panel(1)->text(), QStringLiteral("To submit, name the program in the setting "
                                                "[Startup] SubmittingProgram."));
    QSettings settings("Quillmart", "Quillmart");
    settings.setValue("Startup/SubmittingProgram", "submit-tool --all");
    settings.setValue("Startup/PublishingProgram", "publish-tool");
    s.trigger("Tools|Submitting");
    s.press("Publish");
    QCOMPARE(s.launcher.started, QStringList({"xdg-email", "submit-tool --all", "publish-tool"}));
    QCOMPARE(s.panel(1)->text(),
             QStringLiteral("Could not start the publishing program (publish-tool)."));
    settings.remove("Startup/PublishingProgram");
    const QString database = QDir(s.home->path()).filePath("other-orders.db");
    settings.setValue("Startup/OrderDatabase", database);
    settings.setValue("Startup/MailSizeLimitMB", 3);
    s.trigger("Tools|Publishing");
    QCOMPARE(s.window->generatorController()->orders().database(), database);
    QCOMPARE(s.window->generatorController()->orders().sizeLimit(), 3 * 1024 * 1024);
    QWidget* generator = s.window->generatorWindow();
    QCOMPARE(qobject_cast<QAbstractButton*>(generator->focusWidget())->text(), "Front Page");
    s.trigger("Help|About");
    QVERIFY(s.window->findChild<AboutBox*>()->isVisible());
}

// Start-up on the shipped pages; an address typed and entered with the
// keypad's Enter, switching views, "Open" and the shop's preview reaching
// the shown view; closing writes the lists.
void TestBrowserWindow::browsingAndClosing() {
    WindowSession s;
    QCOMPARE(s.window->windowTitle(), QStringLiteral("Skyvane  Explorer"));
    QVERIFY(s.show());
    QVERIFY(s.view(View::View2).locationUrl().endsWith("/velgan/welcome.htm"));
    // The panels show addresses and texts from pages, never as markup.
    for (int n = 1; n <= 5; ++n)
        QCOMPARE(s.panel(n)->textFormat(), Qt::PlainText);

    const QString a = s.page("a.htm", "<title>Page A</title>");
    UserInput::enterText(s.box("Address"), a, Qt::Key_Enter);
    QVERIFY(s.waitFor([&] { return s.window->windowTitle() == "Page A"; }));
    s.press("Switch views");
    QVERIFY(s.view(View::View2).widget()->isVisible());
    // "Open" takes the file dialog's filter as two strings run together.
    s.page("b.htm", "<title>Page B</title>");
    s.prompts.expect(Kind::OpenFile,
                     "HTML file (*.htm;*.html)|*.htm;*.html|Text File (*.txt;*.rtf)|*.txt;*.rtf|"
                     "MS Word file(*.doc)|*.doc|GIF file(*.gif)|*.gif|JPEG file(*.jpg)|*.jpg|"
                     "All Files(*.*)|*.*|",
                     s.home->filePath("b.htm"));
    s.trigger("File|Open");
    QVERIFY(s.waitFor([&] { return s.view(View::View2).locationName() == "Page B"; }));
    // The generated shop's start page replaces whatever view was shown.
    s.window->preview(a);
    QVERIFY(s.view(View::View1).widget()->isVisible());

    // The first featured page of the shipped channel server is the start
    // page; closing writes it to its list.
    s.window->close();
    QCOMPARE(fileBytes(s.home->filePath("list6.prv")),
             (s.controller->location1() + QStringLiteral("index.htm\r\n")).toUtf8());
    QVERIFY(s.prompts.done());
}

// The channel menus, search toolbar and Go menus filled from the shipped
// server, and what their items do; then the private zone's login and lists from "Go|Private", and
// back in the public zone a favourite and a refused page.
void TestBrowserWindow::channelsAndZones() {
    WindowSession s;
    QSignalSpy navigations(s.controller.get(), &BrowserController::navigateRequested);
    QVERIFY(s.show());
    BrowserWindow& w = *s.window;
    QMenu* shopping = w.menuBar()->findChild<QMenu*>("menu1");
    QVERIFY(s.waitFor([&] {
        return captions(w.searchMenu()) == "Lumenseek; Findwell; Shop finder" &&
               captions(shopping) == "Market; Hollow Oak Crafts; Tinbell Toys";
    }));
    choose(w.channelsMenu(), "News");
    QVERIFY(s.waitFor([&] { return s.view1Shows(s.controller->location1() + "pages/news.htm"); }));
    s.box("Search words")->setEditText("tea & cakes?");
    choose(w.channels().searchButton(1)->menu(), "Lumenseek");
    QCOMPARE(navigations.last().at(1).toString(),
             "http://www.lumenseek.example/search?q=tea%20%26%20cakes%3F");
    s.trigger("Go|World|Alvania");
    QVERIFY(s.waitFor(
        [&] { return captions(w.searchMenu()) == "Alvania Lumenseek; Alvania Yellow Pages"; }));

    // The shipped table's password opens the zone, whose lists replace the
    // menus'; the address band hides.
    s.prompts.expect(Kind::Input, "Your password,please?", "quillpass")
        .expect(Kind::YesNo, "Would You like keep a record ?", "yes");
    s.trigger("Go|Private");
    QCOMPARE(s.panel(2)->text(), QStringLiteral("Your tracking will keeped !!! "));
    QVERIFY(w.findChild<QToolBar*>("addressBand")->isHidden());
    QVERIFY(
        s.waitFor([&] { return captions(w.channelsMenu()) == "Members news; Members market"; }));
    s.trigger("Go|Private");

    const QString address = s.page("fav.htm", "<title>Fav</title>");
    s.controller->navigateShown(address);
    QVERIFY(s.waitFor([&] { return s.view1Shows(address); }));
    s.trigger("Go|Add favorites");
    s.press("Favorites");
    auto* favourites = w.findChild<QListWidget*>("favorit2");
    QVERIFY(favourites->isVisible());
    QCOMPARE(favourites->count(), 1);
    QCOMPARE(favourites->item(0)->text(), address);

    // A page completed on a blocked site is sent back.
    s.controller->zone().setEntries(ZoneSession::PrivateHistory, {"blocked"});
    s.prompts.expectMessage(" Sorry! You have no right to see it!!!");
    s.controller->navigateShown(s.page("blocked.htm", "<title>No</title>"));
    QVERIFY(s.waitFor([&] { return s.prompts.done() && s.view1Shows(address); }));
}

// A translation command loads the service's answer into the view not shown,
// which then takes the shown view's place; from view 2 the next
// translation comes back in view 1.
void TestBrowserWindow::translationsSwapTheViews() {
    WindowSession s;
    const QString service = QStringLiteral("cgi-bin/translate");
    QSettings("Quillmart", "Quillmart").setValue("Startup/TranslationService", s.url(service));
    QVERIFY(s.show());
    s.server->setResponse(service, {200, "OK", "text/html", "<title>translated</title>"});
    s.trigger("Go|Translation|English to German");
    QCOMPARE(s.panel(1)->text(), QStringLiteral("Translating..."));
    QVERIFY(s.waitFor([&] { return s.view(View::View2).widget()->isVisible(); }));
    QVERIFY(s.view(View::View2).locationUrl().endsWith("&lp=en_de&doit=done"));
    s.trigger("Go|Translation|German to English");
    QVERIFY(s.waitFor([&] { return s.view(View::View1).widget()->isVisible(); }));
}

// Links gathered and stepped through; the report shown; "Find
// keywords" ending, on Yes, in the full report in view 1. Closing the
// window ends a walk, a crawl and a read waiting on pages that never answer.
void TestBrowserWindow::linksReportsAndCrawls() {
    WindowSession s;
    QVERIFY(s.show());
    for (const char* name : {"p1.htm", "p2.htm", "p3.htm"})
        s.page(name, "<title>Page</title>");
    const QString links = s.page("links.htm", "<a href='p1.htm'>One</a> <a href='p2.htm'>Two</a> "
                                              "<a href='p3.htm'>Three</a>");
    s.controller->navigateShown(links);
    QVERIFY(s.waitFor([&] { return s.view1Shows(links); }));
    s.trigger("Finder|Get/Add all Links");
    QVERIFY(s.waitFor([&] { return s.window->harvest().linkList()->count() == 3; }));
    s.press("Next link");
    QVERIFY(s.waitFor([&] { return s.view1Shows(s.url("p2.htm")); }));
    s.trigger("Reporting|View|View report");
    QVERIFY(s.waitFor([&] { return s.view(View::View1).locationName() == "Found links report"; }));

    HarvestState& harvest = s.controller->harvest();
    harvest.linkList = {s.page("firm.htm", "<p>Call us about needle work</p>")};
    s.controller->enterSearchWords("needle");
    s.prompts.expect(Kind::YesNo, "Found 1 links with Your Keywords.", "yes")
        .expect(Kind::YesNo, kImages, "no");
    const QString before = s.view(View::View1).locationUrl();
    s.trigger("Finder|Find keywords");
    QVERIFY(s.waitFor([&] {
        const QString shown = s.view(View::View1).locationUrl();
        return shown != before && shown.contains("/report-") && !s.view(View::View1).busy();
    }));
    QVERIFY(fileBytes(QUrl(s.view(View::View1).locationUrl()).toLocalFile())
                .contains("Call us about needle work"));

    HttpFixture::Response hang;
    hang.delivery = HttpFixture::Delivery::Hang;
    s.server->setResponse("hang.htm", hang);
    harvest.linkList = {s.url("hang.htm") + "?walk"};
    s.press("Get all links");
    QVERIFY(s.waitFor([&] { return s.window->harvest().walkTimeout().isActive(); }));
    harvest.linkList = {s.url("hang.htm") + "?crawl"};
    s.trigger("Finder|Find keywords");
    harvest.linkList = {s.url("hang.htm") + "?read"};
    s.prompts.expect(Kind::YesNo, kImages, "no");
    s.trigger("Finder|Create Full Report");
    QVERIFY(s.waitFor([&] { return s.server->unansweredRequests() == 3; }));
    s.window->close();
    QVERIFY(!s.window->crawl().crawler().busy() &&
            !s.window->crawl().reader().timeout().isActive() &&
            !s.window->harvest().walkTimeout().isActive());
    QVERIFY(s.waitFor([&] { return s.server->unansweredRequests() == 0; }));
    QVERIFY(s.prompts.done());
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
    s.page("frame.htm", kFramePage);
    s.page("x.htm", "<img src='x.gif' width='40' height='40'>");
    const QString pics = s.page(
        "pics.htm",
        QByteArray(kPicturesPage).replace("FOREIGN", foreign.url("x.htm").toString().toUtf8()));
    s.controller->navigateShown(pics);
    QVERIFY(s.waitFor([&] { return s.panel(4)->text() == "Found - 3 pictures ! "; }));
    s.trigger("Reporting|Clear|Clear image buf");
    QCOMPARE(s.panel(4)->text(), QStringLiteral("Images'Listing is clear ! "));
    UserInput::hover(s.view(View::View1).widget(), {108, 8});
    QVERIFY(s.waitFor([&] { return s.panel(1)->text() == s.url("big.jpg"); }));

    QWidget* page = s.view(View::View1).widget();
    const auto doubleClick = [&](QPoint at) {
        const int beeps = beep.count;
        UserInput::doubleClick(page, at);
        return s.waitFor([&] { return beep.count == beeps + 1; });
    };
    s.controller->enterSearchWords("shoes");
    s.prompts.expectMessage(" Choose the catalog's name ,please !");
    s.prompts.whileOpen = [&] { Q_EMIT s.view(View::View1).pageDoubleClick(s.url("pic.gif")); };
    s.box("Search words")->setEditText("typed");
    UserInput::doubleClick(page, {20, 20});
    QVERIFY(s.waitFor([&] { return s.prompts.done(); }));
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
    s.view(View::View1)
        .page()
        ->runJavaScript(
            "forge(); document.querySelectorAll('iframe')[0].contentWindow.postMessage('go', '*');",
            [&forged](const QVariant&) { forged = true; });
    QVERIFY(s.waitFor([&] { return forged; }));
    UserInput::doubleClick(page, {220, 120});
    QVERIFY(doubleClick({210, 8}));
    QCOMPARE(beep.count, beeps + 1);
    QCOMPARE(s.window->buffers().catalogs().at(0), picked);

    s.trigger("Tools|Store Generator");
    QLineEdit* pictureUrl = nullptr;
    for (QLineEdit* edit : s.window->generatorWindow()->findChildren<QLineEdit*>())
        if (edit->accessibleName() == QLatin1String("Picture URL"))
            pictureUrl = edit;
    s.window->activateWindow();
    QVERIFY(doubleClick({20, 20}));
    QCOMPARE(pictureUrl->text(), s.url("pic.gif"));
}

QTEST_MAIN(TestBrowserWindow)
#include "test_browser_window.moc"
