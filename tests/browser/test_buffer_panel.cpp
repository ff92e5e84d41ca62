// The buffers in the real browser window, offscreen, on local pages:
// pictures collected from loaded pages, double-clicks on a page picking
// pictures into catalogs or the store generator, the link under the mouse
// in status panel 1, and the "Reporting" commands of the three buffers.

#include "WindowTestKit.h"
#include "browser/BrowserWindow.h"
#include "browser/BufferPanel.h"
#include "browser/DocumentSnapshot.h"
#include "browser/WebView.h"
#include "platform/Beep.h"
#include "support/ExpectedFile.h"
#include "support/ScriptedPrompts.h"
#include "support/UserInput.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QUrl>
#include <QWebEnginePage>
#include <QtTest>
#include <memory>

namespace {

const int kLoadMs = 20000;
using View = BrowserController::View;
using Kind = ScriptedPrompts::Kind;

const QString kHtmlFilter =
    QStringLiteral("HTML file (*.htm;*.html)|*.htm;*.html|Text File (*.txt;*.rtf)|*.txt;*.rtf");

class CountingBeep : public Beep {
public:
    void beep() override { ++count; }
    int count = 0;
};

// A picture, a picture link with text inside it, plain text, and a frame
// that double-clicks its own picture when told to.
const char* kPicturesPage =
    "<img id='pic' src='pic.gif' width='40' height='40'> "
    "<a id='link' href='big.jpg'><b id='inner'>Big</b></a> <p id='plain'>text</p> "
    "<iframe src='frame.htm'></iframe>";
const char* kFramePage =
    "<img id='fpic' src='fpic.gif'><script>window.addEventListener('message', function (e) {"
    " if (e.data === 'go') document.getElementById('fpic').dispatchEvent("
    "new MouseEvent('dblclick', {bubbles: true})); });</script>";

} // namespace

class TestBufferPanel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void buffersAndTheMouse();

private:
    QString writePage(const QString& name, const QString& body) const;
    QString url(const QString& name) const {
        return QUrl::fromLocalFile(QDir(m_home->path()).filePath(name)).toString();
    }
    WebView& view1() const { return m_window->view(View::View1); }
    void open(const QString& name);
    void openPicturesPage();
    void trigger(const QString& path) const { triggerMenu(m_window->menuBar(), path); }
    QLabel* panel(int n) const { return m_window->statusBar()->findChildren<QLabel*>()[n - 1]; }
    QComboBox* searchWords() const;
    // Runs an event on an element of the shown page, as the page would.
    void fire(const QString& id, const QString& event) const;
    void doubleClickAndWait(const QString& id);
    QString catalog(int index) const { return m_window->buffers().catalogs().at(index); }
    QString img(const QString& name) const { return "<img src='" + url(name) + "'>"; }

    std::unique_ptr<QTemporaryDir> m_home;
    NoLauncher m_launcher;
    ScriptedPrompts m_prompts;
    CountingBeep m_beep;
    std::unique_ptr<BrowserController> m_controller;
    std::unique_ptr<BrowserWindow> m_window;
};

void TestBufferPanel::init() {
    m_home = makeTestHome();
    m_prompts = ScriptedPrompts();
    m_beep.count = 0;
    m_controller = std::make_unique<BrowserController>(m_home->path(), m_launcher);
    m_window = std::make_unique<BrowserWindow>(*m_controller, m_launcher, m_prompts);
    m_window->buffers().setBeep(m_beep);
    m_window->show();
    QTRY_VERIFY_WITH_TIMEOUT(
        view1().locationUrl().endsWith("index.htm") && startUpSettled(*m_window), kLoadMs);
    writePage("frame.htm", kFramePage);
}

void TestBufferPanel::cleanup() {
    m_window.reset();
    m_controller.reset();
    QVERIFY(m_prompts.done());
}

QString TestBufferPanel::writePage(const QString& name, const QString& body) const {
    const QString path = QDir(m_home->path()).filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(body.toUtf8());
    return path;
}

void TestBufferPanel::open(const QString& name) {
    view1().navigate(QDir(m_home->path()).filePath(name));
    QTRY_VERIFY_WITH_TIMEOUT(view1().locationUrl() == url(name) && !view1().busy(), kLoadMs);
}

