// The real browser window, offscreen, against a temporary home folder: it
// starts on the shipped start page, shows its menus, bands and status
// panels, carries the user's commands to the shown view and writes the list
// files when it closes.

#include "browser/AboutBox.h"
#include "browser/BrowserController.h"
#include "browser/BrowserWindow.h"
#include "browser/WebView.h"
#include "platform/Launcher.h"
#include "support/ExpectedFile.h"
#include "support/ScriptedPrompts.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QtTest>
#include <memory>

namespace {

// Web views share their graphics contexts; this must be set before the
// application object exists.
const bool kSharedContexts = [] {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    return true;
}();

const int kLoadMs = 20000;

class FailingLauncher : public Launcher {
public:
    bool start(const QString& program, const QStringList&) override {
        started << program;
        return false;
    }
    QStringList started;
};

QString notAvailable(const QString& caption) {
    return QStringLiteral("\"%1\" is not available in this version yet.").arg(caption);
}

// The menu entries along a path such as "Go|Channels|CPU", or none when one
// is missing: every step but the last is a submenu; the last is an item when
// there is one of that name.
QList<QAction*> menuPath(QMenuBar* bar, const QString& path) {
    const QStringList steps = path.split(QLatin1Char('|'));
    QList<QAction*> actions = bar->actions();
    QList<QAction*> along;
    for (int i = 0; i < steps.size(); ++i) {
        const bool last = i == steps.size() - 1;
        QAction* found = nullptr;
        for (QAction* action : actions) {
            if (action->text() != steps[i] || (!last && !action->menu()))
                continue;
            if (!found || (last && !action->menu()))
                found = action;
        }
        if (!found)
            return {};
        along << found;
        if (!last)
            actions = found->menu()->actions();
    }
    return along;
}

} // namespace

class TestBrowserWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void startsOnTheShippedPage();
    void menus_data();
    void menus();
    void bandsAndPanels();
    void addressBoxNavigatesTheShownView();
    void openAndViewSwitch();
    void notAvailableAndLaunchFailures();
    void storeGeneratorAndPreview();
    void closingWritesTheListFiles();

private:
    void start();
    QString page(const QString& name, const QString& title) const;
    QAction* entry(const QString& path) const {
        return menuPath(m_window->menuBar(), path).value(path.count(QLatin1Char('|')));
    }
    QLabel* panel(int n) const { return m_window->statusBar()->findChildren<QLabel*>()[n - 1]; }
    QAction* button(const QString& tip) const;
    QComboBox* box(const QString& name) const;
    QString viewUrl(BrowserController::View which) const {
        return m_window->view(which).locationUrl();
    }

    std::unique_ptr<QTemporaryDir> m_home;
    FailingLauncher m_launcher;
    ScriptedPrompts m_prompts;
    std::unique_ptr<BrowserController> m_controller;
    std::unique_ptr<BrowserWindow> m_window;
};

void TestBrowserWindow::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
}

void TestBrowserWindow::init() {
    m_home = std::make_unique<QTemporaryDir>();
    qputenv("QUILLMART_HOME", m_home->path().toUtf8());
    // No "Startup" settings: the locations default to the shipped pages.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_home->path());
    m_launcher.started.clear();
    m_prompts = ScriptedPrompts();
    m_controller = std::make_unique<BrowserController>(m_home->path(), m_launcher);
    m_window = std::make_unique<BrowserWindow>(*m_controller, m_launcher, m_prompts);
}

void TestBrowserWindow::cleanup() {
    m_window.reset();
    m_controller.reset();
    QVERIFY(m_prompts.done());
}

void TestBrowserWindow::start() {
    m_window->show();
    QTRY_VERIFY_WITH_TIMEOUT(viewUrl(BrowserController::View1).endsWith("/velgan/index.htm") &&
                                 !m_window->view(BrowserController::View1).busy(),
                             kLoadMs);
    QTRY_VERIFY_WITH_TIMEOUT(viewUrl(BrowserController::View2).endsWith("/velgan/welcome.htm") &&
                                 !m_window->view(BrowserController::View2).busy(),
                             kLoadMs);
}

QString TestBrowserWindow::page(const QString& name, const QString& title) const {
    const QString path = QDir(m_home->path()).filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write("<html><head><title>" + title.toUtf8() + "</title></head><body>x</body></html>");
    return path;
}

