// The program's two windows on a real X display (Xvfb), wired as the
// program wires them, with every key and click typed through the X server
// by xdotool: the input arrives exactly as a person's does. The test waits
// for states (a caption, a file, a field's text), never for a time.

#include "browser/WindowTestKit.h"
#include "browser/ui/BrowserWindow.h"
#include "browser/ui/WebView.h"
#include "support/ExpectedFile.h"
#include "support/HttpFixture.h"
#include "support/ScriptedPrompts.h"

#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>
#include <memory>

namespace {

const int kLoadMs = 30000;
using Kind = ScriptedPrompts::Kind;
using View = BrowserController::View;

// Runs xdotool; it returns once the X server has the input.
bool xdotool(const QStringList& arguments) {
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

} // namespace

class TestRealInput : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void addressAndSearchWords();
    void storeGeneratorByKeyboardAndMouse();

private:
    template <typename W> W* named(QWidget* in, const QString& name) const;
    QString writePage(const QString& name, const QByteArray& body) const;
    // Gives the top-level window the keyboard, as a window manager does on a click.
    void focus(QWidget* window);
    void clickAt(QWidget* widget, QPoint at = {}, const QString& clicks = QStringLiteral("1"));
    void type(const QString& text);
    void keys(const QString& names);
    // Clicks the field, selects its text and types over it.
    void typeInto(QWidget* field, const QString& text);
    void clickButton(QWidget* in, const QString& caption);
    void clickTab(QTabWidget* tabs, const QString& caption);
    void chooseMenu(const QString& menu, const QString& item);

    std::unique_ptr<QTemporaryDir> m_home;
    NoLauncher m_launcher;
    ScriptedPrompts m_prompts;
    std::unique_ptr<BrowserController> m_controller;
    std::unique_ptr<BrowserWindow> m_window;
};

template <typename W> W* TestRealInput::named(QWidget* in, const QString& name) const {
    for (W* widget : in->findChildren<W*>())
        if (widget->accessibleName() == name)
            return widget;
    qFatal("no widget named \"%s\"", qPrintable(name));
}