// Loaded pages are collected from once they are read.
void TestBufferPanel::openPicturesPage() {
    writePage("pics.htm", kPicturesPage);
    open("pics.htm");
    QTRY_VERIFY_WITH_TIMEOUT(m_controller->pictureBuffer.contains(url("pic.gif")), kLoadMs);
}

QComboBox* TestBufferPanel::searchWords() const {
    for (QComboBox* box : m_window->findChildren<QComboBox*>())
        if (box->accessibleName() == QLatin1String("Search words"))
            return box;
    return nullptr;
}

void TestBufferPanel::fire(const QString& id, const QString& event) const {
    view1().page()->runJavaScript(QStringLiteral("document.getElementById('%1').dispatchEvent("
                                                 "new MouseEvent('%2', {bubbles: true}));")
                                      .arg(id, event));
}

void TestBufferPanel::doubleClickAndWait(const QString& id) {
    const int beeps = m_beep.count;
    fire(id, QStringLiteral("dblclick"));
    QTRY_COMPARE_WITH_TIMEOUT(m_beep.count, beeps + 1, kLoadMs);
}

// The picture buffer's report, saving and clearing, the MP3 buffer and a
// catalog; then the mouse on a page.
void TestBufferPanel::buffersAndTheMouse() {
    openPicturesPage();
    // The picture, the picture link and the frame's picture.
    QTRY_COMPARE_WITH_TIMEOUT(panel(4)->text(), QStringLiteral("Found - 3 pictures ! "), kLoadMs);
    const QStringList pictures = m_controller->pictureBuffer;
    QCOMPARE(pictures, QStringList({url("big.jpg"), url("pic.gif"), url("fpic.gif")}));

    // The report page shows the buffer and is not collected from itself.
    UserInput::click(panel(4));
    QTRY_VERIFY_WITH_TIMEOUT(view1().locationUrl().contains("report-") && !view1().busy(), kLoadMs);
    QStringList shown;
    view1().snapshot([&shown](const DocumentSnapshot& page) { shown = page.imageSources; });
    QTRY_COMPARE_WITH_TIMEOUT(shown, pictures, kLoadMs);
    QCOMPARE(m_controller->pictureBuffer, pictures);

    const QString saved = QDir(m_home->path()).filePath("pictures.htm");
    m_prompts.expect(Kind::SaveFile, kHtmlFilter, saved);
    trigger("Reporting|Save|Save image buf");
    QVERIFY(fileBytes(saved).startsWith(
        "<html>\r\n\r\n<head><title>Image Buffer's contents</title></head><body><img src='" +
        url("big.jpg").toUtf8()));

    trigger("Reporting|Clear|Clear image buf");
    QVERIFY(m_controller->pictureBuffer.isEmpty());
    QCOMPARE(panel(4)->text(), QStringLiteral("Images'Listing is clear ! "));
    m_window->buffers().addPicture(url("x.jpg"));
    m_controller->setStatusText(4, "other");
    UserInput::doubleClick(panel(5));
    QVERIFY(m_controller->pictureBuffer.isEmpty());
    QCOMPARE(panel(4)->text(), QStringLiteral("Images'Listing is clear ! "));

    writePage("songs.htm", "<a href='song.ram'>Song</a> <a href='page.htm'>Page</a>");
    open("songs.htm");
    trigger("Finder|Get/Add all Links");
    QTRY_COMPARE_WITH_TIMEOUT(m_window->buffers().mp3().lines().size(), 1, kLoadMs);
    const QString line = "<a href='" + url("song.ram") + "'>" + url("song.ram") + "</a><br>";
    QCOMPARE(m_window->buffers().mp3().lines().first(), line);

    // The private zone saves MP3 lists as pages still.
    m_controller->privateZone = true;
    const QString songs = QDir(m_home->path()).filePath("songs");
    m_prompts.expect(Kind::SaveFile, kHtmlFilter, songs);
    trigger("Reporting|Save|Save MP3");
    QCOMPARE(fileBytes(songs), "<html>\r\n\r\n<title>Report</title><body>" + line.toUtf8() +
                                   "</body>\r\n</html>\r\n");
    trigger("Reporting|View|View MP3");
    QTRY_COMPARE_WITH_TIMEOUT(view1().locationName(), QStringLiteral("Found links report"),
                              kLoadMs);
    trigger("Reporting|Clear|Clear MP3 buf");
    QVERIFY(m_window->buffers().mp3().lines().isEmpty());

    // "Get/Add all Links" also armed the hand-over of the next page's links
    // (the buffers' own pages do not count) to the link list.
    m_controller->privateZone = false;
    QVERIFY(m_controller->harvest.linksArmed);
    openPicturesPage();
    QVERIFY(m_controller->harvest.linkList.contains(url("big.jpg")));
    QVERIFY(!m_controller->harvest.linksArmed);
    m_controller->enterSearchWords("shoes");
    searchWords()->setCurrentIndex(0);
    doubleClickAndWait("pic");
    const QString catalogFile = QDir(m_home->path()).filePath("shoes.htm");
    m_prompts.expect(Kind::SaveFile, kHtmlFilter, catalogFile);
    trigger("Reporting|Save|Save catalog");
    QCOMPARE(fileBytes(catalogFile), "<html>\r\n\r\n<title>Catalog</title><body>" +
                                         img("pic.gif").toUtf8() + "</body>\r\n</html>\r\n");
    trigger("Reporting|Clear|Clear catalog");
    QVERIFY(catalog(0).isEmpty());
    QCOMPARE(panel(2)->text(), QStringLiteral("Buffer shoes is clear"));

    // The link under the mouse shows in status panel 1 outside the private
    // zone only. A double-clicked picture gives its source, a link (or what is
    // inside one) its address, a frame's picture too; plain text gives nothing.
    // The picture leaves the picture buffer. While the store generator is
    // shown, a picture goes into its "Picture URL" field instead.
    openPicturesPage();
    fire("inner", "mouseover");
    QTRY_COMPARE_WITH_TIMEOUT(panel(1)->text(), url("big.jpg"), kLoadMs);
    fire("inner", "mouseout");
    QTRY_COMPARE_WITH_TIMEOUT(panel(1)->text(), QString(), kLoadMs);

    m_controller->privateZone = true;
    searchWords()->setEditText("typed");
    fire("link", "mouseover");
    m_prompts.expectMessage(" Choose the catalog's name ,please !");
    doubleClickAndWait("pic"); // a later event, to know the first has come
    QCOMPARE(panel(1)->text(), QString());
    QVERIFY(m_prompts.done());

    m_controller->privateZone = false;
    QVERIFY(m_controller->pictureBuffer.contains(url("big.jpg")));
    searchWords()->setCurrentIndex(0);
    doubleClickAndWait("pic");
    QCOMPARE(catalog(0), img("pic.gif"));
    QVERIFY(!m_controller->pictureBuffer.contains(url("pic.gif")));
    doubleClickAndWait("inner");
    doubleClickAndWait("plain");
    const int beeps = m_beep.count;
    view1().page()->runJavaScript(
        "document.querySelector('iframe').contentWindow.postMessage('go', '*');");
    QTRY_COMPARE_WITH_TIMEOUT(m_beep.count, beeps + 1, kLoadMs);
    const QString picked = img("pic.gif") + img("big.jpg") + img("fpic.gif");
    QCOMPARE(catalog(0), picked);

    // No entry chosen: the user is asked for one, and nothing is added.
    m_prompts.expectMessage(" Choose the catalog's name ,please !");
    searchWords()->setEditText("typed");
    doubleClickAndWait("pic");
    QVERIFY(m_prompts.done());
    QCOMPARE(catalog(0), picked);

    searchWords()->setCurrentIndex(0);
    trigger("Tools|Store Generator");
    QWidget* generator = m_window->generatorWindow();
    QLineEdit* pictureUrl = nullptr;
    for (QLineEdit* edit : generator->findChildren<QLineEdit*>())
        if (edit->accessibleName() == QLatin1String("Picture URL"))
            pictureUrl = edit;
    QVERIFY(pictureUrl);

    doubleClickAndWait("pic");
    QCOMPARE(pictureUrl->text(), url("pic.gif"));
    QCOMPARE(catalog(0), picked);
}

QTEST_MAIN(TestBufferPanel)
#include "test_buffer_panel.moc"
