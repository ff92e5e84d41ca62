// The real browser window, offscreen, against a temporary home folder: it
// starts on the shipped start page, shows its menus, bands and status
// panels, carries the user's commands to the shown view and writes the list
// files when it closes.

#include "WindowTestKit.h"
#include "browser/ui/AboutBox.h"
#include "browser/ui/BrowserWindow.h"
#include "browser/ui/WebView.h"
#include "project/GeneratorController.h"
#include "support/ExpectedFile.h"
#include "support/ScriptedPrompts.h"
#include "support/UserInput.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QWebEnginePage>
#include <QtTest>
#include <memory>

namespace {

const int kLoadMs = 20000;
using View = BrowserController::View;

class FailingLauncher : public Launcher {
public:
    bool start(const QString& program, const QStringList&) override {
        started << program;
        return false;
    }
    QStringList started;
};

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
        for (QAction* action : actions)
            if (action->text() == steps[i] && (last || action->menu()) &&
                (!found || (last && !action->menu())))
                found = action;
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
    void init();
    void cleanup();
    void menusBandsAndCommands();
    void startUpViewsAddressAndClosing();

private:
    QString page(const QString& name, const QString& title) const;
    QLabel* panel(int n) const { return m_window->statusBar()->findChildren<QLabel*>()[n - 1]; }
    QComboBox* box(const QString& name) const;
    QString viewUrl(View which) const { return m_window->view(which).locationUrl(); }
    bool shows(View which) const { return m_window->view(which).widget()->isVisible(); }
    void press(const QString& tip) const { pressToolbarButton(m_window.get(), tip); }
    void trigger(const QString& path) const { triggerMenu(m_window->menuBar(), path); }

    std::unique_ptr<QTemporaryDir> m_home;
    FailingLauncher m_launcher;
    ScriptedPrompts m_prompts;
    std::unique_ptr<BrowserController> m_controller;
    std::unique_ptr<BrowserWindow> m_window;
};

