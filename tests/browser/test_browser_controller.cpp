#include "browser/BrowserController.h"
#include "platform/Launcher.h"
#include "platform/TextFile.h"
#include "support/ExpectedFile.h"
#include "web/DocumentSnapshot.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <utility>

using View = BrowserController::View;
using Command = BrowserController::Command;

namespace {

const QString kLocation1 = QStringLiteral("http://channels.test/velgan/");
const QString kLocation2 = QStringLiteral("http://mirror.test/velgan/");
const QStringList kListFiles = {"lb.prv",    "domain.prv", "domain2.prv",
                                "favor.prv", "favor2.prv", "list6.prv"};

class FakeLauncher : public Launcher {
public:
    bool start(const QString& program, const QStringList& arguments) override {
        started.append(program + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')));
        return succeeds;
    }
    bool succeeds = true;
    QStringList started;
};

QStringList numbered(const QString& prefix, int count) {
    QStringList items;
    for (int i = 1; i <= count; ++i)
        items.append(prefix + QString::number(i));
    return items;
}

QStringList listOf(const BrowserController& c, const QString& file) {
    const QStringList lists[] = {c.addressItems(),
                                 c.zone().entries(ZoneSession::PrivateHistory),
                                 c.zone().entries(ZoneSession::PublicHistory),
                                 c.zone().entries(ZoneSession::PrivateFavourites),
                                 c.zone().entries(ZoneSession::PublicFavourites),
                                 c.zone().seenFeatured()};
    return lists[kListFiles.indexOf(file)];
}

// The requests as "view url" texts, in the order they were made.
QStringList requests(const QSignalSpy& spy) {
    QStringList texts;
    for (const QList<QVariant>& args : spy)
        texts.append(QString::number(args.at(0).toInt()) + QLatin1Char(' ') +
                     args.at(1).toString());
    return texts;
}

QList<int> commandViews(const QSignalSpy& spy) {
    QList<int> views;
    for (const QList<QVariant>& args : spy)
        views.append(args.at(0).toInt());
    return views;
}

} // namespace

class TestBrowserController : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void startUpLoadsEachListWithItsRules();
    void shutDownWritesTheListsAndPictures();
    void enterAddress_data();
    void enterAddress();
    void searchWords();
    void viewEventsAndSwitch();
    void commandsActOnTheShownViewOnly();
    void failedLaunchIsShown();
    void onlyBrowsedPagesGoOn_data();
    void onlyBrowsedPagesGoOn();
    void harvestedAddressesOpenOnlyWebPages_data();
    void harvestedAddressesOpenOnlyWebPages();

private:
    QString path(const QString& file) const { return QDir(m_home->path()).filePath(file); }
    void writeList(const QString& file, const QStringList& lines);
    void renew();

    QTemporaryDir* m_home = nullptr;
    FakeLauncher* m_launcher = nullptr;
    BrowserController* m_controller = nullptr;
};

void TestBrowserController::init() {
    m_home = new QTemporaryDir;
    m_launcher = new FakeLauncher;
    renew();
}

// A new controller, as at the program's next start.
void TestBrowserController::renew() {
    delete m_controller;
    m_controller = new BrowserController(m_home->path(), *m_launcher);
    m_controller->setLocations(kLocation1, kLocation2);
}

void TestBrowserController::cleanup() {
    delete std::exchange(m_controller, nullptr);
    delete m_launcher;
    delete m_home;
}

void TestBrowserController::writeList(const QString& file, const QStringList& lines) {
    QVERIFY(TextFile::writeLines(path(file), lines).isEmpty());
}

// A first run's exit creates every file. All lists but the featured pages'
// drop repeated lines; the address list keeps 20 items, each further line
// replacing the 20th. A list file that cannot be read counts as empty.
void TestBrowserController::startUpLoadsEachListWithItsRules() {
    m_controller->startUp();
    m_controller->shutDown();
    for (const QString& file : kListFiles)
        QVERIFY2(QFileInfo(path(file)).isFile(), qPrintable(file));
    QCOMPARE(fileBytes(path("error.htm")), expectedFile("browser/expected/error_empty.htm"));

    renew();
    const QStringList dup = {"a.com", "b.com", "a.com", "A.com", "", ""};
    for (const QString& file : kListFiles)
        writeList(file, dup);
    m_controller->startUp();
    for (const QString& file : kListFiles.mid(0, 5))
        QCOMPARE(listOf(*m_controller, file), QStringList({"a.com", "b.com", "A.com", ""}));
    QCOMPARE(m_controller->zone().seenFeatured(), dup);

    for (const int lines : {20, 22}) {
        writeList("lb.prv", numbered("u", lines));
        renew();
        m_controller->startUp();
        QCOMPARE(m_controller->addressItems(),
                 numbered("u", 19) + QStringList{lines == 20 ? "u20" : "u22"});
    }
    QVERIFY(QFile::remove(path("lb.prv")) && QDir(m_home->path()).mkdir("lb.prv"));
    renew();
    m_controller->startUp();
    QVERIFY(m_controller->addressItems().isEmpty());
    QCOMPARE(m_controller->statusText(2), QStringLiteral("Public zone"));
}