QString TestRealInput::writePage(const QString& name, const QByteArray& body) const {
    const QString path = QDir(m_home->path()).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(body) != body.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestRealInput::focus(QWidget* window) {
    window->raise();
    QVERIFY(xdotool({"windowfocus", "--sync", QString::number(window->winId())}));
    QTRY_VERIFY_WITH_TIMEOUT(window->isActiveWindow(), kLoadMs);
}

void TestRealInput::clickAt(QWidget* widget, QPoint at, const QString& clicks) {
    QTRY_VERIFY_WITH_TIMEOUT(widget->isVisible(), kLoadMs);
    const QPoint global = widget->mapToGlobal(at.isNull() ? widget->rect().center() : at);
    QVERIFY(xdotool({"mousemove", "--sync", QString::number(global.x()),
                     QString::number(global.y()), "click", "--repeat", clicks, "1"}));
}

void TestRealInput::type(const QString& text) {
    QVERIFY(xdotool({"type", "--delay", "15", text}));
}

void TestRealInput::keys(const QString& names) {
    QVERIFY(xdotool(QStringList{"key", "--delay", "30"} + names.split(QLatin1Char(' '))));
}

void TestRealInput::typeInto(QWidget* field, const QString& text) {
    clickAt(field);
    keys(QStringLiteral("ctrl+a"));
    type(text);
}

void TestRealInput::clickButton(QWidget* in, const QString& caption) {
    for (QPushButton* button : in->findChildren<QPushButton*>())
        if (button->text() == caption && button->isVisible())
            return clickAt(button);
    QFAIL(qPrintable("no button " + caption));
}

void TestRealInput::clickTab(QTabWidget* tabs, const QString& caption) {
    QTabBar* bar = tabs->tabBar();
    for (int i = 0; i < bar->count(); ++i)
        if (bar->tabText(i) == caption)
            clickAt(bar, bar->tabRect(i).center());
    QTRY_COMPARE(bar->tabText(bar->currentIndex()), caption);
}

void TestRealInput::chooseMenu(const QString& menu, const QString& item) {
    QMenuBar* bar = m_window->menuBar();
    for (QAction* title : bar->actions()) {
        if (title->text() != menu)
            continue;
        clickAt(bar, bar->actionGeometry(title).center());
        QMenu* popup = title->menu();
        QTRY_VERIFY_WITH_TIMEOUT(popup->isVisible(), kLoadMs);
        for (QAction* entry : popup->actions())
            if (entry->text() == item)
                return clickAt(popup, popup->actionGeometry(entry).center());
    }
    QFAIL(qPrintable("no menu item " + menu + "|" + item));
}

void TestRealInput::initTestCase() {
    QVERIFY2(!qEnvironmentVariableIsEmpty("DISPLAY"), "this test needs an X display");
    m_home = makeTestHome();
    m_controller = std::make_unique<BrowserController>(m_home->path(), m_launcher);
    m_window = std::make_unique<BrowserWindow>(*m_controller, m_launcher, m_prompts);
    m_window->move(0, 0);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QTRY_VERIFY_WITH_TIMEOUT(startUpSettled(*m_window), kLoadMs);
    focus(m_window.get());
}

void TestRealInput::cleanupTestCase() {
    m_window.reset();
    m_controller.reset();
    QVERIFY(m_prompts.done());
}

// An address typed and entered loads its page; search words go in with
// Enter and out with Delete.
void TestRealInput::addressAndSearchWords() {
    auto* address = named<QComboBox>(m_window.get(), QStringLiteral("Address"));
    const QString first = writePage("first.htm", "<title>First typed page</title>");
    typeInto(address, first);
    keys(QStringLiteral("Return"));
    QTRY_COMPARE_WITH_TIMEOUT(m_window->windowTitle(), QStringLiteral("First typed page"), kLoadMs);

    auto* words = named<QComboBox>(m_window.get(), QStringLiteral("Search words"));
    typeInto(words, QStringLiteral("hats"));
    keys(QStringLiteral("Return"));
    QTRY_COMPARE(m_controller->searchWords(), QStringList({"hats"}));
    typeInto(words, QStringLiteral("hats"));
    keys(QStringLiteral("Delete"));
    QTRY_COMPARE(m_controller->searchWords(), QStringList());
}

// Tools > "Store Generator", then New Project, a category and an item, all
// typed, written to the project files on a tab switch; a double-click on a
// picture in view 1 fills the item's "Picture URL".
void TestRealInput::storeGeneratorByKeyboardAndMouse() {
    chooseMenu(QStringLiteral("Tools"), QStringLiteral("Store Generator"));
    QTRY_VERIFY_WITH_TIMEOUT(
        m_window->generatorWindow() && m_window->generatorWindow()->isVisible(), kLoadMs);
    QWidget* generator = m_window->generatorWindow();
    // Beside the browser, so view 1 stays in sight.
    generator->move(m_window->frameGeometry().right() + 20, 0);
    focus(generator);
    auto* tabs = generator->findChild<QTabWidget*>();

    clickTab(tabs, QStringLiteral("Project"));
    m_prompts.expect(Kind::Input, "Enter the new project's name , please", "Shop")
        .expectMessage("You may fill the category listing for the new Store");
    clickButton(generator, QStringLiteral("New Project"));
    QTRY_VERIFY(m_prompts.done());
    typeInto(named<QLineEdit>(generator, QStringLiteral("Category name :")),
             QStringLiteral("Hats"));
    keys(QStringLiteral("Return"));
    QTRY_COMPARE(named<QListWidget>(generator, QStringLiteral("Categories' names :"))->count(), 1);
    clickTab(tabs, QStringLiteral("Layout"));
    const QDir shop(QDir(m_home->path()).filePath(QStringLiteral("Shop")));
    QTRY_COMPARE(fileBytes(shop.filePath("Shop.caa")), QByteArray("Hats\r\n"));

    typeInto(named<QComboBox>(generator, QStringLiteral("Category name")), QStringLiteral("Hats"));
    keys(QStringLiteral("Return"));
    typeInto(named<QLineEdit>(generator, QStringLiteral("Item ID")), QStringLiteral("H1"));
    keys(QStringLiteral("Tab"));
    type(QStringLiteral("Straw hat"));
    keys(QStringLiteral("Tab"));
    type(QStringLiteral("12.5"));
    clickButton(generator, QStringLiteral("Add"));
    QTRY_COMPARE(fileBytes(shop.filePath("Hats.pro")), QByteArray("H1^Straw hat^12.5^^^^^^^\r\n"));

    // A picture filling the top left of a web page in view 1.
    QImage picture(200, 150, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    QVERIFY(picture.save(QDir(m_home->path()).filePath("hat.png")));
    writePage("hat.htm",
              "<title>Hat picture</title><body style='margin:0'><img src='hat.png'></body>");
    HttpFixture server(m_home->path());
    QVERIFY(server.start());
    focus(m_window.get());
    typeInto(named<QComboBox>(m_window.get(), QStringLiteral("Address")),
             server.url("hat.htm").toString());
    keys(QStringLiteral("Return"));
    QTRY_COMPARE_WITH_TIMEOUT(m_window->windowTitle(), QStringLiteral("Hat picture"), kLoadMs);
    QTRY_VERIFY_WITH_TIMEOUT(!m_window->view(View::View1).busy(), kLoadMs);
    clickAt(m_window->view(View::View1).widget(), QPoint(100, 75), QStringLiteral("2"));
    auto* pictureField = named<QLineEdit>(generator, QStringLiteral("Picture URL"));
    QTRY_COMPARE_WITH_TIMEOUT(pictureField->text(), server.url("hat.png").toString(), kLoadMs);
}

QTEST_MAIN(TestRealInput)
#include "test_real_input.moc"