// No "Startup" settings: the locations default to the shipped pages.
void TestBrowserWindow::init() {
    m_home = makeTestHome();
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

QString TestBrowserWindow::page(const QString& name, const QString& title) const {
    const QString path = QDir(m_home->path()).filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write("<title>" + title.toUtf8() + "</title>");
    return path;
}

QComboBox* TestBrowserWindow::box(const QString& name) const {
    for (QComboBox* box : m_window->findChildren<QComboBox*>())
        if (box->accessibleName() == name)
            return box;
    return nullptr;
}

// Every menu and item by caption, misspellings included (those marked
// "hidden" stay so until the channel server fills them); the bands and the
// main toolbar's positions; commands without a view of their own.
void TestBrowserWindow::menusBandsAndCommands() {
    QStringList titles;
    for (QAction* action : m_window->menuBar()->actions())
        titles << action->text();
    QCOMPARE(titles, QStringList({"File", "Edit", "Tools", "Finder", "Reporting", "Go", "Help"}));
    const QString groups = QString::fromUtf8(expectedFile("browser/expected/menus.txt", false));
    for (QString group : groups.split('\n', Qt::SkipEmptyParts)) {
        const bool shown = !group.startsWith("hidden ");
        const QStringList menuAndItems = group.remove(QRegularExpression("^hidden ")).split(": ");
        for (const QString& item : menuAndItems[1].split("; ")) {
            const QString path = menuAndItems[0] + '|' + item;
            const QList<QAction*> along = menuPath(m_window->menuBar(), path);
            QVERIFY2(!along.isEmpty(), qPrintable("no entry " + path));
            QVERIFY2(std::all_of(along.begin(), along.end(),
                                 [](QAction* a) { return a->isVisible(); }) == shown,
                     qPrintable(path));
        }
    }

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
    // an icon everywhere else, drop-downs at 7 and 10.
    const QList<QAction*> positions = bars[0]->actions();
    QCOMPARE(positions.size(), 23);
    for (int n = 1; n <= positions.size(); ++n) {
        const bool separator = QList<int>{6, 11, 16, 19}.contains(n);
        QCOMPARE(positions[n - 1]->isSeparator(), separator);
        const auto* tool = qobject_cast<QToolButton*>(bars[0]->widgetForAction(positions[n - 1]));
        if (separator)
            continue;
        QVERIFY2(tool && !tool->toolTip().isEmpty() && !tool->icon().isNull(),
                 qPrintable(QString::number(n)));
        QCOMPARE(tool->menu() != nullptr, n == 7 || n == 10);
    }
    QStringList searchButtons;
    for (QToolButton* tool : bars[2]->findChildren<QToolButton*>())
        if (tool->menu())
            searchButtons << tool->text();
    // The window's four; the channel panel adds three more after them.
    QCOMPARE(searchButtons.first(4),
             QStringList({"Search", "Shareware", "Computers", "Investmens"}));

    // A screen reader finds each box's caption: its buddy label, and the
    // name of the line edit inside.
    for (const QString name : {"Address", "Search words"}) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(box(name));
        const auto labels = face->relations(QAccessible::Label);
        QVERIFY2(!labels.isEmpty() &&
                     labels.first().first->text(QAccessible::Name).startsWith(name),
                 qPrintable(name));
        QCOMPARE(
            QAccessible::queryAccessibleInterface(box(name)->lineEdit())->text(QAccessible::Name),
            name);
    }
    press("Mail");
    QCOMPARE(m_launcher.started, QStringList({"xdg-email"}));
    QVERIFY(panel(1)->text().contains(QStringLiteral("xdg-email")));
    // Submitting and Publishing start the programs the settings name;
    // without one, Submitting says which to fill and Publishing leads to
    // the store generator's "Front Page".
    trigger("Tools|Submitting");
    QCOMPARE(panel(1)->text(), QStringLiteral("To submit, name the program in the setting "
                                              "[Startup] SubmittingProgram."));
    QSettings settings("Quillmart", "Quillmart");
    settings.setValue("Startup/SubmittingProgram", "submit-tool --all");
    settings.setValue("Startup/PublishingProgram", "publish-tool");
    trigger("Tools|Submitting");
    press("Publish");
    QCOMPARE(m_launcher.started, QStringList({"xdg-email", "submit-tool", "publish-tool"}));
    QCOMPARE(panel(1)->text(),
             QStringLiteral("Could not start the publishing program (publish-tool)."));
    settings.remove("Startup/PublishingProgram");
    // The store generator the window makes takes the [Startup] settings.
    const QString database = QDir(m_home->path()).filePath("other-orders.db");
    settings.setValue("Startup/OrderDatabase", database);
    settings.setValue("Startup/MailSizeLimitMB", 3);
    trigger("Tools|Publishing");
    QCOMPARE(m_window->generatorController()->orders().database(), database);
    QCOMPARE(m_window->generatorController()->orders().sizeLimit(), 3 * 1024 * 1024);
    QVERIFY(m_window->generatorWindow()->isVisible());
    QCOMPARE(qobject_cast<QAbstractButton*>(m_window->generatorWindow()->focusWidget())->text(),
             QStringLiteral("Front Page"));
    // The store generator is made once and shown again.
    trigger("Tools|Store Generator");
    QWidget* generator = m_window->generatorWindow();
    QCOMPARE(generator->windowTitle(), QStringLiteral("Quillmart 6.0"));
    generator->hide();
    trigger("Tools|Store Generator");
    QVERIFY(generator->isVisible() && m_window->generatorWindow() == generator);
    trigger("Help|About");
    QVERIFY(m_window->findChild<AboutBox*>()->isVisible());
}

