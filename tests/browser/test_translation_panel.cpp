// The "Translation" commands of the real browser window, offscreen, against a
// local server standing in for the translation service: the request it
// receives, the views swapping when the translated page arrives, and a
// second command or a page of the shown view's own while one is pending.

#include "WindowTestKit.h"
#include "browser/ui/BrowserWindow.h"
#include "browser/ui/WebView.h"
#include "support/HttpFixture.h"
#include "support/ScriptedPrompts.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QSettings>
#include <QStatusBar>
#include <QtTest>
#include <memory>
#include <utility>

namespace {

const int kLoadMs = 20000;
const QString kServicePath = QStringLiteral("cgi-bin/translate");
using View = BrowserController::View;

// The service's answer: a page whose title is the query it was asked with,
// as the page itself sees it.
HttpFixture::Response translatedPage(HttpFixture::Delivery delivery) {
    HttpFixture::Response response;
    response.contentType = "text/html";
    response.body = "<html><head><script>document.title = location.search;</script></head>"
                    "<body>translated</body></html>";
    response.delivery = delivery;
    return response;
}

} // namespace

class TestTranslationPanel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void translationsSwapTheViews();

private:
    void openPage(const QString& address);
    void trigger(const QString& path) const { triggerMenu(m_window->menuBar(), path); }
    QLabel* panel(int n) const { return m_window->statusBar()->findChildren<QLabel*>()[n - 1]; }
    QComboBox* addressBox() const;
    WebView& view(View which) const { return m_window->view(which); }
    bool shows(View which) const { return view(which).widget()->isVisible(); }
    // The texts status panel 1 has shown since the last call, in order; the
    // download-complete event's "Done" soon follows a translation's texts.
    QStringList panel1Texts();

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<HttpFixture> m_server;
    NoLauncher m_launcher;
    ScriptedPrompts m_prompts;
    std::unique_ptr<BrowserController> m_controller;
    std::unique_ptr<BrowserWindow> m_window;
    QStringList m_panel1;
};

void TestTranslationPanel::init() {
    m_home = makeTestHome();
    QDir(m_home->path()).mkpath("site/shop");
    QFile page(m_home->filePath("site/shop/list.htm"));
    QVERIFY(page.open(QIODevice::WriteOnly) && page.write("<title>Shop</title>Preise") > 0);
    page.close();
    m_server = std::make_unique<HttpFixture>(m_home->filePath("site"));
    QVERIFY(m_server->start());
    QSettings("Quillmart", "Quillmart")
        .setValue("Startup/TranslationService", m_server->url(kServicePath).toString());
    m_prompts = ScriptedPrompts();
    m_controller = std::make_unique<BrowserController>(m_home->path(), m_launcher);
    m_window = std::make_unique<BrowserWindow>(*m_controller, m_launcher, m_prompts);
    connect(m_controller.get(), &BrowserController::changed, this, [this] {
        const QString text = m_controller->statusText(1);
        if (m_panel1.isEmpty() || m_panel1.last() != text)
            m_panel1 << text;
    });
    m_window->show();
    QTRY_VERIFY_WITH_TIMEOUT(startUpSettled(*m_window), kLoadMs);
    panel1Texts();
}

QStringList TestTranslationPanel::panel1Texts() {
    return std::exchange(m_panel1, {});
}

void TestTranslationPanel::cleanup() {
    m_window.reset();
    m_controller.reset();
    m_server.reset();
    QVERIFY(m_prompts.done());
}

// The shown view on a page of the local server; the address box follows it.
void TestTranslationPanel::openPage(const QString& address) {
    m_controller->navigateShown(address);
    const View shown = shows(View::View1) ? View::View1 : View::View2;
    QTRY_VERIFY_WITH_TIMEOUT(view(shown).locationUrl() == address && !view(shown).busy(), kLoadMs);
    QTRY_COMPARE(addressBox()->currentText(), address);
}

QComboBox* TestTranslationPanel::addressBox() const {
    for (QComboBox* box : m_window->findChildren<QComboBox*>())
        if (box->accessibleName() == QStringLiteral("Address"))
            return box;
    return nullptr;
}

// While the service has not answered, a page the shown view finishes on its
// own does not count as the translation; a second command sends a new
// request into the same hidden view, and its answer takes the shown view's
// place, leaving the untranslated page one switch away. The page in the
// address box goes to the service, query and all; from view 2 the next
// translation comes back in view 1.
void TestTranslationPanel::translationsSwapTheViews() {
    m_server->setResponse(kServicePath, translatedPage(HttpFixture::Delivery::Hang));
    trigger("Go|Translation|Spanish to English");
    QTRY_COMPARE_WITH_TIMEOUT(m_server->requested().count("/" + kServicePath), 1, kLoadMs);
    QCOMPARE(panel(1)->text(), QStringLiteral("Translating..."));

    const QString page = m_server->url("shop/list.htm").toString();
    openPage(page);
    QVERIFY(shows(View::View1));
    QVERIFY(!shows(View::View2));
    QVERIFY(m_controller->translating);
    QVERIFY(!panel1Texts().contains(QStringLiteral("Translation is done")));

    m_server->setResponse(kServicePath, translatedPage(HttpFixture::Delivery::Send));
    trigger("Go|Translation|English to German");
    QTRY_VERIFY_WITH_TIMEOUT(shows(View::View2), kLoadMs);
    QCOMPARE(panel1Texts().mid(0, 2), QStringList({"Translating...", "Translation is done"}));
    QVERIFY(!m_controller->translating);
    QTRY_VERIFY(view(View::View2).locationName().endsWith("%2Fshop%2Flist.htm&lp=en_de&doit=done"));
    QCOMPARE(m_server->requested().count("/" + kServicePath), 2);
    QCOMPARE(view(View::View1).locationUrl(), page);

    QTRY_COMPARE(panel(1)->text(), QStringLiteral("Done"));
    const QString query = page + "?cat=2&page=3";
    openPage(query);
    panel1Texts();
    trigger("Go|Translation|German to English");
    QCOMPARE(panel(1)->text(), QStringLiteral("Translating..."));
    QVERIFY(shows(View::View2));
    QTRY_VERIFY_WITH_TIMEOUT(shows(View::View1), kLoadMs);
    QVERIFY(!shows(View::View2));
    QCOMPARE(panel1Texts().mid(0, 2), QStringList({"Translating...", "Translation is done"}));
    QTRY_COMPARE(view(View::View1).locationName(),
                 "?urltext=http%3A%2F%2F127.0.0.1%3A" + QString::number(m_server->port()) +
                     "%2Fshop%2Flist.htm%3Fcat%3D2%26page%3D3&lp=de_en&doit=done");
    QCOMPARE(view(View::View2).locationUrl(), query);
    QCOMPARE(addressBox()->currentText(), query);
}

QTEST_MAIN(TestTranslationPanel)
#include "test_translation_panel.moc"
