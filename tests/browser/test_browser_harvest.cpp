// The harvest commands of the real browser window, offscreen, on local pages:
// links gathered into the link list and the report, the report shown and
// saved, stepping through the found pages, the link walker, and the crawl
// and page reader behind "Find keywords" and "Create Full Report".

#include "WindowTestKit.h"
#include "browser/ui/BrowserWindow.h"
#include "browser/ui/CrawlPanel.h"
#include "browser/ui/HarvestPanel.h"
#include "browser/ui/PageReaderDrive.h"
#include "browser/ui/WebView.h"
#include "harvest/Crawler.h"
#include "support/ExpectedFile.h"
#include "support/HttpFixture.h"
#include "support/ScriptedPrompts.h"
#include "support/UserInput.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QUrl>
#include <QtTest>
#include <memory>

namespace {

const int kLoadMs = 20000;
using View = BrowserController::View;

} // namespace

class TestBrowserHarvest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void linksReportAndStepping();
    void walkerOpensEachLink();
    void crawlsEndInTheFullReport();

private:
    QString writePage(const QString& name, const QString& title, const QString& body) const;
    QString writeFile(const QString& name, const QString& text) const;
    // The test's pages, served by a local web server: the harvest opens web
    // pages only.
    QString url(const QString& name) const { return m_server->url(name).toString(); }
    void openLinksPage();
    void trigger(const QString& path) const { triggerMenu(m_window->menuBar(), path); }
    void press(const QString& tip) const { pressToolbarButton(m_window.get(), tip); }
    QLabel* panel(int n) const { return m_window->statusBar()->findChildren<QLabel*>()[n - 1]; }
    QStringList items(QListWidget* list) const;
    QString view1Url() const { return m_window->view(View::View1).locationUrl(); }
    void clickButton(QWidget* editor, const QString& caption) const;
    void waitForView1(const QString& name) const;

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<HttpFixture> m_server;
    NoLauncher m_launcher;
    ScriptedPrompts m_prompts;
    std::unique_ptr<BrowserController> m_controller;
    std::unique_ptr<BrowserWindow> m_window;
};

void TestBrowserHarvest::init() {
    m_home = makeTestHome();
    m_server = std::make_unique<HttpFixture>(m_home->path());
    QVERIFY(m_server->start());
    m_prompts = ScriptedPrompts();
    m_controller = std::make_unique<BrowserController>(m_home->path(), m_launcher);
    m_window = std::make_unique<BrowserWindow>(*m_controller, m_launcher, m_prompts);
    m_window->show();
    QTRY_VERIFY_WITH_TIMEOUT(view1Url().endsWith("/velgan/index.htm") && startUpSettled(*m_window),
                             kLoadMs);
}

void TestBrowserHarvest::cleanup() {
    m_window.reset();
    m_controller.reset();
    QVERIFY(m_prompts.done());
}

QString TestBrowserHarvest::writePage(const QString& name, const QString& title,
                                      const QString& body) const {
    return writeFile(name, "<title>" + title + "</title>" + body);
}

QString TestBrowserHarvest::writeFile(const QString& name, const QString& text) const {
    const QString path = QDir(m_home->path()).filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text.toUtf8());
    return path;
}

// View 1 on a page with three links, to pages that link on to a fourth.
void TestBrowserHarvest::openLinksPage() {
    for (const char* name : {"p1.htm", "p2.htm", "p3.htm"})
        writePage(QString::fromLatin1(name), "Page", "<a href='p4.htm'>Four</a>");
    writePage("p4.htm", "Four", "end");
    const QString path =
        writePage("links.htm", "Links",
                  "<a href='p1.htm'>One</a> <a href='p2.htm'>Two</a> <a href='p3.htm'>Three</a>");
    m_controller->navigateShown(url(QFileInfo(path).fileName()));
    waitForView1("links.htm");
}

void TestBrowserHarvest::waitForView1(const QString& name) const {
    QTRY_VERIFY_WITH_TIMEOUT(view1Url() == url(name) && !m_window->view(View::View1).busy(),
                             kLoadMs);
}

