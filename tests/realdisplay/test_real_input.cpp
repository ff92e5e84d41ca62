// The program's window on a real X display (Xvfb), with every key and
// click typed through the X server by xdotool, so the input arrives exactly
// as a person's does: an address clicked, typed and entered. The test waits
// for states (an active window, a caption), never for a time.

#include "browser/WindowTestKit.h"
#include "browser/ui/BrowserWindow.h"

#include <QComboBox>
#include <QProcess>
#include <QtTest>

namespace {

const int kLoadMs = 30000;

// Runs xdotool; it returns once the X server has the input.
bool xdotool(const QStringList& arguments) {
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

} // namespace

class TestRealInput : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void typedAddress();
};

// The window gets the keyboard as a window manager gives it on a click; the
// address field is clicked, its text selected and typed over, and Return
// loads the page.
void TestRealInput::typedAddress() {
    QVERIFY2(!qEnvironmentVariableIsEmpty("DISPLAY"), "this test needs an X display");
    WindowSession s;
    s.window->move(0, 0);
    QVERIFY(s.show());
    s.window->raise();
    QVERIFY(xdotool({"windowfocus", "--sync", QString::number(s.window->winId())}));
    QTRY_VERIFY_WITH_TIMEOUT(s.window->isActiveWindow(), kLoadMs);
    s.page("first.htm", "<title>First typed page</title>");
    const QPoint address = s.box("Address")->mapToGlobal(s.box("Address")->rect().center());
    QVERIFY(xdotool({"mousemove", "--sync", QString::number(address.x()),
                     QString::number(address.y()), "click", "1"}));
    QVERIFY(xdotool({"key", "ctrl+a"}));
    QVERIFY(xdotool({"type", "--delay", "15", s.home->filePath("first.htm")}));
    QVERIFY(xdotool({"key", "Return"}));
    QTRY_COMPARE_WITH_TIMEOUT(s.window->windowTitle(), QStringLiteral("First typed page"), kLoadMs);
}

QTEST_MAIN(TestRealInput)
#include "test_real_input.moc"