void TestBrowserWindow::startUpViewsAddressAndClosing() {
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Skyvane  Explorer"));
    m_window->show();
    QTRY_VERIFY_WITH_TIMEOUT(viewUrl(View::View1).endsWith("/velgan/index.htm") &&
                                 viewUrl(View::View2).endsWith("/velgan/welcome.htm") &&
                                 startUpSettled(*m_window),
                             kLoadMs);
    QVERIFY(shows(View::View1) && !shows(View::View2));
    // The worker pages are made when first used, not at start.
    for (const WebView* worker : {&m_window->worker2(), &m_window->worker3(), &m_window->worker4()})
        QVERIFY(!worker->findChild<QWebEnginePage*>());
    // Each view's finished load puts its title in the caption, the hidden
    // one's too.
    const QStringList titles = {"Welcome to Quillmart", "Getting started with Quillmart"};
    QTRY_VERIFY(titles.contains(m_window->windowTitle()));
    QCOMPARE(panel(2)->text(), QStringLiteral("Public zone"));
    QCOMPARE(panel(1)->text(), QStringLiteral("Done"));
    // The panels show addresses and texts from pages, never as markup.
    for (int n = 1; n <= 5; ++n)
        QCOMPARE(panel(n)->textFormat(), Qt::PlainText);
    QCOMPARE(box("Address")->currentText(), viewUrl(View::View1));

    // Typed and entered, on the keypad and on the main keyboard.
    const QString c = page("c.htm", "Page C");
    UserInput::enterText(box("Address"), c, Qt::Key_Enter);
    QTRY_COMPARE_WITH_TIMEOUT(m_window->windowTitle(), QStringLiteral("Page C"), kLoadMs);
    const QString a = page("a.htm", "Page A");
    UserInput::enterText(box("Address"), a);
    QCOMPARE(box("Address")->itemText(box("Address")->count() - 1), a);
    QTRY_COMPARE_WITH_TIMEOUT(viewUrl(View::View1), QUrl::fromLocalFile(a).toString(), kLoadMs);
    QTRY_COMPARE(m_window->windowTitle(), QStringLiteral("Page A"));
    QCOMPARE(box("Address")->currentText(), QUrl::fromLocalFile(a).toString());

    const QString welcome = viewUrl(View::View2);
    press("Switch views");
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Browser 2"));
    QVERIFY(shows(View::View2) && !shows(View::View1));
    QCOMPARE(m_window->addressText(), welcome);
    // "Open" takes the file dialog's filter as two strings run together.
    const QString b = page("b.htm", "Page B");
    m_prompts.expect(ScriptedPrompts::Kind::OpenFile,
                     "HTML file (*.htm;*.html)|*.htm;*.html|Text File (*.txt;*.rtf)|*.txt;*.rtf|"
                     "MS Word file(*.doc)|*.doc|GIF file(*.gif)|*.gif|JPEG file(*.jpg)|*.jpg|"
                     "All Files(*.*)|*.*|",
                     b);
    trigger("File|Open");
    QTRY_COMPARE_WITH_TIMEOUT(viewUrl(View::View2), QUrl::fromLocalFile(b).toString(), kLoadMs);
    QCOMPARE(viewUrl(View::View1), QUrl::fromLocalFile(a).toString());

    // The generated shop's start page replaces whatever view was shown.
    const QString shop = page("shop.htm", "Shop");
    m_window->preview(shop);
    QVERIFY(shows(View::View1) && !shows(View::View2));
    QTRY_COMPARE_WITH_TIMEOUT(viewUrl(View::View1), QUrl::fromLocalFile(shop).toString(), kLoadMs);

    // The first featured page of the shipped channel server is the start
    // page; closing writes it to its list.
    m_window->close();
    QCOMPARE(fileBytes(QDir(m_home->path()).filePath("list6.prv")),
             (m_controller->location1() + QStringLiteral("index.htm\r\n")).toUtf8());
}

QTEST_MAIN(TestBrowserWindow)
#include "test_browser_window.moc"
