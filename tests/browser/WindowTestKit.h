#pragma once

#include "browser/BrowserController.h"
#include "browser/ui/BrowserWindow.h"
#include "platform/Launcher.h"
#include "support/HttpFixture.h"
#include "support/ScriptedPrompts.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class WebView;

// What the tests of the real browser window share. Linking it also asks for
// the shared graphics context the web views need, before the application
// starts.

// Records each program it is asked to start, with its arguments, and starts
// none; it reports a start as failed unless told otherwise.
class RecordingLauncher : public Launcher {
public:
    bool start(const QString& program, const QStringList& arguments) override {
        started << (QStringList{program} + arguments).join(QLatin1Char(' '));
        return succeeds;
    }
    QStringList started;
    bool succeeds = false;
};

// Scripted prompts that, while a message box is open, let one more thing
// happen, as an event arriving during the box's own event loop would.
class ReentrantPrompts : public ScriptedPrompts {
public:
    void message(const QString& text, const QString& title) override;
    std::function<void()> whileOpen;
};

// One session of the real window: a fresh home folder (its settings in it)
// served by a local web server, scripted prompts, the controller and the
// window. `show` shows the window and waits until start-up has settled.
class WindowSession {
public:
    WindowSession();
    bool show();

    // Writes a page into the home folder; its address on the local server.
    QString page(const QString& name, const QByteArray& body) const;
    QString url(const QString& name) const { return server->url(name).toString(); }
    // Waits until `condition` holds; false after the load time-out.
    static bool waitFor(const std::function<bool()>& condition);
    // View 1 has finished loading `address`.
    bool view1Shows(const QString& address) const;
    WebView& view(BrowserController::View which) const { return window->view(which); }

    // Triggers the menu item at "Menu|Submenu|Item", or the main-toolbar
    // button with that tool tip; a missing one fails the test.
    void trigger(const QString& path) const;
    void press(const QString& tip) const;
    // Status panel n (from 1), and the combo box of that accessible name.
    QLabel* panel(int n) const;
    QComboBox* box(const QString& name) const;

    std::unique_ptr<QTemporaryDir> home;
    std::unique_ptr<HttpFixture> server;
    RecordingLauncher launcher;
    ReentrantPrompts prompts;
    std::unique_ptr<BrowserController> controller;
    std::unique_ptr<BrowserWindow> window;
};