void TestBrowserController::shutDownWritesTheListsAndPictures() {
    writeList("domain.prv", numbered("old", 30));     // replaced, not appended to
    QVERIFY(QDir(m_home->path()).mkdir("favor.prv")); // cannot be written
    m_controller->setAddressText("x.com");
    m_controller->enterAddress();
    m_controller->zone().setEntries(ZoneSession::PrivateHistory, {"p1", "", "p2"});
    m_controller->zone().setEntries(ZoneSession::PublicHistory, {""});
    m_controller->zone().seenFeatured() = {"f", "f", ""};
    m_controller->zone().setEntries(ZoneSession::PublicFavourites, {"", "fav"});
    m_controller->pictureBuffer = {"http://pics.example/a.gif", "file:///tmp/b c.jpg"};
    m_controller->shutDown();
    QCOMPARE(fileBytes(path("lb.prv")), QByteArray("x.com\r\n"));
    QCOMPARE(fileBytes(path("domain.prv")), QByteArray("p1\r\np2\r\n"));
    QCOMPARE(fileBytes(path("domain2.prv")), QByteArray());
    QCOMPARE(fileBytes(path("list6.prv")), QByteArray("f\r\nf\r\n"));
    QCOMPARE(fileBytes(path("favor2.prv")), QByteArray("fav\r\n"));
    const QByteArray html = fileBytes(path("error.htm"));
    const QByteArray expected = expectedFile("browser/expected/error.htm");
    QVERIFY2(html == expected, firstDifference(html, expected).constData());
}

void TestBrowserController::enterAddress_data() {
    QTest::addColumn<int>("itemsBefore");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::addRow("new at 19") << 19 << "new.com"
                               << numbered("u", 19).mid(1) + QStringList{"new.com"};
    QTest::addRow("known at 19") << 19 << "u5" << numbered("u", 19).mid(1);
    QTest::addRow("oldest at 19") << 19 << "u1" << numbered("u", 19).mid(1) + QStringList{"u1"};
    QTest::addRow("new at 3") << 3 << "New.com/A b"
                              << numbered("u", 3) + QStringList{"New.com/A b"};
}

void TestBrowserController::enterAddress() {
    QFETCH(int, itemsBefore);
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    writeList("lb.prv", numbered("u", itemsBefore));
    m_controller->startUp();
    QSignalSpy navigation(m_controller, &BrowserController::navigateRequested);
    m_controller->setAddressText(text);
    m_controller->enterAddress();
    QCOMPARE(m_controller->addressItems(), expected);
    QCOMPARE(requests(navigation), QStringList{"0 " + text});
    // The next start shows the same history.
    m_controller->shutDown();
    QCOMPARE(TextFile::readLines(path("lb.prv")).value_or(QStringList{}), expected);
}

void TestBrowserController::searchWords() {
    for (const char* words : {"red", "blue", "red"})
        m_controller->enterSearchWords(words);
    QCOMPARE(m_controller->searchWords(), QStringList({"red", "blue", "red"}));
    m_controller->deleteSearchWords("red");
    m_controller->deleteSearchWords("green");
    QCOMPARE(m_controller->searchWords(), QStringList({"blue", "red"}));
}

void TestBrowserController::viewEventsAndSwitch() {
    m_controller->navigationComplete(View::View1, "http://one.test/", "One");
    m_controller->navigationComplete(View::View2, "http://two.test/", "Two"); // hidden
    QCOMPARE(m_controller->addressText(), QStringLiteral("http://one.test/"));
    QCOMPARE(m_controller->caption(), QStringLiteral("One"));
    QCOMPARE(m_controller->statusText(1), QStringLiteral("Working..."));

    m_controller->switchViews();
    QCOMPARE(m_controller->addressText(), QStringLiteral("http://two.test/"));
    m_controller->switchViews();
    QCOMPARE(m_controller->caption(), QStringLiteral("Browser 1"));

    m_controller->downloadComplete(View::View1, "One again");
    QCOMPARE(m_controller->caption(), QStringLiteral("One again"));
    QCOMPARE(m_controller->statusText(1), QStringLiteral("Done"));
    // A page finishing in the hidden view does not name the window; Stop
    // names it after view 1's page.
    m_controller->downloadComplete(View::View2, "Two hidden");
    QCOMPARE(m_controller->caption(), QStringLiteral("One again"));
    m_controller->setStatusText(1, {});
    m_controller->switchViews();
    m_controller->run(BrowserController::Command::Stop);
    QCOMPARE(m_controller->caption(), QStringLiteral("One again"));
    m_controller->switchViews();
    m_controller->zone().enterPrivateZone();
    m_controller->navigationComplete(View::View1, "http://secret.test/", "Secret");
    QCOMPARE(m_controller->addressText(), QStringLiteral("http://one.test/"));
    QCOMPARE(m_controller->caption(), QStringLiteral("Browser 1"));
}