QAction* TestBrowserWindow::button(const QString& tip) const {
    auto* bar = m_window->findChild<QToolBar*>(QStringLiteral("mainToolbar"));
    for (QAction* action : bar->actions())
        if (action->toolTip() == tip)
            return action;
    return nullptr;
}

QComboBox* TestBrowserWindow::box(const QString& name) const {
    for (QComboBox* box : m_window->findChildren<QComboBox*>())
        if (box->accessibleName() == name)
            return box;
    return nullptr;
}

void TestBrowserWindow::startsOnTheShippedPage() {
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Skyvane  Explorer"));
    start();
    QVERIFY(m_window->view(BrowserController::View1).widget()->isVisible());
    QVERIFY(!m_window->view(BrowserController::View2).widget()->isVisible());
    // Each view's finished load puts its title in the caption, the hidden
    // one's too.
    const QStringList titles = {"Welcome to Quillmart", "Getting started with Quillmart"};
    QTRY_VERIFY(titles.contains(m_window->windowTitle()));
    QCOMPARE(panel(2)->text(), QStringLiteral("Public zone"));
    QCOMPARE(panel(1)->text(), QStringLiteral("Done"));
    QCOMPARE(box(QStringLiteral("Address"))->currentText(), viewUrl(BrowserController::View1));
}

void TestBrowserWindow::menus_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("visible");
    // Menu path, then its items separated by ";"; the bool says shown.
    const std::tuple<const char*, const char*, bool> groups[] = {
        {"File", "Open;Open Collection;Save As;Page setup;Print;Exit", true},
        {"Edit", "Copy;Select All", true},
        {"Tools", "Store Generator;Orders;Form Generator;Web Editor;Analysis;Submitting;Publishing",
         true},
        {"Finder",
         "Add Link;Get/Add all Links;Find e-mail;Find contact;Find keywords;Create Full Report;"
         "Read next;Create adult listing;Edit adult listing",
         true},
        {"Reporting|View",
         "View catalog;View image buf;View MP3;View report;Veiw report listing;View links listing",
         true},
        {"Reporting|Clear", "Clear catalog;Clear MP3 buf;Clear image buf", true},
        {"Reporting|Save", "Save catalog;Save MP3;Save image buf;Save report", true},
        {"Go",
         "Go back;Go Forward;Refresh;Go Home;Go Search;History;Channels;Private;Add favorites;"
         "Translation;World;Investor",
         true},
        {"Go",
         "Search;Hot;Real Plyer;MP3;ICQ;menu1|bir1;menu2|bir2;menu3|bir3;menu4|bir4;"
         "menu5|bir5;Genie|Gene On;Genie|Gene Off",
         false},
        {"Go|Channels", "Motherboard;CPU;Memory", false},
        {"Go|Translation",
         "Portuguese to English;Spanish to English;Italian to English;German to English;"
         "French to English;English to Spanish;English to Portuguese;English to Italian;"
         "English to German;English to French",
         true},
        {"Help", "Getting Started;How can I..?;Customization;About", true},
    };
    for (const auto& [menu, items, shown] : groups) {
        for (const QString& item : QString::fromLatin1(items).split(QLatin1Char(';'))) {
            const QString path = QString::fromLatin1(menu) + QLatin1Char('|') + item;
            QTest::newRow(qPrintable(path)) << path << shown;
        }
    }
}

void TestBrowserWindow::menus() {
    QFETCH(QString, path);
    QFETCH(bool, visible);
    QStringList titles;
    for (QAction* action : m_window->menuBar()->actions())
        titles << action->text();
    QCOMPARE(titles, QStringList({"File", "Edit", "Tools", "Finder", "Reporting", "Go", "Help"}));
    const QList<QAction*> along = menuPath(m_window->menuBar(), path);
    QVERIFY2(!along.isEmpty(), qPrintable("no entry " + path));
    QCOMPARE(std::all_of(along.begin(), along.end(), [](QAction* a) { return a->isVisible(); }),
             visible);
}

