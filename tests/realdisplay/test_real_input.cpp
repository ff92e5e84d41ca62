// The program's window on a real X display (Xvfb), with every key and
// click typed through the X server by xdotool, so the input arrives exactly
// as a person's does: an address typed and a menu clicked. The test waits
// for states (a caption, a window), never for a time.

#include "browser/WindowTestKit.h"
#include "browser/ui/BrowserWindow.h"

#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QtTest>

namespace {

const int kLoadMs = 30000;

// Runs xdotool; it returns once the X server has the input.
bool xdotool(const QStringList& arguments) {
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

void clickAt(QWidget* widget, QPoint at = {}) {
    QTRY_VERIFY_WITH_TIMEOUT(widget->isVisible(), kLoadMs);
    const QPoint global = widget->mapToGlobal(at.isNull() ? widget->rect().center() : at);
    QVERIFY(xdotool({"mousemove", "--sync", QString::number(global.x()),
                     QString::number(global.y()), "click", "1"}));
}

} // namespace

class TestRealInput : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void addressAndMenu();
};

// The window gets the keyboard as a window manager gives it on a click; the
// address field is clicked, its text selected and typed over.
void TestRealInput::addressAndMenu() {
    QVERIFY2(!qEnvironmentVariableIsEmpty("DISPLAY"), "this test needs an X display");
    WindowSession s;
    s.window->move(0, 0);
    QVERIFY(s.show());
    s.window->raise();
    QVERIFY(xdotool({"windowfocus", "--sync", QString::number(s.window->winId())}));
    QTRY_VERIFY_WITH_TIMEOUT(s.window->isActiveWindow(), kLoadMs);
    s.page("first.htm", "<title>First typed page</title>");
    clickAt(s.box("Address"));
    QVERIFY(xdotool({"key", "ctrl+a"}));
    QVERIFY(xdotool({"type", "--delay", "15", s.home->filePath("first.htm")}));
    QVERIFY(xdotool({"key", "Return"}));
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
}

QTEST_MAIN(TestRealInput)
#include "test_real_input.moc"