void TestBrowserController::commandsActOnTheShownViewOnly() {
    QSignalSpy commands(m_controller, &BrowserController::commandRequested);
    QSignalSpy navigation(m_controller, &BrowserController::navigateRequested);
    m_controller->run(Command::Print);
    m_controller->goHome();
    m_controller->switchViews();
    m_controller->run(Command::Refresh);
    m_controller->goHome();
    m_controller->navigateShown("http://open.test/");
    m_controller->goBackInView1(); // only ever view 1
    m_controller->showOnly(View::View1);
    QVERIFY(!m_controller->isShown(View::View2));
    m_controller->run(Command::Copy);
    m_controller->chooseAddress("http://chosen.test/");
    QCOMPARE(commandViews(commands), QList<int>({0, 1, 0, 0}));
    QCOMPARE(commands.at(2).at(1).value<Command>(), Command::Back);
    QCOMPARE(requests(navigation), QStringList({"0 " + kLocation1, "1 " + kLocation2,
                                                "1 http://open.test/", "0 http://chosen.test/"}));
}

void TestBrowserController::failedLaunchIsShown() {
    m_controller->launch("calculator", "gnome-calculator");
    QCOMPARE(m_controller->statusText(1), QString());
    m_launcher->succeeds = false;
    m_controller->launch("mail program", "xdg-email", {"--utf8"});
    QCOMPARE(m_controller->statusText(1),
             QStringLiteral("Could not start the mail program (xdg-email)."));
    QCOMPARE(m_launcher->started, QStringList({"gnome-calculator ", "xdg-email --utf8"}));
}

// The collectors and the history hear of pages the user browsed; the
// program's own report pages and the engine's error pages are not such.
void TestBrowserController::onlyBrowsedPagesGoOn_data() {
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("goesOn");
    QTest::newRow("local page") << QUrl::fromLocalFile("/tmp/x/report-abcdef.htm").toString()
                                << true;
    QTest::newRow("error page") << "chrome-error://chromewebdata/" << false;
    QTest::newRow("report page") << QString() << false;
}

void TestBrowserController::onlyBrowsedPagesGoOn() {
    QFETCH(QString, url);
    QFETCH(bool, goesOn);
    DocumentSnapshot document;
    document.url = url.isEmpty() ? QUrl::fromLocalFile(path("report-Ab3xYz.htm")).toString() : url;
    QSignalSpy arrived(m_controller, &BrowserController::documentArrived);
    m_controller->documentRead(View::View1, document);
    QCOMPARE(arrived.size(), goesOn ? 1 : 0);
}

void TestBrowserController::harvestedAddressesOpenOnlyWebPages_data() {
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("opens");
    QTest::newRow("http") << "http://a.test/p.htm" << true;
    QTest::newRow("https") << "HTTPS://a.test/" << true;
    QTest::newRow("ftp") << "ftp://files.test/list.txt" << true;
    QTest::newRow("script") << "javascript:alert(document.cookie)" << false;
    QTest::newRow("script with a blank") << " JavaScript:void 0" << false;
    QTest::newRow("data") << "data:text/html,<script>x</script>" << false;
    QTest::newRow("local file") << "file:///etc/hostname" << false;
    QTest::newRow("mail") << "mailto:a@b.test" << false;
}

void TestBrowserController::harvestedAddressesOpenOnlyWebPages() {
    QFETCH(QString, url);
    QFETCH(bool, opens);
    QSignalSpy navigation(m_controller, &BrowserController::navigateRequested);
    QCOMPARE(m_controller->openHarvested(url), opens);
    QCOMPARE(requests(navigation), opens ? QStringList{"0 " + url} : QStringList());
    QCOMPARE(m_controller->statusText(1),
             opens ? QString()
                   : "Not opened: only web pages (http, https, ftp) open from a harvested list, "
                     "not \"" +
                         url + "\"");
}

QTEST_GUILESS_MAIN(TestBrowserController)
#include "test_browser_controller.moc"
