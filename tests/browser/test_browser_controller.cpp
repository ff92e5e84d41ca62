// The browser's controller: its lists and address history, the views it
// follows, the addresses it opens; and the shipped start pages.

#include "browser/BrowserController.h"
#include "browser/StartPages.h"
#include "platform/Launcher.h"
#include "platform/TextFile.h"
#include "support/ExpectedFile.h"
#include "web/DocumentSnapshot.h"

#include <QDir>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using View = BrowserController::View;

namespace {

class NoLauncher : public Launcher {
public:
    bool start(const QString&, const QStringList&) override { return false; }
};

QStringList numbered(int count) {
    QStringList items;
    for (int i = 1; i <= count; ++i)
        items.append("u" + QString::number(i));
    return items;
}

} // namespace

class TestBrowserController : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listsAndAddresses();
    void enterAddress_data();
    void enterAddress();
    void viewsAndCaption();
    void onlyWebPagesOpen_data();
    void onlyWebPagesOpen();
    void startPagesWorkOffline();

private:
    QTemporaryDir m_home;
    NoLauncher m_launcher;
};

// All lists but the featured pages' drop repeated lines; the address list
// keeps 20 items, a further line replacing the 20th. At exit every list is
// written whole, empty lines left out, and pictures that are no web
// addresses are written as text.
void TestBrowserController::listsAndAddresses() {
    const QStringList dup = {"a.com", "b.com", "a.com", "A.com", "", ""};
    for (const char* file : {"domain.prv", "domain2.prv", "favor.prv", "favor2.prv", "list6.prv"})
        QVERIFY(TextFile::writeLines(m_home.filePath(file), dup).isEmpty());
    QVERIFY(TextFile::writeLines(m_home.filePath("lb.prv"), numbered(22)).isEmpty());
    BrowserController c(m_home.path(), m_launcher);
    c.startUp();
    for (const QStringList& list : {c.zone().entries(ZoneSession::PrivateHistory),
                                    c.zone().entries(ZoneSession::PublicHistory),
                                    c.zone().entries(ZoneSession::PrivateFavourites),
                                    c.zone().entries(ZoneSession::PublicFavourites)})
        QCOMPARE(list, QStringList({"a.com", "b.com", "A.com", ""}));
    QCOMPARE(c.zone().seenFeatured(), dup);
    QCOMPARE(c.addressItems(), numbered(19) + QStringList{"u22"});
    QCOMPARE(c.statusText(2), QStringLiteral("Public zone"));

    c.pictureBuffer = {"http://pics.example/a.gif", "file:///tmp/b c.jpg"};
    c.shutDown();
    QCOMPARE(fileBytes(m_home.filePath("domain.prv")), QByteArray("a.com\r\nb.com\r\nA.com\r\n"));
    QCOMPARE(fileBytes(m_home.filePath("list6.prv")),
             QByteArray("a.com\r\nb.com\r\na.com\r\nA.com\r\n"));
    QCOMPARE(fileBytes(m_home.filePath("error.htm")), expectedFile("browser/expected/error.htm"));
}

void TestBrowserController::enterAddress_data() {
    QTest::addColumn<int>("itemsBefore");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::addRow("new at 19") << 19 << "new.com" << numbered(19).mid(1) + QStringList{"new.com"};
    QTest::addRow("known at 19") << 19 << "u5" << numbered(19).mid(1);
    QTest::addRow("oldest at 19") << 19 << "u1" << numbered(19).mid(1) + QStringList{"u1"};
}

// The entered address loads in the shown view, and the next start shows
// the same address history.
void TestBrowserController::enterAddress() {
    QFETCH(int, itemsBefore);
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    QVERIFY(TextFile::writeLines(m_home.filePath("lb.prv"), numbered(itemsBefore)).isEmpty());
    BrowserController c(m_home.path(), m_launcher);
    c.startUp();
    QSignalSpy navigation(&c, &BrowserController::navigateRequested);
    c.setAddressText(text);
    c.enterAddress();
    QCOMPARE(c.addressItems(), expected);
    QCOMPARE(navigation.first(), QVariantList({0, text}));
    c.shutDown();
    QCOMPARE(TextFile::readLines(m_home.filePath("lb.prv")).value_or(QStringList{}), expected);
}

