// The zones in the real browser window, offscreen: the adult listing, the
// private-zone login and logout from "Go|Private", the favourites and
// history panels, and the public zone's refusal of a completed page.

#include "WindowTestKit.h"
#include "browser/ui/BrowserWindow.h"
#include "browser/ui/WebView.h"
#include "support/ExpectedFile.h"
#include "support/HttpFixture.h"
#include "support/ScriptedPrompts.h"
#include "support/UserInput.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>
#include <QtTest>
#include <memory>

namespace {

const int kLoadMs = 20000;
using View = BrowserController::View;
using Kind = ScriptedPrompts::Kind;

const QString kRefused = QStringLiteral(" Sorry! You have no right to see it!!!");
const QString kLoginPrompt = QStringLiteral("Your password,please?");

} // namespace

class TestZonePanel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void zonesAndTheirLists();

private:
    QString writePage(const QString& name) const;
    void openInView1(const QString& address) const;
    void trigger(const QString& path) const { triggerMenu(m_window->menuBar(), path); }
    void press(const QString& tip) const { pressToolbarButton(m_window.get(), tip); }
    bool canSaveImageBuf() const;
    QLabel* panel(int n) const { return m_window->statusBar()->findChildren<QLabel*>()[n - 1]; }
    QListWidget* list(const char* name) const {
        return m_window->findChild<QListWidget*>(QString::fromLatin1(name));
    }
    QStringList shownLists() const;
    QToolBar* addressBand() const {
        return m_window->findChild<QToolBar*>(QStringLiteral("addressBand"));
    }
    QString view1Url() const { return m_window->view(View::View1).locationUrl(); }

    std::unique_ptr<QTemporaryDir> m_home;
    NoLauncher m_launcher;
    ScriptedPrompts m_prompts;
    std::unique_ptr<BrowserController> m_controller;
    std::unique_ptr<BrowserWindow> m_window;
};

void TestZonePanel::init() {
    m_home = makeTestHome();
    m_prompts = ScriptedPrompts();
    m_controller = std::make_unique<BrowserController>(m_home->path(), m_launcher);
    m_window = std::make_unique<BrowserWindow>(*m_controller, m_launcher, m_prompts);
    m_window->show();
    QTRY_VERIFY_WITH_TIMEOUT(view1Url().endsWith("/velgan/index.htm") && startUpSettled(*m_window),
                             kLoadMs);
}

void TestZonePanel::cleanup() {
    m_window.reset();
    m_controller.reset();
    QVERIFY(m_prompts.done());
}

QString TestZonePanel::writePage(const QString& name) const {
    const QString path = QDir(m_home->path()).filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write("<title>" + name.toUtf8() + "</title>" + name.toUtf8());
    return QUrl::fromLocalFile(path).toString();
}

void TestZonePanel::openInView1(const QString& address) const {
    m_controller->navigateShown(address);
    QTRY_VERIFY_WITH_TIMEOUT(view1Url() == address && !m_window->view(View::View1).busy() &&
                                 m_controller->url(View::View1) == address,
                             kLoadMs);
}

bool TestZonePanel::canSaveImageBuf() const {
    for (QAction* action : m_window->findChildren<QAction*>())
        if (action->text() == QLatin1String("Save image buf"))
            return action->isEnabled();
    return false;
}

QStringList TestZonePanel::shownLists() const {
    QStringList names;
    for (const char* name : {"favorit", "favorit2", "domain", "domain2"})
        if (list(name)->isVisible())
            names << QString::fromLatin1(name);
    return names;
}