void TestBrowserWindow::bandsAndPanels() {
    m_window->show();
    QList<QToolBar*> bars = m_window->findChildren<QToolBar*>();
    std::sort(bars.begin(), bars.end(), [](QToolBar* a, QToolBar* b) {
        return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
    });
    QStringList order;
    for (QToolBar* bar : bars) {
        order << bar->objectName();
        QVERIFY(bar->isMovable());
    }
    QCOMPARE(order,
             QStringList({"mainToolbar", "searchWordsBand", "searchToolbar", "addressBand"}));

    // 23 positions: separators at 6, 11, 16 and 19, a button with a tip and
    // an icon everywhere else.
    const QList<QAction*> positions = bars[0]->actions();
    QCOMPARE(positions.size(), 23);
    for (int i = 0; i < positions.size(); ++i) {
        const bool separator = QList<int>{6, 11, 16, 19}.contains(i + 1);
        QCOMPARE(positions[i]->isSeparator(), separator);
        QWidget* widget = bars[0]->widgetForAction(positions[i]);
        if (separator)
            continue;
        QVERIFY2(!widget->toolTip().isEmpty() && !widget->accessibleName().isEmpty(),
                 qPrintable(QString::number(i + 1)));
        const auto* tool = qobject_cast<QToolButton*>(widget);
        QVERIFY(tool && !tool->icon().isNull());
        QCOMPARE(tool->menu() != nullptr, i + 1 == 7 || i + 1 == 10);
    }
    QStringList searchButtons;
    for (QToolButton* tool : bars[2]->findChildren<QToolButton*>())
        if (tool->menu())
            searchButtons << tool->text();
    // The window's four; the channel panel adds three more after them.
    QCOMPARE(searchButtons.first(4),
             QStringList({"Search", "Shareware", "Computers", "Investmens"}));

    // The search-words box: Enter puts the words on top, Delete takes them out.
    QLineEdit* words = box(QStringLiteral("Search words"))->lineEdit();
    for (const char* typed : {"shoes", "hats"}) {
        QTest::keyClicks(words, QString::fromLatin1(typed));
        QTest::keyClick(words, Qt::Key_Return);
        QCOMPARE(words->text(), QString());
    }
    QCOMPARE(box(QStringLiteral("Search words"))->itemText(0), QStringLiteral("hats"));
    QTest::keyClicks(words, QStringLiteral("hats"));
    QTest::keyClick(words, Qt::Key_Delete);
    QCOMPARE(m_controller->searchWords(), QStringList({"shoes"}));
    QCOMPARE(words->text(), QString());

    QStringList tips;
    for (int n = 1; n <= 5; ++n)
        tips << panel(n)->toolTip();
    QCOMPARE(tips, QStringList({"URL", "Result", "View links listing",
                                "Show a picture buffer's contents", "Clear picture buffer"}));
}

void TestBrowserWindow::addressBoxNavigatesTheShownView() {
    start();
    const QString path = page(QStringLiteral("a.htm"), QStringLiteral("Page A"));
    QComboBox* address = box(QStringLiteral("Address"));
    address->lineEdit()->selectAll();
    QTest::keyClicks(address->lineEdit(), path);
    QTest::keyClick(address->lineEdit(), Qt::Key_Return);
    QCOMPARE(address->itemText(address->count() - 1), path);
    QTRY_COMPARE_WITH_TIMEOUT(viewUrl(BrowserController::View1),
                              QUrl::fromLocalFile(path).toString(), kLoadMs);
    QTRY_COMPARE(m_window->windowTitle(), QStringLiteral("Page A"));
    QCOMPARE(address->currentText(), QUrl::fromLocalFile(path).toString());
    QVERIFY(!viewUrl(BrowserController::View2).endsWith("a.htm"));
    QCOMPARE(m_window->addressText(), QUrl::fromLocalFile(path).toString());
}

void TestBrowserWindow::openAndViewSwitch() {
    start();
    const QString welcome = viewUrl(BrowserController::View2);
    button(QStringLiteral("Switch views"))->trigger();
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Browser 2"));
    QVERIFY(m_window->view(BrowserController::View2).widget()->isVisible());
    QVERIFY(!m_window->view(BrowserController::View1).widget()->isVisible());
    QCOMPARE(m_window->addressText(), welcome);

    // "Open" takes the file dialog's filter as two strings run together.
    const QString path = page(QStringLiteral("b.htm"), QStringLiteral("Page B"));
    m_prompts.expect(ScriptedPrompts::Kind::OpenFile,
                     "HTML file (*.htm;*.html)|*.htm;*.html|Text File (*.txt;*.rtf)|*.txt;*.rtf|"
                     "MS Word file(*.doc)|*.doc|GIF file(*.gif)|*.gif|JPEG file(*.jpg)|*.jpg|"
                     "All Files(*.*)|*.*|",
                     path);
    entry(QStringLiteral("File|Open"))->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(viewUrl(BrowserController::View2),
                              QUrl::fromLocalFile(path).toString(), kLoadMs);
    QVERIFY(viewUrl(BrowserController::View1).endsWith("/velgan/index.htm"));

    button(QStringLiteral("Switch views"))->trigger();
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Browser 1"));
    QVERIFY(m_window->view(BrowserController::View1).widget()->isVisible());
    QVERIFY(!m_window->view(BrowserController::View2).widget()->isVisible());
}

