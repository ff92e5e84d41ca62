// The harvest and the buffers in the real browser window, offscreen, on
// pages of a local web server: the commands reach the link list, the
// report, the crawl and the page reader, and pictures on a page reach the
// buffers (their rules are proven on the harvest's and buffers' classes).

#include "WindowTestKit.h"
#include "browser/ui/BrowserWindow.h"
#include "browser/ui/BufferPanel.h"
#include "browser/ui/CrawlPanel.h"
#include "browser/ui/HarvestPanel.h"
#include "browser/ui/PageReaderDrive.h"
#include "browser/ui/WebView.h"
#include "harvest/Crawler.h"
#include "platform/Beep.h"
#include "support/ExpectedFile.h"
#include "support/UserInput.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QWebEnginePage>
#include <QtTest>

namespace {

using View = BrowserController::View;
using Kind = ScriptedPrompts::Kind;
const QString kImages = QStringLiteral("Would You like collect images ?");

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

class TestWindowHarvest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void linksReportsAndCrawls();
    void picturesReachTheBuffers();
};

// Links gathered and stepped through; the report shown and saved; "Find
// keywords" ending, on Yes, in the full report in view 1. Closing the
// window ends a walk, a crawl and a read waiting on pages that never answer.
void TestWindowHarvest::linksReportsAndCrawls() {
    WindowSession s;
    QVERIFY(s.show());
    for (const char* name : {"p1.htm", "p2.htm", "p3.htm"})
        s.page(name, "<title>Page</title>");
    const QString links = s.page("links.htm", "<a href='p1.htm'>One</a> <a href='p2.htm'>Two</a> "
                                              "<a href='p3.htm'>Three</a>");
    s.controller->navigateShown(links);
    QVERIFY(s.waitFor([&] { return s.view1Shows(links); }));
    s.trigger("Finder|Get/Add all Links");
    QVERIFY(s.waitFor([&] { return s.panel(1)->text() == "Done"; }));
    QCOMPARE(s.window->harvest().linkList()->item(2)->text(), s.url("p3.htm"));
    s.press("Next link");
    QCOMPARE(s.panel(1)->text(), "--> Two");
    QVERIFY(s.waitFor([&] { return s.view1Shows(s.url("p2.htm")); }));
    s.trigger("Reporting|View|View report");
    QVERIFY(s.waitFor([&] { return s.view(View::View1).locationName() == "Found links report"; }));
    const QString saved = s.home->filePath("report.htm");
    s.prompts.expect(Kind::SaveFile, "HTML file (*.htm;*.html)|*.htm;*.html|Text File", saved);
    s.trigger("Reporting|Save|Save report");
    QVERIFY(fileBytes(saved).contains("<a href='" + s.url("p1.htm").toUtf8() + "'>One</a><br>"));

    s.page("firm.htm", "<html><head><title>Firm</title>"
                       "<meta name='description' content='Garden tools'></head><body>"
                       "<p>Call us about needle work: phone 555</p><p>Nothing here</p>"
                       "<a href='mailto:sales@firm.example'>Write to us</a></body></html>");
    HarvestState& harvest = s.harvest();
    harvest.linkList = {s.page("other.htm", "<p>haystack</p>"), s.url("firm.htm"),
                        s.url("missing.htm")};
    s.controller->enterSearchWords("needle");
    s.prompts.expect(Kind::YesNo, "Found 1 links with Your Keywords.", "yes")
        .expect(Kind::YesNo, kImages, "no");
    const QString before = s.view(View::View1).locationUrl();
    s.trigger("Finder|Find keywords");
    QVERIFY(s.waitFor([&] {
        const QString shown = s.view(View::View1).locationUrl();
        return shown != before && shown.contains("/report-") && !s.view(View::View1).busy();
    }));
    QString expected = QString::fromUtf8(expectedFile("browser/expected/full_report.htm"));
    expected.replace("{BASE}", s.url({})).chop(2);
    QCOMPARE(fileBytes(QUrl(s.view(View::View1).locationUrl()).toLocalFile()),
             "\xEF\xBB\xBF" + expected.toUtf8());

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
void TestWindowHarvest::picturesReachTheBuffers() {
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

QTEST_MAIN(TestWindowHarvest)
#include "test_window_harvest.moc"