// The adult listing and collections; the private zone's login and logout
// from "Go|Private"; then, back in the public zone, the favourites and
// history panels and the refusal of a typed address and of a completed page.
void TestZonePanel::zonesAndTheirLists() {
    m_controller->harvest().linkList = {"http://adult.example/a.htm", "http://adult.example/b"};
    m_prompts.expectMessage("Your adult listing is created and  saved");
    trigger("Finder|Create adult listing");
    QCOMPARE(list("domain")->count(), 1);
    QCOMPARE(list("domain")->item(0)->text(), QStringLiteral("adult.example"));

    m_prompts.expect(Kind::Input, "Your password , please", "sun and sky");
    trigger("Finder|Edit adult listing");
    QCOMPARE(shownLists(), QStringList({"domain"}));
    // A press first, as a real double-click gives one.
    QListWidget* domains = list("domain");
    const QPoint top = domains->visualItemRect(domains->item(0)).center();
    UserInput::click(domains->viewport(), Qt::LeftButton, top);
    UserInput::doubleClick(domains->viewport(), top);
    QVERIFY(m_controller->zone().entries(ZoneSession::PrivateHistory).isEmpty());
    // The link list, shown from status panel 3, takes the listing's place.
    UserInput::click(panel(3));
    QCOMPARE(shownLists(), QStringList());

    const QString page = writePage("collection.htm");
    m_prompts.expect(Kind::OpenFile, "HTML file (*.htm;*.html)|*.htm;*.html|Text File",
                     QUrl(page).toLocalFile());
    trigger("File|Open Collection");
    QTRY_COMPARE_WITH_TIMEOUT(view1Url(), page, kLoadMs);

    const QString start = writePage("private-start.htm");
    m_controller->zone().setPrivateZoneTable(
        {{"sesame", "http://127.0.0.1:9/s.txt", "http://127.0.0.1:9/c.txt", start}});
    QSignalSpy lists(m_controller.get(), &BrowserController::privateListsWanted);
    m_prompts.expect(Kind::Input, kLoginPrompt, "sesame")
        .expect(Kind::YesNo, "Would You like keep a record ?", "yes");
    trigger("Go|Private");
    QCOMPARE(panel(2)->text(), QStringLiteral("Your tracking will keeped !!! "));
    QVERIFY(addressBand()->isHidden());
    QCOMPARE(lists.size(), 1);
    QVERIFY(canSaveImageBuf());
    QTRY_COMPARE_WITH_TIMEOUT(view1Url(), start, kLoadMs);

    // The zone's own favourites list.
    press("Favorites");
    QCOMPARE(shownLists(), QStringList({"favorit"}));
    press("Favorites");

    // "Channels" stops tracking and keeps the band hidden.
    trigger("Go|Channels");
    QVERIFY(!m_controller->zone().tracking());
    QVERIFY(addressBand()->isHidden());

    trigger("Go|Private");
    QVERIFY(!m_controller->zone().inPrivateZone());
    QVERIFY(!addressBand()->isHidden());
    QVERIFY(!canSaveImageBuf());
    QTRY_VERIFY_WITH_TIMEOUT(view1Url().endsWith("/velgan/index.htm"), kLoadMs);

    HttpFixture http(m_home->path());
    QVERIFY(http.start());
    const QString address = http.url("a.htm").toString();
    writePage("a.htm");
    openInView1(address);
    QTRY_COMPARE_WITH_TIMEOUT(m_controller->zone().entries(ZoneSession::PublicHistory),
                              QStringList({"127.0.0.1"}), kLoadMs);
    trigger("Go|Add favorites");
    QCOMPARE(fileBytes(QDir(m_home->path()).filePath("favor2.txt")),
             (address + "\r\n\r\n").toUtf8());

    press("Favorites");
    QCOMPARE(shownLists(), QStringList({"favorit2"}));
    QCOMPARE(list("favorit2")->item(0)->text(), address);
    press("History");
    QCOMPARE(shownLists(), QStringList({"domain2"}));
    QCOMPARE(list("domain2")->item(0)->text(), QStringLiteral("127.0.0.1"));
    trigger("Go|History");
    QVERIFY(shownLists().isEmpty());

    // Right mouse button opens a favourite; a double-click removes it.
    press("Favorites");
    QListWidget* favourites = list("favorit2");
    const QPoint at = favourites->visualItemRect(favourites->item(0)).center();
    UserInput::click(favourites->viewport(), Qt::LeftButton, at);
    openInView1(writePage("elsewhere.htm"));
    UserInput::click(favourites->viewport(), Qt::RightButton, at);
    QTRY_COMPARE_WITH_TIMEOUT(view1Url(), address, kLoadMs);
    UserInput::doubleClick(favourites->viewport(), at);
    QCOMPARE(favourites->count(), 0);
    QCOMPARE(fileBytes(QDir(m_home->path()).filePath("favor2.txt")), QByteArray("\r\n"));

    const QString before = writePage("before.htm");
    const QString blocked = writePage("Forbidden.htm");
    openInView1(before);
    m_controller->zone().setEntries(ZoneSession::PrivateHistory, {"forbidden", "unused.example"});

    // A completed page on a blocked site is sent back.
    m_prompts.expectMessage(kRefused);
    m_controller->navigateShown(blocked);
    QTRY_VERIFY_WITH_TIMEOUT(m_prompts.done(), kLoadMs);
    QTRY_COMPARE_WITH_TIMEOUT(view1Url(), before, kLoadMs);
}

QTEST_MAIN(TestZonePanel)
#include "test_zone_panel.moc"
