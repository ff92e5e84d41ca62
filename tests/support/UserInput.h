#pragma once

#include <QDialog>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <Qt>
#include <functional>

// Input as a person gives it, for window tests. Every click and key goes
// through the top-level window's platform window, as the windowing system
// delivers it: a click reaches whatever child lies under the pointer and
// moves focus as a real click does, and keys reach the window's focus
// widget, never an inner widget a person cannot reach.
namespace UserInput {

// A press and release of `button` at `at` in `widget` (its centre when
// `at` is null).
void click(QWidget* widget, Qt::MouseButton button = Qt::LeftButton, QPoint at = {});
void doubleClick(QWidget* widget, QPoint at = {});
// The pointer moved onto `at` in `widget`, no button held.
void hover(QWidget* widget, QPoint at = {});

// A key pressed in whatever has focus in `window`'s top-level window.
void press(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = {});

// Types `text` (printable ASCII) into whatever has focus in `window`'s
// top-level window.
void type(QWidget* window, const QString& text);

// Clicks `field`, selects all its text (Ctrl+A), types `text` (printable
// ASCII) over it and,
// unless `key` is Qt::Key_unknown, presses `key`.
void enterText(QWidget* field, const QString& text, Qt::Key key = Qt::Key_Return);

// Acts on the modal dialog once it is up, as a person does: the window may
// handle events (waiting on the keyring, say) before the dialog shows.
void whenDialogShows(QObject* context, const std::function<void(QDialog*)>& act);

// The widget of type W in `window` whose accessible name or text is `name`;
// the test stops when there is none.
template <typename W = QWidget> W* named(const QWidget* window, const QString& name) {
    for (W* widget : window->findChildren<W*>())
        if (widget->accessibleName() == name || widget->property("text").toString() == name)
            return widget;
    qFatal("no widget \"%s\"", qPrintable(name));
}

} // namespace UserInput

// Input through a real X server, typed and clicked by xdotool, for the tests
// on a real display; each returns once the server has the input.
namespace XInput {

bool run(const QStringList& xdotoolArguments);
// A click (or `clicks` clicks) at `at` in `widget` (its centre when null),
// once the widget is shown.
bool click(QWidget* widget, QPoint at = {}, int clicks = 1);
bool key(const QString& name);
bool type(const QString& text);
// Clicks the field, selects its text and types `text` over it.
bool typeInto(QWidget* field, const QString& text);
// Gives the top-level window the keyboard, as a window manager does on a click.
bool focus(QWidget* window);

} // namespace XInput