QStringList TestBrowserHarvest::items(QListWidget* list) const {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

void TestBrowserHarvest::clickButton(QWidget* editor, const QString& caption) const {
    for (QPushButton* button : editor->findChildren<QPushButton*>())
        if (button->text() == caption)
            return UserInput::click(button);
    QFAIL(qPrintable("no button " + caption));
}

// One session on a page with three links: the commands reach the link list
// editor, the stepping, the report and its listing (their rules are proven
// on the harvest's own classes).
void TestBrowserHarvest::linksReportAndStepping() {
    openLinksPage();
    HarvestPanel& harvest = m_window->harvest();
    QListWidget* list = harvest.linkList();
    const QStringList links = {url("p1.htm"), url("p2.htm"), url("p3.htm")};
    trigger("Finder|Get/Add all Links");
    QTRY_COMPARE_WITH_TIMEOUT(panel(1)->text(), QStringLiteral("Done"), kLoadMs);
    QCOMPARE(panel(2)->text(), QStringLiteral("Found - 3 links"));
    QCOMPARE(items(list), links);

    // Status panel 3 shows and hides the editor.
    UserInput::click(panel(3));
    QVERIFY(harvest.linkEditor()->isVisible());
    clickButton(harvest.linkEditor(), "Clear All");
    QCOMPARE(list->count(), 0);
    // Button 20 starts afresh: the report is emptied, so all three return.
    press("Get links again");
    QTRY_COMPARE_WITH_TIMEOUT(items(list), links, kLoadMs);
    press("Next link");
    QCOMPARE(panel(1)->text(), "--> Two");
    QTRY_COMPARE_WITH_TIMEOUT(view1Url(), url("p2.htm"), kLoadMs);
    QTRY_VERIFY(!m_window->view(View::View1).busy());

    trigger("Reporting|View|View report");
    QTRY_COMPARE_WITH_TIMEOUT(m_window->view(View::View1).locationName(),
                              QStringLiteral("Found links report"), kLoadMs);
    const QString saved = QDir(m_home->path()).filePath("report.htm");
    m_prompts.expect(ScriptedPrompts::Kind::SaveFile,
                     "HTML file (*.htm;*.html)|*.htm;*.html|Text File (*.txt;*.rtf)|*.txt;*.rtf",
                     saved);
    trigger("Reporting|Save|Save report");
    QVERIFY(fileBytes(saved).contains("<a href='" + url("p1.htm").toUtf8() + "'>One</a><br>"));
    trigger("Reporting|View|Veiw report listing");
    QVERIFY(harvest.reportEditor()->isVisible());
    clickButton(harvest.reportEditor(), "Clear All Links");
    QVERIFY(m_controller->harvest().reportBuffer.isEmpty());

    // The right mouse button opens a link list entry in the shown view.
    UserInput::click(panel(3));
    UserInput::click(list->viewport(), Qt::RightButton,
                     list->visualItemRect(list->item(1)).center());
    // Waiting for the load's end as well, so that it cannot end inside the
    // next one.
    waitForView1("p2.htm");
    // "Add Link" summarises view 1; the box's words go for the command's own,
    // and are cleared after it.
    writePage("firm.htm", "Firm", "<p>Our phone: 555</p><p>x</p>");
    m_controller->navigateShown(url("firm.htm"));
    waitForView1("firm.htm");
    m_controller->enterSearchWords("shoes");
    m_prompts.expect(ScriptedPrompts::Kind::YesNo, "Would You like collect images ?", "no");
    trigger("Finder|Add Link");
    QTRY_COMPARE_WITH_TIMEOUT(m_controller->harvest().reportBuffer.size(), 2, kLoadMs);
    QVERIFY(
        m_controller->harvest().reportBuffer[0].contains("<a href='" + url("firm.htm") + "'>Firm"));
    QCOMPARE(m_controller->harvest().reportBuffer[1], "<tr><td><p>Our phone: 555</p></td></tr>");
    QCOMPARE(m_controller->searchWords(), QStringList());
}

void TestBrowserHarvest::walkerOpensEachLink() {
    openLinksPage();
    press("Get all links");
    // The walk opens the harvested links in turn, each recorded as visited,
    // and then the link the walked pages added.
    QTRY_VERIFY_WITH_TIMEOUT(m_controller->harvest().visitedLinks.size() >= 3, 4 * kLoadMs);
    QCOMPARE(m_controller->harvest().visitedLinks.mid(0, 3),
             QStringList({url("p1.htm"), url("p2.htm"), url("p3.htm")}));
    QVERIFY(m_window->progressBar().isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(m_controller->harvest().visitedLinks.contains(url("p4.htm")), kLoadMs);
    QTRY_VERIFY_WITH_TIMEOUT(!m_window->progressBar().isVisible(), kLoadMs);
    QCOMPARE(m_controller->harvest().visitedLinks.size(), 4);
    press("Stop");
    QVERIFY(!m_window->harvest().walkTimeout().isActive());
    QVERIFY(!m_controller->harvest().linksArmed);
}

// "Find keywords" writes its matches into view 1, and on Yes at its prompt
// the page reader reads the matching page into the full report there. Stop
// ends a crawl, and a full report waits for view 1 to finish loading.
void TestBrowserHarvest::crawlsEndInTheFullReport() {
    HttpFixture server(m_home->path());
    QVERIFY(server.start());
    writeFile("firm.htm", "<html><head><title>Firm</title>"
                          "<meta name='description' content='Garden tools'></head><body>"
                          "<p>Call us about needle work: phone 555</p><p>Nothing here</p>"
                          "<a href='mailto:sales@firm.example'>Write to us</a></body></html>");
    writePage("other.htm", "Other", "<p>haystack</p>");
    m_controller->harvest().linkList = {server.url("other.htm").toString(),
                                        server.url("firm.htm").toString(),
                                        server.url("missing.htm").toString()};
    m_controller->enterSearchWords("needle");
    m_prompts.expect(ScriptedPrompts::Kind::YesNo,
                     "Found 1 links with Your Keywords. You may view report by click on "
                     "'View Report' menu item.",
                     "yes");
    m_prompts.expect(ScriptedPrompts::Kind::YesNo, "Would You like collect images ?", "no");
    trigger("Finder|Find keywords");
    QTRY_VERIFY_WITH_TIMEOUT(view1Url().contains("/report-") && !m_window->view(View::View1).busy(),
                             kLoadMs);
    QString expected = QString::fromUtf8(expectedFile("browser/expected/full_report.htm"));
    expected.replace("{BASE}", server.url({}).toString()).chop(2);
    QCOMPARE(fileBytes(QUrl(view1Url()).toLocalFile()), "\xEF\xBB\xBF" + expected.toUtf8());
    QVERIFY(m_controller->harvest().linkList.isEmpty());
    QVERIFY(!m_window->crawl().crawler().keywordSearch());
    QVERIFY(!m_window->progressBar().isVisible());

    HttpFixture::Response hang;
    hang.delivery = HttpFixture::Delivery::Hang;
    server.setResponse("hang.htm", hang);
    const QStringList hanging = {server.url("hang.htm").toString() + "?1",
                                 server.url("hang.htm").toString() + "?2"};

    // A page-reader time-out outside a keyword search skips only the page
    // that timed out and rests the reader; "Read next" reads on from the
    // page after it.
    for (const QString name : {"a.htm", "b.htm", "c.htm"})
        writePage(name, name.toUpper(), "text");
    m_controller->navigateShown(url("a.htm"));
    waitForView1("a.htm");
    // A short time-out for the page that never answers; the pages after it
    // have the usual time.
    PageReaderDrive& reader = m_window->crawl().reader();
    reader.setTimeoutMs(300);
    const QStringList pages = {url("a.htm"), url("b.htm"), url("c.htm")};
    m_controller->harvest().linkList = QStringList{hanging[0]} + pages;
    m_prompts.expect(ScriptedPrompts::Kind::YesNo, "Would You like collect images ?", "no");
    trigger("Finder|Create Full Report");
    QVERIFY(m_window->progressBar().isVisible());
    QVERIFY(m_window->crawl().reader().timeout().isActive());
    QTRY_VERIFY_WITH_TIMEOUT(!reader.timeout().isActive(), kLoadMs);
    QCOMPARE(m_controller->harvest().pageQueue, pages);
    QVERIFY(m_controller->harvest().reportBuffer.isEmpty());
    reader.setTimeoutMs(kLoadMs);
    trigger("Finder|Read next");
    QTRY_VERIFY_WITH_TIMEOUT(view1Url().contains("/report-"), kLoadMs);
    QCOMPARE(m_controller->harvest().reportBuffer.size(), 3);
    QVERIFY(m_controller->harvest().reportBuffer[0].contains(url("a.htm") + "'>A.HTM</a>"));
    QVERIFY(m_controller->harvest().reportBuffer[2].contains(url("c.htm") + "'>C.HTM</a>"));
    QVERIFY(!m_window->progressBar().isVisible());

    // A full report that is ready while view 1 is loading waits for it.
    m_controller->harvest().linkList = {url("c.htm")};
    m_window->view(View::View1).navigate(hanging[1]);
    m_prompts.expect(ScriptedPrompts::Kind::YesNo, "Would You like collect images ?", "no");
    trigger("Finder|Create Full Report");
    QTRY_COMPARE_WITH_TIMEOUT(m_controller->harvest().reportBuffer.size(), 1, kLoadMs);
    QVERIFY(m_window->view(View::View1).busy());
    m_window->view(View::View1).stop();
    QTRY_VERIFY_WITH_TIMEOUT(view1Url().contains("/report-"), kLoadMs);

    // Closing the window ends a link walk, a crawl and a page read that are
    // all waiting on pages that never answer.
    const QString hangUrl = server.url("hang.htm").toString();
    m_controller->harvest().linkList = {hangUrl + "?walk"};
    press("Get all links");
    QTRY_VERIFY_WITH_TIMEOUT(m_window->harvest().walkTimeout().isActive(), kLoadMs);
    m_controller->harvest().linkList = {hangUrl + "?crawl"};
    trigger("Finder|Find keywords");
    m_controller->harvest().linkList = {hangUrl + "?read"};
    m_prompts.expect(ScriptedPrompts::Kind::YesNo, "Would You like collect images ?", "no");
    trigger("Finder|Create Full Report");
    QVERIFY(m_window->crawl().crawler().busy());
    QVERIFY(reader.timeout().isActive());
    QTRY_COMPARE_WITH_TIMEOUT(server.unansweredRequests(), 3, kLoadMs);
    m_window->close();
    QVERIFY(!m_window->crawl().crawler().busy());
    QVERIFY(!m_window->crawl().reader().timeout().isActive());
    QVERIFY(!m_window->harvest().walkTimeout().isActive());
    QTRY_COMPARE_WITH_TIMEOUT(server.unansweredRequests(), 0, kLoadMs);
}

QTEST_MAIN(TestBrowserHarvest)
#include "test_browser_harvest.moc"
