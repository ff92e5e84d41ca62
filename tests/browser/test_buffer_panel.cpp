// The buffers in the real browser window, offscreen, on pages of a local
// web server:
// pictures collected from loaded pages, double-clicks on a page picking
// pictures into catalogs or the store generator, the link under the mouse
// in status panel 1, and the "Reporting" commands of the three buffers.

#include "WindowTestKit.h"
#include "browser/ui/BrowserWindow.h"
#include "browser/ui/BufferPanel.h"
#include "browser/ui/WebView.h"
#include "platform/Beep.h"
#include "support/ExpectedFile.h"
#include "support/HttpFixture.h"
#include "support/ScriptedPrompts.h"
#include "support/UserInput.h"
#include "web/DocumentSnapshot.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QUrl>
#include <QWebEnginePage>
#include <QtTest>
#include <functional>
#include <memory>
#include <utility>

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

// Prompts that, while a message box is open, let one more thing happen, as
// an event arriving during the box's own event loop would.
class ReentrantPrompts : public ScriptedPrompts {
public:
    void message(const QString& text, const QString& title) override {
        ScriptedPrompts::message(text, title);
        if (auto during = std::exchange(whileOpen, nullptr))
            during();
    }
    std::function<void()> whileOpen;
};

// Everything at a fixed place, so a pointer can find it: a picture, a
// picture link with text inside it (which stays on the page when clicked),
// plain text, a frame of the page's own
// origin and a frame of another origin (FOREIGN), each with a picture. The
// page's own script forges a double-click on the picture, and so does the
// same-origin frame's, which also posts a message such as the program's
// page events once used.
const char* kPicturesPage =
    "<body style='margin:0'>"
    "<img id='pic' src='pic.gif' width='40' height='40' style='position:absolute;left:0;top:0'>"
    "<a id='link' href='big.jpg' onclick='return false' style='position:absolute;left:100px;top:0'>"
    "<b id='inner'>"
    "Big</b></a><p id='plain' style='position:absolute;left:200px;top:0;margin:0'>text</p>"
    "<iframe src='frame.htm' width='100' height='100' "
    "style='position:absolute;left:0;top:100px;border:0'></iframe>"
    "<iframe src='FOREIGN' width='100' height='100' "
    "style='position:absolute;left:200px;top:100px;border:0'></iframe>"
    "<script>function forge() { document.getElementById('pic').dispatchEvent("
    "new MouseEvent('dblclick', {bubbles: true})); }</script></body>";
const char* kFramePage =
    "<body style='margin:0'><img id='fpic' src='fpic.gif' width='40' height='40'>"
    "<script>window.addEventListener('message', function (e) {"
    " if (e.data !== 'go') return;"
    " document.getElementById('fpic').dispatchEvent(new MouseEvent('dblclick', {bubbles: true}));"
    " top.postMessage({kind: 'quillmart-page-event', type: 'dblclick',"
    " address: document.getElementById('fpic').src}, '*'); });</script></body>";
const QPoint kPicture(20, 20);
const QPoint kLinkText(108, 8);
const QPoint kPlainText(210, 8);
const QPoint kFramePicture(20, 120);
const QPoint kForeignPicture(220, 120);
const QPoint kNothing(500, 400);

} // namespace

class TestBufferPanel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void buffersAndTheMouse();

private:
    QString writePage(const QString& name, const QString& body) const;
    QString url(const QString& name) const { return m_server->url(name).toString(); }
    WebView& view1() const { return m_window->view(View::View1); }
    void open(const QString& name);
    void openPicturesPage();
    void trigger(const QString& path) const { triggerMenu(m_window->menuBar(), path); }
    QLabel* panel(int n) const { return m_window->statusBar()->findChildren<QLabel*>()[n - 1]; }
    QComboBox* searchWords() const;
    // A person's double-click at a place of the page in view 1; it returns
    // once the program has taken it (every double-click beeps).
    void doubleClickAndWait(QPoint at);
    QString catalog(int index) const { return m_window->buffers().catalogs().at(index); }
    QString img(const QString& name) const { return "<img src='" + url(name) + "'>"; }

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<HttpFixture> m_server;
    std::unique_ptr<HttpFixture> m_foreign;
    NoLauncher m_launcher;
    ReentrantPrompts m_prompts;
    CountingBeep m_beep;
    std::unique_ptr<BrowserController> m_controller;
    std::unique_ptr<BrowserWindow> m_window;
};

void TestBufferPanel::init() {
    m_home = makeTestHome();
    QVERIFY(QDir(m_home->path()).mkdir("foreign"));
    m_server = std::make_unique<HttpFixture>(m_home->path());
    m_foreign = std::make_unique<HttpFixture>(QDir(m_home->path()).filePath("foreign"));
    QVERIFY(m_server->start() && m_foreign->start());
    m_prompts = ReentrantPrompts();
    m_beep.count = 0;
    m_controller = std::make_unique<BrowserController>(m_home->path(), m_launcher);
    m_window = std::make_unique<BrowserWindow>(*m_controller, m_launcher, m_prompts);
    m_window->buffers().setBeep(m_beep);
    m_window->show();
    QTRY_VERIFY_WITH_TIMEOUT(
        view1().locationUrl().endsWith("index.htm") && startUpSettled(*m_window), kLoadMs);
    writePage("frame.htm", kFramePage);
    writePage("foreign/frame.htm", "<body style='margin:0'><img src='x.gif' width='40' "
                                   "height='40'></body>");
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
    view1().navigate(url(name));
    QTRY_VERIFY_WITH_TIMEOUT(view1().locationUrl() == url(name) && !view1().busy(), kLoadMs);
}

