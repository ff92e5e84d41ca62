// The real browser window, offscreen: its menus, bands and launchers, the
// shown view's browsing, and the channel menus, the zones and the
// translations reaching their views and widgets (their rules are proven on
// the controller's and the panels' own classes).

#include "WindowTestKit.h"
#include "browser/ui/AboutBox.h"
#include "browser/ui/BrowserWindow.h"
#include "browser/ui/ChannelPanel.h"
#include "browser/ui/WebView.h"
#include "project/GeneratorController.h"
#include "support/ExpectedFile.h"
#include "support/UserInput.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSettings>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <optional>

namespace {

using View = BrowserController::View;
using Kind = ScriptedPrompts::Kind;

// Whether the menu entry along a path such as "Go|Channels|CPU" exists and
// is shown with every menu it is in: every step but the last is a submenu;
// the last is an item when there is one of that name.
std::optional<bool> shownAlong(QMenuBar* bar, const QString& path) {
    QList<QAction*> actions = bar->actions();
    bool shown = true;
    const QStringList steps = path.split(QLatin1Char('|'));
    for (const QString& step : steps) {
        const bool last = &step == &steps.last();
        QAction* found = nullptr;
        for (QAction* action : std::as_const(actions))
            if (action->text() == step && (last || action->menu()) && (!found || !action->menu()))
                found = action;
        if (!found)
            return std::nullopt;
        shown = shown && found->isVisible();
        if (!last)
            actions = found->menu()->actions();
    }
    return shown;
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

} // namespace

class TestBrowserWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void menusBandsAndLaunchers();
    void browsingAndClosing();
    void channelsAndZones();
    void translationsSwapTheViews();
};

