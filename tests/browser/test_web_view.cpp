// The embedded browser view against real pages served from a temporary
// folder: its events, the document snapshot, the crawler's rows, and pages
// that flood, kill or misuse the engine.

#include "browser/ui/WebView.h"
#include "support/ExpectedFile.h"
#include "support/HttpFixture.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEnginePage>
#include <QtTest>
#include <csignal>
#include <functional>
#include <memory>
#include <optional>

namespace {

// Web views share their graphics contexts, and pages of one site share an
// engine process, as in the program; this must be set before the
// application object exists.
const bool kSharedContexts = [] {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--process-per-site");
    return true;
}();

const int kTimeoutMs = 20000;

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

bool writeFile(const QString& path, const QString& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.toUtf8().size();
}

} // namespace

class TestWebView : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void loadsAndSnapshots_data();
    void loadsAndSnapshots();
    void floodedOrKilledEngineStopsThePage();
    void localPagesStayData();

private:
    QString url(const QString& page) const { return m_server->url(page).toString(); }

    QTemporaryDir m_folder;
    std::unique_ptr<HttpFixture> m_server;
};

void TestWebView::initTestCase() {
    m_server = std::make_unique<HttpFixture>(m_folder.path());
    QVERIFY(m_server->start());
    // Another host name for the same server is another origin.
    const QString foreign = QStringLiteral("http://localhost:%1/inner.htm").arg(m_server->port());
    const QList<std::pair<QString, QString>> pages{
        {"one.htm", "<title>One</title><p>Hello</p>"},
        {"frames.htm", "<title>Frames</title><meta name=description content=outer><frameset>"
                       "<frame src=left.htm><frame src=right.htm></frameset>"},
        {"left.htm", "<meta name=author content='Ann'><p>First</p><p>Second <b>bold</b></p>"
                     "<a href=mailto:ann@example.com>Write to Ann</a><img src=pen.png>"},
        {"right.htm", "<iframe src=inner.htm></iframe><iframe src=" + foreign + "></iframe>"},
        {"inner.htm", "<p>Inner text"},
        // 3000 paragraphs, each inside the one before, so that each
        // paragraph's text holds the text of all that follow.
        {"huge.htm", "<title>Huge</title><body><script>"
                     "for (var i = 0, parent = document.body; i < 3000; ++i) {"
                     "  var p = document.createElement('p');"
                     "  p.textContent = 'the text of paragraph number ' + i;"
                     "  parent.appendChild(p); parent = p; }</script>"},
    };
    for (const auto& [name, text] : pages)
        QVERIFY(writeFile(m_folder.filePath(name), text));
}

void TestWebView::loadsAndSnapshots_data() {
    QTest::addColumn<WebView::Kind>("kind");
    QTest::newRow("shown") << WebView::Kind::Shown;
    QTest::newRow("hidden") << WebView::Kind::Hidden;
}

// A local path is loaded as a file: URL. Each load reports its events in
// order, once, frames' loads included. The snapshot reads the frameset
// page, its frames and the same-origin iframe inside the right frame; the
// iframe of another origin is left out. Hidden worker pages fetch no
// pictures. The crawler's live rows are added to what a view shows, quotes
// and all.
void TestWebView::loadsAndSnapshots() {
    QFETCH(WebView::Kind, kind);
    WebView view(kind);
    const qsizetype pens = m_server->requested().filter("pen.png").size();
    QVERIFY(load(view, m_folder.filePath("one.htm")));
    QCOMPARE(view.locationUrl(), QUrl::fromLocalFile(m_folder.filePath("one.htm")).toString());
    QStringList events;
    const auto log = [&events](const char* what) {
        return [&events, what](const QString& address) {
            events << QString::fromLatin1(what) + ' ' + address;
        };
    };
    connect(&view, &WebView::navigationBegan, this, log("began"));
    connect(&view, &WebView::navigateComplete, this, log("navigate"));
    connect(&view, &WebView::documentComplete, this, log("document"));
    QVERIFY(load(view, url("frames.htm")));
    QCOMPARE(events, QStringList({"began " + url("frames.htm"), "navigate " + url("frames.htm"),
                                  "document " + url("frames.htm")}));

    // The frames may still be loading when the top document is complete.
    QVERIFY(waitUntil([&] {
        const auto snapshot = takeSnapshot(view);
        return snapshot && snapshot->frames.size() == 2 && !snapshot->frames[0].links.isEmpty() &&
               snapshot->frames[1].frames.size() == 1 &&
               !snapshot->frames[1].frames[0].paragraphs.isEmpty();
    }));
    const std::optional<DocumentSnapshot> top = takeSnapshot(view);
    const DocumentSnapshot& left = top->frames[0];
    QStringList read = {top->title, top->domain, top->bodyTagName, left.url, left.bodyTagName};
    for (const DocumentSnapshot::Meta& meta : top->metas + left.metas)
        read << meta.name + "=" + meta.content;
    for (const auto& link : left.links)
        read << link.href + " " + link.outerText;
    QCOMPARE(read + left.paragraphs + left.imageSources + top->frames[1].frames[0].paragraphs,
             QStringList({"Frames", "127.0.0.1", "FRAMESET", url("left.htm"), "BODY",
                          "description=outer", "author=Ann", "mailto:ann@example.com Write to Ann",
                          "First", "Second bold", url("pen.png"), "Inner text"}));
    QCOMPARE(m_server->requested().filter("pen.png").size() > pens, kind == WebView::Kind::Shown);

    QVERIFY(load(view, url("one.htm")));
    const QString row = "<a href='" + url("one.htm") + "?a=1&b=\"2\"'>it's</a><br>";
    view.appendHtml(row);
    QVERIFY(waitUntil([&] {
        const auto page = takeSnapshot(view);
        return page && page->links.size() == 1 &&
               page->links[0].href == url("one.htm") + "?a=1&b=%222%22" &&
               page->links[0].outerText == "it's";
    }));
}

// Pages that flood or kill the engine: a huge page's snapshot is cut at its
// character limit, an endless stream stops at the memory limit, and a
// killed engine stops a shown view's page, which says so. A hidden page never shares its
// engine process with a user's view of the same site.
void TestWebView::floodedOrKilledEngineStopsThePage() {
    WebView hidden(WebView::Kind::Hidden);
    QVERIFY(load(hidden, url("huge.htm")));
    const std::optional<DocumentSnapshot> huge = takeSnapshot(hidden);
    QVERIFY(huge->paragraphs.join(QString()).size() <= DocumentSnapshot::Limits::kCharacters);

    QSignalSpy stopped(&hidden, &WebView::pageStopped);
    m_server->setResponse("endless.htm", {200, "OK", "text/html", QByteArray(64 * 1024, 'x'),
                                          HttpFixture::Delivery::Stream});
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
void TestWebView::localPagesStayData() {
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
        QVERIFY(writeFile(path, pagesAndTitles[i].first));
        QVERIFY(load(view, path) && takeSnapshot(view));
        QTRY_COMPARE_WITH_TIMEOUT(view.locationName(), pagesAndTitles[i].second, kTimeoutMs);
    }
}

QTEST_MAIN(TestWebView)
#include "test_web_view.moc"
