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

struct EventLog {
    QStringList events;
    int finished = 0;

    explicit EventLog(WebView& view) {
        QObject::connect(&view, &WebView::navigationBegan, &view,
                         [this](const QString& url) { events << "began " + url; });
        QObject::connect(&view, &WebView::navigateComplete, &view,
                         [this](const QString& url) { events << "navigate " + url; });
        QObject::connect(&view, &WebView::documentComplete, &view,
                         [this](const QString& url) { events << "document " + url; });
        QObject::connect(&view, &WebView::downloadComplete, &view, [this] {
            events << QStringLiteral("download");
            ++finished;
        });
    }
    // Waits for the next load to end and hands back its events.
    QStringList nextLoad() {
        const int before = finished;
        waitUntil([&] { return finished > before; });
        return std::exchange(events, {});
    }
};

QStringList fullLoad(const QString& url) {
    return {"began " + url, "navigate " + url, "document " + url, "download"};
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
        // 6000 links and 3000 paragraphs, each inside the one before, so
        // that each paragraph's text holds the text of all that follow.
        {"huge.htm", "<title>Huge</title><body><script>"
                     "for (var i = 0; i < 6000; ++i) {"
                     "  var a = document.createElement('a'); a.href = 'l' + i + '.htm';"
                     "  a.textContent = 'link'; document.body.appendChild(a); }"
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

// Each load reports its four events in order, once, frames' loads included;
// a local path is loaded as a file: URL. The snapshot reads the frameset
// page, its frames and the same-origin iframe inside the right frame; the
// iframe of another origin is left out. Hidden worker pages fetch no
// pictures. The crawler's live rows are added to what a view shows, quotes
// and all.
void TestWebView::loadsAndSnapshots() {
    QFETCH(WebView::Kind, kind);
    WebView view(kind);
    EventLog log(view);
    const qsizetype pens = m_server->requested().filter("pen.png").size();
    view.navigate(m_folder.filePath("one.htm"));
    QCOMPARE(log.nextLoad(),
             fullLoad(QUrl::fromLocalFile(m_folder.filePath("one.htm")).toString()));
    view.navigate(url("frames.htm"));
    QCOMPARE(log.nextLoad(), fullLoad(url("frames.htm")));

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

    view.navigate(url("one.htm"));
    log.nextLoad();
    const QString row = "<a href='" + url("one.htm") + "?a=1&b=\"2\"'>it's</a><br>";
    view.appendHtml(row);
    QVERIFY(waitUntil([&] {
        const auto page = takeSnapshot(view);
        return page && page->links.size() == 1 &&
               page->links[0].href == url("one.htm") + "?a=1&b=%222%22" &&
               page->links[0].outerText == "it's";
    }));
}

// Pages that flood or kill the engine, one after the other in one hidden
// view: a huge page's snapshot is cut at its limits, an endless stream
// stops at the memory limit, and a killed engine stops a shown view's
// page, which says so. A hidden
// page never shares its engine process with a user's view of the same site.
void TestWebView::floodedOrKilledEngineStopsThePage() {
    using Limits = DocumentSnapshot::Limits;
    WebView hidden(WebView::Kind::Hidden);
    EventLog log(hidden);
    QSignalSpy stopped(&hidden, &WebView::pageStopped);
    hidden.navigate(url("huge.htm"));
    log.nextLoad();
    const std::optional<DocumentSnapshot> huge = takeSnapshot(hidden);
    QVERIFY(huge->links.size() == Limits::kLinks &&
            huge->paragraphs.join(QString()).size() <= Limits::kCharacters);

    HttpFixture::Response endless;
    endless.contentType = "text/html";
    endless.body = "<p>" + QByteArray(64 * 1024, 'x') + "</p>";
    endless.delivery = HttpFixture::Delivery::Stream;
    m_server->setResponse("endless.htm", endless);
    hidden.setMemoryLimit(qint64(384) * 1024 * 1024);
    hidden.navigate(url("endless.htm"));
    QVERIFY(waitUntil([&] { return stopped.count() == 1 && !hidden.busy(); }));

    WebView shown(WebView::Kind::Shown);
    EventLog shownLog(shown);
    shown.navigate(url("one.htm"));
    shownLog.nextLoad();
    hidden.navigate(url("one.htm"));
    log.nextLoad();
    QVERIFY(hidden.page()->renderProcessPid() != shown.page()->renderProcessPid());
    ::kill(static_cast<pid_t>(shown.page()->renderProcessPid()), SIGKILL);
    QVERIFY(waitUntil([&] { return shown.locationName() == QLatin1String("Page stopped"); }));
}

// A page opened from a local file cannot read another local file or reach
// a host by script, and a page with the program's no-script policy runs no
// script at all.
void TestWebView::localPagesStayData() {
    QVERIFY(writeFile(m_folder.filePath("sentinel.txt"), "SECRET"));
    const QString request =
        "function get(address, done) { var x = new XMLHttpRequest();"
        " x.onload = function () { done('read ' + x.responseText); };"
        " x.onerror = function () { done('blocked'); };"
        " try { x.open('GET', address); x.send(); } catch (e) { done('blocked'); } }";
    QVERIFY(writeFile(m_folder.filePath("hostile.htm"),
                      "<title>start</title><script>" + request + "get('" + url("beacon") +
                          "', function (remote) { get('sentinel.txt', function (local) {"
                          " document.title = remote + ' / ' + local; }); });</script>"));
    QVERIFY(writeFile(m_folder.filePath("report.htm"),
                      QStringLiteral("<html><title>Report</title>") + kNoScriptMeta +
                          "<body><script>document.title = 'ran';</script></body>"));
    WebView view(WebView::Kind::Shown);
    EventLog log(view);
    view.navigate(m_folder.filePath("hostile.htm"));
    log.nextLoad();
    QTRY_COMPARE_WITH_TIMEOUT(view.locationName(), QStringLiteral("blocked / blocked"), kTimeoutMs);
    view.navigate(m_folder.filePath("report.htm"));
    log.nextLoad();
    QVERIFY(takeSnapshot(view));
    QCOMPARE(view.locationName(), QStringLiteral("Report"));
}

QTEST_MAIN(TestWebView)
#include "test_web_view.moc"