// Loaded pages are collected from once they are read.
void TestBufferPanel::openPicturesPage() {
    writePage("pics.htm", QString::fromLatin1(kPicturesPage)
                              .replace("FOREIGN", m_foreign->url("frame.htm").toString()));
    open("pics.htm");
    QTRY_VERIFY_WITH_TIMEOUT(m_controller->pictureBuffer.contains(url("pic.gif")), kLoadMs);
}

QComboBox* TestBufferPanel::searchWords() const {
    for (QComboBox* box : m_window->findChildren<QComboBox*>())
        if (box->accessibleName() == QLatin1String("Search words"))
            return box;
    return nullptr;
}

void TestBufferPanel::doubleClickAndWait(QPoint at) {
    const int beeps = m_beep.count;
    UserInput::doubleClick(view1().widget(), at);
    QTRY_COMPARE_WITH_TIMEOUT(m_beep.count, beeps + 1, kLoadMs);
}

// The picture buffer's report, saving and clearing, the MP3 buffer and a
// catalog; then the mouse on a page, and events the page forges.
void TestBufferPanel::buffersAndTheMouse() {
    openPicturesPage();
    // The picture, the picture link and the same-origin frame's picture.
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
    QVERIFY(fileBytes(saved).contains("<body><img src='" + url("big.jpg").toUtf8()));

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

    trigger("Reporting|View|View MP3");
    QTRY_COMPARE_WITH_TIMEOUT(view1().locationName(), QStringLiteral("Found links report"),
                              kLoadMs);

    // "Get/Add all Links" also armed the hand-over of the next page's links
    // (the buffers' own pages do not count) to the link list.
    QVERIFY(m_controller->harvest().linksArmed);
    openPicturesPage();
    QVERIFY(m_controller->harvest().linkList.contains(url("big.jpg")));
    QVERIFY(!m_controller->harvest().linksArmed);
    m_controller->enterSearchWords("shoes");

    // The link under the mouse shows in status panel 1 outside the private
    // zone only. A double-clicked picture gives its source, a link (or what
    // is inside one) its address, a same-origin frame's picture too; plain
    // text gives nothing. The picture leaves the picture buffer. While the
    // store generator is shown, a picture goes into its "Picture URL" field
    // instead.
    openPicturesPage();
    UserInput::hover(view1().widget(), kLinkText);
    QTRY_COMPARE_WITH_TIMEOUT(panel(1)->text(), url("big.jpg"), kLoadMs);
    UserInput::hover(view1().widget(), kNothing);
    QTRY_COMPARE_WITH_TIMEOUT(panel(1)->text(), QString(), kLoadMs);

    // One box at a time, even when another double-click comes while it is
    // open.
    m_controller->zone().enterPrivateZone();
    searchWords()->setEditText("typed");
    UserInput::hover(view1().widget(), kLinkText);
    m_prompts.expectMessage(" Choose the catalog's name ,please !");
    m_prompts.whileOpen = [this] { Q_EMIT view1().pageDoubleClick(url("pic.gif")); };
    UserInput::doubleClick(view1().widget(), kPicture);
    QTRY_VERIFY_WITH_TIMEOUT(m_prompts.done(), kLoadMs);
    QCOMPARE(panel(1)->text(), QString());

    m_controller->zone().leavePrivateZone();
    QVERIFY(m_controller->pictureBuffer.contains(url("big.jpg")));
    searchWords()->setCurrentIndex(0);
    doubleClickAndWait(kPicture);
    QCOMPARE(catalog(0), img("pic.gif"));
    QVERIFY(!m_controller->pictureBuffer.contains(url("pic.gif")));
    doubleClickAndWait(kLinkText);
    doubleClickAndWait(kFramePicture);
    const QString picked = img("pic.gif") + img("big.jpg") + img("fpic.gif");
    QCOMPARE(catalog(0), picked);

    // What the page's scripts forge, and a double-click inside a frame of
    // another origin, change nothing; the plain text's double-click after
    // them (which only beeps) shows they have all been and gone.
    const int beeps = m_beep.count;
    view1().page()->runJavaScript(
        "forge(); document.querySelectorAll('iframe')[0].contentWindow.postMessage('go', '*');");
    UserInput::doubleClick(view1().widget(), kForeignPicture);
    doubleClickAndWait(kPlainText);
    QCOMPARE(m_beep.count, beeps + 1);
    QCOMPARE(catalog(0), picked);

    // No entry chosen: the user is asked for one, and nothing is added.
    m_prompts.expectMessage(" Choose the catalog's name ,please !");
    searchWords()->setEditText("typed");
    doubleClickAndWait(kPicture);
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

    m_window->activateWindow();
    doubleClickAndWait(kPicture);
    QCOMPARE(pictureUrl->text(), url("pic.gif"));
    QCOMPARE(catalog(0), picked);
}

QTEST_MAIN(TestBufferPanel)
#include "test_buffer_panel.moc"
