// The program's window on a real X display (Xvfb), with every key and
// click typed through the X server by xdotool, so the input arrives exactly
// as a person's does: an address typed, a menu clicked, and a project and
// a category typed into the store generator. The test waits for states (a
// caption, a file), never for a time.

#include "browser/BrowserWindow.h"
#include "browser/WindowTestKit.h"
#include "support/ExpectedFile.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

namespace {

const int kLoadMs = 30000;

// Runs xdotool; it returns once the X server has the input.
bool xdotool(const QStringList& arguments) {
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

template <typename W> W* named(QWidget* in, const QString& name) {
    for (W* widget : in->findChildren<W*>())
        if (widget->accessibleName() == name)
            return widget;
    qFatal("no widget named \"%s\"", qPrintable(name));
}

void clickAt(QWidget* widget, QPoint at = {}) {
    QTRY_VERIFY_WITH_TIMEOUT(widget->isVisible(), kLoadMs);
    const QPoint global = widget->mapToGlobal(at.isNull() ? widget->rect().center() : at);
    QVERIFY(xdotool({"mousemove", "--sync", QString::number(global.x()),
                     QString::number(global.y()), "click", "1"}));
}

// Clicks the field, selects its text and types over it, then Return.
void typeInto(QWidget* field, const QString& text) {
    clickAt(field);
    QVERIFY(xdotool({"key", "ctrl+a"}));
    QVERIFY(xdotool({"type", "--delay", "15", text}));
    QVERIFY(xdotool({"key", "Return"}));
}

// Gives the top-level window the keyboard, as a window manager does on a click.
void focus(QWidget* window) {
    window->raise();
    QVERIFY(xdotool({"windowfocus", "--sync", QString::number(window->winId())}));
    QTRY_VERIFY_WITH_TIMEOUT(window->isActiveWindow(), kLoadMs);
}

} // namespace

class TestRealInput : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void addressMenuAndStoreGenerator();
};

void TestRealInput::addressMenuAndStoreGenerator() {
    QVERIFY2(!qEnvironmentVariableIsEmpty("DISPLAY"), "this test needs an X display");
    WindowSession s;
    s.window->move(0, 0);
    QVERIFY(s.show());
    focus(s.window.get());
    s.page("first.htm", "<title>First typed page</title>");
    typeInto(named<QComboBox>(s.window.get(), "Address"), s.home->filePath("first.htm"));
    QTRY_COMPARE_WITH_TIMEOUT(s.window->windowTitle(), QStringLiteral("First typed page"), kLoadMs);

    QMenuBar* bar = s.window->menuBar();
    QAction* tools = bar->actions().at(2);
    QCOMPARE(tools->text(), QStringLiteral("Tools"));
    clickAt(bar, bar->actionGeometry(tools).center());
    QMenu* popup = tools->menu();
    QTRY_VERIFY_WITH_TIMEOUT(popup->isVisible(), kLoadMs);
    clickAt(popup, popup->actionGeometry(popup->actions().first()).center());
    QTRY_VERIFY_WITH_TIMEOUT(
        s.window->generatorWindow() && s.window->generatorWindow()->isVisible(), kLoadMs);
    QWidget* generator = s.window->generatorWindow();
    focus(generator);
    auto* tabs = generator->findChild<QTabWidget*>();
    const auto clickTab = [tabs](const QString& caption) {
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->tabText(i) == caption)
                clickAt(tabs->tabBar(), tabs->tabBar()->tabRect(i).center());
        QTRY_COMPARE(tabs->tabText(tabs->currentIndex()), caption);
    };
    clickTab("Project");
    s.prompts.expect(ScriptedPrompts::Kind::Input, "Enter the new project's name , please", "Shop")
        .expectMessage("You may fill the category listing for the new Store");
    for (QPushButton* button : generator->findChildren<QPushButton*>())
        if (button->text() == "New Project" && button->isVisible())
            clickAt(button);
    QTRY_VERIFY(s.prompts.done());
    typeInto(named<QLineEdit>(generator, "Category name :"), "Hats");
    clickTab("Layout");
    QTRY_COMPARE(fileBytes(s.home->filePath("Shop/Shop.caa")), QByteArray("Hats\r\n"));
}

QTEST_MAIN(TestRealInput)
#include "test_real_input.moc"