// Every menu and item by caption, misspellings included (those marked
// "hidden" stay so until the channel server fills them); commands that
// start programs or other windows.
void TestBrowserWindow::menusBandsAndLaunchers() {
    WindowSession s;
    QMenuBar* bar = s.window->menuBar();
    const QString groups = QString::fromUtf8(expectedFile("browser/expected/menus.txt", false));
    for (QString group : groups.split('\n', Qt::SkipEmptyParts)) {
        const bool shown = !group.startsWith("hidden ");
        const QStringList menuAndItems = group.remove(QRegularExpression("^hidden ")).split(": ");
        for (const QString& item : menuAndItems[1].split("; "))
            QVERIFY2(shownAlong(bar, menuAndItems[0] + '|' + item) == shown, qPrintable(item));
    }

    // Submitting and Publishing start the programs the settings name;
    // without one, Submitting says which to fill and Publishing leads to
    // the store generator's "Front Page", made once and shown again.
    s.press("Mail");
    s.trigger("Tools|Submitting");
    QCOMPARE(s.panel(1)->text(), QStringLiteral("To submit, name the program in the setting "
                                                "[Startup] SubmittingProgram."));
    QSettings settings("Quillmart", "Quillmart");
    settings.setValue("Startup/SubmittingProgram", "submit-tool --all");
    settings.setValue("Startup/PublishingProgram", "publish-tool");
    s.trigger("Tools|Submitting");
    s.press("Publish");
    QCOMPARE(s.launcher.started, QStringList({"xdg-email", "submit-tool", "publish-tool"}));
    QCOMPARE(s.panel(1)->text(),
             QStringLiteral("Could not start the publishing program (publish-tool)."));
    settings.remove("Startup/PublishingProgram");
    // The store generator the window makes takes the [Startup] settings.
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

// Start-up on the shipped pages; addresses typed and entered (keypad and
// main keyboard), switching views, "Open" and the shop's preview reaching
// the shown view; closing writes the lists.
void TestBrowserWindow::browsingAndClosing() {
    WindowSession s;
    QCOMPARE(s.window->windowTitle(), QStringLiteral("Skyvane  Explorer"));
    QVERIFY(s.show());
    QVERIFY(s.view(View::View2).locationUrl().endsWith("/velgan/welcome.htm"));
    QCOMPARE(s.panel(1)->text() + s.panel(2)->text(), QStringLiteral("DonePublic zone"));
    // The panels show addresses and texts from pages, never as markup.
    for (int n = 1; n <= 5; ++n)
        QCOMPARE(s.panel(n)->textFormat(), Qt::PlainText);

    const QString a = s.home->filePath("a.htm");
    s.page("a.htm", "<title>Page A</title>");
    UserInput::enterText(s.box("Address"), a, Qt::Key_Enter);
    QVERIFY(s.waitFor([&] { return s.window->windowTitle() == "Page A"; }));

    const QString welcome = s.view(View::View2).locationUrl();
    s.press("Switch views");
    QVERIFY(s.view(View::View2).widget()->isVisible() && s.window->addressText() == welcome);
    // "Open" takes the file dialog's filter as two strings run together.
    const QString b = s.home->filePath("b.htm");
    s.page("b.htm", "<title>Page B</title>");
    s.prompts.expect(Kind::OpenFile,
                     "HTML file (*.htm;*.html)|*.htm;*.html|Text File (*.txt;*.rtf)|*.txt;*.rtf|"
                     "MS Word file(*.doc)|*.doc|GIF file(*.gif)|*.gif|JPEG file(*.jpg)|*.jpg|"
                     "All Files(*.*)|*.*|",
                     b);
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

// The channel menus as the shipped server fills them, and what their items
// do; then the private zone's login and lists from "Go|Private", and back
// in the public zone a favourite and a refused page.
void TestBrowserWindow::channelsAndZones() {
    WindowSession s;
    QSignalSpy navigations(s.controller.get(), &BrowserController::navigateRequested);
    QVERIFY(s.show());
    BrowserWindow& w = *s.window;
    QVERIFY(s.waitFor([&] { return !w.channelsMenu()->isEmpty() && !w.searchMenu()->isEmpty(); }));
    QString menus = "[Search engines]\n" + captions(w.searchMenu()) + "\n[Channels]\n" +
                    captions(w.channelsMenu()) + "\n[search toolbar]\n";
    auto* searchBar = w.findChild<QToolBar*>("searchToolbar");
    for (QAction* action : searchBar->actions())
        if (auto* button = qobject_cast<QToolButton*>(searchBar->widgetForAction(action));
            button && action->isVisible())
            menus += button->text() + ": " + captions(button->menu()) + '\n';
    menus += "[Go]\n";
    for (const char* name : {"World", "menu1", "menu2", "menu3", "menu4", "menu5"}) {
        QMenu* menu = w.menuBar()->findChild<QMenu*>(QString::fromLatin1(name));
        menus += menu->title() + ": " + captions(menu) + '\n';
    }
    QCOMPARE(menus.toUtf8(), expectedFile("browser/expected/channel_menus.txt", false));
    const QString base = s.controller->location1();
    const auto last = [&] { return navigations.last().at(1).toString(); };
    choose(w.channelsMenu(), "News");
    QVERIFY(s.waitFor([&] { return s.view1Shows(base + "pages/news.htm"); }));
    s.box("Search words")->setEditText("tea & cakes?");
    choose(w.channels().searchButton(1)->menu(), "Lumenseek");
    QCOMPARE(last(), "http://www.lumenseek.example/search?q=tea%20%26%20cakes%3F");
    s.trigger("Go|World|Alvania");
    QVERIFY(s.waitFor(
        [&] { return captions(w.searchMenu()) == "Alvania Lumenseek; Alvania Yellow Pages"; }));

    // The shipped table's password opens the zone, whose lists replace the
    // menus'; the address band hides and the zone keeps its own favourites.
    auto* addressBand = w.findChild<QToolBar*>("addressBand");
    s.prompts.expect(Kind::Input, "Your password,please?", "quillpass")
        .expect(Kind::YesNo, "Would You like keep a record ?", "yes");
    s.trigger("Go|Private");
    QCOMPARE(s.panel(2)->text(), QStringLiteral("Your tracking will keeped !!! "));
    QVERIFY(addressBand->isHidden());
    QVERIFY(
        s.waitFor([&] { return captions(w.channelsMenu()) == "Members news; Members market"; }));
    choose(w.channelsMenu(), "Members news");
    QCOMPARE(last(), base + "private/start.htm");
    s.trigger("Go|Private");
    QVERIFY(!addressBand->isHidden());

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
    s.blockSites({"blocked"});
    s.prompts.expectMessage(" Sorry! You have no right to see it!!!");
    s.controller->navigateShown(s.page("blocked.htm", "<title>No</title>"));
    QVERIFY(s.waitFor([&] { return s.prompts.done() && s.view1Shows(address); }));
}

// A page the shown view finishes on its own while the service has not
// answered does not count as the translation; a second command sends a new
// request, and its answer takes the shown view's place, leaving the
// untranslated page one switch away. From view 2 the next translation
// comes back in view 1.
void TestBrowserWindow::translationsSwapTheViews() {
    WindowSession s;
    const QString service = QStringLiteral("cgi-bin/translate");
    QSettings("Quillmart", "Quillmart").setValue("Startup/TranslationService", s.url(service));
    QVERIFY(s.show());
    HttpFixture::Response translated;
    translated.contentType = "text/html";
    // The page's title is the query it was asked with, as the page sees it.
    translated.body = "<script>document.title = location.search;</script>translated";
    translated.delivery = HttpFixture::Delivery::Hang;
    s.server->setResponse(service, translated);
    QStringList texts; // what status panel 1 showed
    connect(s.controller.get(), &BrowserController::changed, this,
            [&] { texts << s.controller->statusText(1); });
    s.trigger("Go|Translation|Spanish to English");
    QCOMPARE(s.panel(1)->text(), QStringLiteral("Translating..."));
    const QString page = s.page("list.htm", "<title>Shop</title>Preise");
    s.controller->navigateShown(page);
    QVERIFY(s.waitFor([&] { return s.view1Shows(page); }));
    QVERIFY(!texts.contains("Translation is done"));

    translated.delivery = HttpFixture::Delivery::Send;
    s.server->setResponse(service, translated);
    s.trigger("Go|Translation|English to German");
    QVERIFY(s.waitFor([&] { return s.view(View::View2).widget()->isVisible(); }));
    QVERIFY(texts.contains("Translation is done"));
    QVERIFY(s.waitFor([&] {
        return s.view(View::View2).locationName().endsWith("%2Flist.htm&lp=en_de&doit=done");
    }));
    QCOMPARE(s.view(View::View1).locationUrl(), page);
    s.trigger("Go|Translation|German to English");
    QVERIFY(s.waitFor([&] { return s.view(View::View1).widget()->isVisible(); }));
}

QTEST_MAIN(TestBrowserWindow)
#include "test_browser_window.moc"