void TestBrowserWindow::notAvailableAndLaunchFailures() {
    m_window->show();
    entry(QStringLiteral("Tools|Submitting"))->trigger();
    QCOMPARE(panel(1)->text(), notAvailable(QStringLiteral("Submitting")));

    button(QStringLiteral("Mail"))->trigger();
    QCOMPARE(m_launcher.started, QStringList({"xdg-email"}));
    QVERIFY(panel(1)->text().contains(QStringLiteral("xdg-email")));
    button(QStringLiteral("Calculator"))->trigger();
    QCOMPARE(m_launcher.started.size(), 2);
    QVERIFY(panel(1)->text().contains(m_launcher.started.last()));

    entry(QStringLiteral("Tools|Store Generator"))->trigger();
    QCOMPARE(m_window->generatorWindow()->windowTitle(), QStringLiteral("Quillmart 6.0"));
    QVERIFY(m_window->generatorWindow()->isVisible());
    entry(QStringLiteral("Help|About"))->trigger();
    QVERIFY(m_window->findChild<AboutBox*>()->isVisible());
}

void TestBrowserWindow::storeGeneratorAndPreview() {
    start();
    int made = 0;
    auto* generator = new QWidget(m_window.get(), Qt::Window);
    m_window->setGeneratorFactory([&made, generator](BrowserWindow&) {
        ++made;
        return generator;
    });
    for (int i = 0; i < 2; ++i) {
        entry(QStringLiteral("Tools|Store Generator"))->trigger();
        QVERIFY(generator->isVisible());
        generator->hide();
    }
    QCOMPARE(made, 1);

    // The generated shop's start page replaces whatever view was shown.
    button(QStringLiteral("Switch views"))->trigger();
    const QString path = page(QStringLiteral("shop.htm"), QStringLiteral("Shop"));
    m_window->preview(path);
    QVERIFY(m_window->view(BrowserController::View1).widget()->isVisible());
    QVERIFY(!m_window->view(BrowserController::View2).widget()->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(viewUrl(BrowserController::View1),
                              QUrl::fromLocalFile(path).toString(), kLoadMs);
}

void TestBrowserWindow::closingWritesTheListFiles() {
    QFile lines(QDir(m_home->path()).filePath(QStringLiteral("lb.prv")));
    QVERIFY(lines.open(QIODevice::WriteOnly));
    lines.write("http://one.example/\r\n\r\nhttp://two.example/\r\n");
    lines.close();
    start();
    // The first featured page of the shipped channel server is the start page.
    QTRY_VERIFY_WITH_TIMEOUT(!m_controller->seenFeatured.isEmpty(), kLoadMs);
    m_window->close();
    const QDir home(m_home->path());
    QCOMPARE(fileBytes(home.filePath(QStringLiteral("lb.prv"))),
             QByteArray("http://one.example/\r\nhttp://two.example/\r\n"));
    QCOMPARE(fileBytes(home.filePath(QStringLiteral("list6.prv"))),
             (m_controller->location1() + QStringLiteral("index.htm\r\n")).toUtf8());
    for (const char* name : {"domain.prv", "domain2.prv", "favor.prv", "favor2.prv"}) {
        QVERIFY(home.exists(QString::fromLatin1(name)));
        QCOMPARE(fileBytes(home.filePath(QString::fromLatin1(name))), QByteArray());
    }
    QCOMPARE(fileBytes(home.filePath(QStringLiteral("error.htm"))),
             QByteArray("<html><body></body></html>\r\n"));
}

QTEST_MAIN(TestBrowserWindow)
#include "test_browser_window.moc"
