#include "UserInput.h"

#include <QApplication>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

QWindow* platformWindow(QWidget* widget) {
    QWidget* top = widget->window();
    if (!top->windowHandle())
        qFatal("%s has no platform window: show it first", qPrintable(top->objectName()));
    return top->windowHandle();
}

QPoint inWindow(QWidget* widget, QPoint at) {
    return widget->mapTo(widget->window(), at.isNull() ? widget->rect().center() : at);
}

} // namespace

namespace UserInput {

void click(QWidget* widget, Qt::MouseButton button, QPoint at) {
    QTest::mouseClick(platformWindow(widget), button, {}, inWindow(widget, at));
}

void doubleClick(QWidget* widget, QPoint at) {
    QTest::mouseDClick(platformWindow(widget), Qt::LeftButton, {}, inWindow(widget, at));
}

void hover(QWidget* widget, QPoint at) {
    QTest::mouseMove(platformWindow(widget), inWindow(widget, at));
}

void press(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(platformWindow(window), key, modifiers);
}

void type(QWidget* window, const QString& text) {
    for (const QChar character : text) {
        if (character.unicode() > 0x7e)
            qFatal("UserInput types printable ASCII only");
        QTest::keyClick(platformWindow(window), static_cast<char>(character.unicode()));
    }
}

void enterText(QWidget* field, const QString& text, Qt::Key key) {
    click(field);
    press(field, Qt::Key_A, Qt::ControlModifier);
    type(field, text);
    if (key != Qt::Key_unknown)
        press(field, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
}

void whenDialogShows(QObject* context, const std::function<void(QDialog*)>& act) {
    QTimer::singleShot(10, context, [context, act] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            act(dialog);
        else
            whenDialogShows(context, act);
    });
}

} // namespace UserInput

namespace XInput {

namespace {
constexpr int kShownMs = 30000;
} // namespace

bool run(const QStringList& xdotoolArguments) {
    return QProcess::execute(QStringLiteral("xdotool"), xdotoolArguments) == 0;
}

bool click(QWidget* widget, QPoint at, int clicks) {
    if (!QTest::qWaitFor([widget] { return widget->isVisible(); }, kShownMs))
        return false;
    const QPoint global = widget->mapToGlobal(at.isNull() ? widget->rect().center() : at);
    return run({"mousemove", "--sync", QString::number(global.x()), QString::number(global.y()),
                "click", "--repeat", QString::number(clicks), "1"});
}

bool key(const QString& name) {
    return run({"key", name});
}

bool type(const QString& text) {
    return run({"type", "--delay", "15", text});
}

bool typeInto(QWidget* field, const QString& text) {
    return click(field) && key(QStringLiteral("ctrl+a")) && type(text);
}

bool focus(QWidget* window) {
    window->raise();
    return run({"windowfocus", "--sync", QString::number(window->winId())}) &&
           QTest::qWaitFor([window] { return window->isActiveWindow(); }, kShownMs);
}

} // namespace XInput