// The address box and caption follow the shown view; the hidden view's
// page does not name the window. Navigations go to the shown view. While
// translating, only the translation's view finishing ends it and is shown;
// a page the shown view finishes meanwhile is no translation.
void TestBrowserController::viewsAndCaption() {
    BrowserController c(m_home.path(), m_launcher);
    c.setLocations("http://one.test/velgan/", "http://two.test/velgan/");
    c.navigationComplete(View::View1, "http://one.test/", "One");
    c.navigationComplete(View::View2, "http://two.test/", "Two");
    QCOMPARE(c.addressText() + ' ' + c.statusText(1),
             QStringLiteral("http://one.test/ Working..."));
    c.downloadComplete(View::View1, "One again");
    c.downloadComplete(View::View2, "Two hidden");
    QCOMPARE(c.caption() + ' ' + c.statusText(1), QStringLiteral("One again Done"));
    QSignalSpy navigation(&c, &BrowserController::navigateRequested);
    c.switchViews();
    QCOMPARE(c.addressText() + ' ' + c.caption(), QStringLiteral("http://two.test/ Browser 2"));
    c.goHome();
    c.goBackInView1();
    QCOMPARE(navigation.size(), 1);
    QCOMPARE(navigation.first(), QVariantList({1, "http://two.test/velgan/"}));
    c.translating = true;
    c.translationView = View::View1;
    c.navigationComplete(View::View2, "http://two.test/b.htm", "B");
    QVERIFY(c.translating && c.isShown(View::View2));
    c.navigationComplete(View::View1, "http://translate.test/?urltext=b", "T");
    QVERIFY(!c.translating && c.isShown(View::View1));
    QCOMPARE(c.statusText(1), QStringLiteral("Translation is done"));
}

void TestBrowserController::onlyWebPagesOpen_data() {
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("opens");
    QTest::newRow("http") << "http://a.test/p.htm" << true;
    QTest::newRow("ftp") << "ftp://files.test/list.txt" << true;
    QTest::newRow("script with a blank") << " JavaScript:void 0" << false;
}

// A harvested list opens web pages only. The collectors and the history
// hear of pages the user browsed, local ones too; the program's own report
// pages and the engine's error pages are not such.
void TestBrowserController::onlyWebPagesOpen() {
    QFETCH(QString, url);
    QFETCH(bool, opens);
    BrowserController c(m_home.path(), m_launcher);
    QSignalSpy navigation(&c, &BrowserController::navigateRequested);
    QCOMPARE(c.openHarvested(url), opens);
    QCOMPARE(navigation.size(), opens ? 1 : 0);
    QCOMPARE(c.statusText(1), opens ? QString()
                                    : "Not opened: only web pages (http, https, ftp) open from a "
                                      "harvested list, not \"" +
                                          url + "\"");
    QSignalSpy arrived(&c, &BrowserController::documentArrived);
    DocumentSnapshot document;
    for (const QString& page :
         {QUrl::fromLocalFile("/tmp/x/report-abcdef.htm").toString(),
          QString("chrome-error://chromewebdata/"),
          QUrl::fromLocalFile(m_home.filePath("report-Ab3xYz.htm")).toString()}) {
        document.url = page;
        c.documentRead(View::View1, document);
    }
    QCOMPARE(arrived.size(), 1);
}

// Every picture, style sheet or linked page of both shipped start pages is
// a file next to them, so they show completely without a network. The
// settings keep a shipped page relative to the folder.
void TestBrowserController::startPagesWorkOffline() {
    QCOMPARE(StartPages::fromKept("./index.htm"), StartPages::folderUrl() + "index.htm");
    const QDir folder(QUrl(StartPages::folderUrl()).toLocalFile());
    static const QRegularExpression reference(R"((?:src|href)\s*=\s*"([^"#]*))",
                                              QRegularExpression::CaseInsensitiveOption);
    for (const char* page : {"index.htm", "welcome.htm"}) {
        QFile file(folder.filePath(page));
        QVERIFY(file.open(QIODevice::ReadOnly));
        for (auto match = reference.globalMatch(QString::fromUtf8(file.readAll()));
             match.hasNext();) {
            const QString target = match.next().captured(1);
            QVERIFY2(!target.contains(':') && (target.isEmpty() || folder.exists(target)),
                     qPrintable(target));
        }
    }
}

QTEST_GUILESS_MAIN(TestBrowserController)
#include "test_browser_controller.moc"
