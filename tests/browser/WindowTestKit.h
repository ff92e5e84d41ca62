#pragma once

#include "platform/Launcher.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

class BrowserWindow;
class QMainWindow;
class QMenuBar;

// What the tests of the real browser window share: a home folder of their
// own, a launcher that starts nothing, the menus and buttons by caption,
// and the moment start-up has settled. Linking it also asks for the shared
// graphics context the web views need, before the application starts.

class NoLauncher : public Launcher {
public:
    bool start(const QString&, const QStringList&) override { return false; }
};

// A fresh home folder for the program, its settings in it. Its path holds
// none of the words the link filter turns down, so local pages pass it.
std::unique_ptr<QTemporaryDir> makeTestHome();

// Triggers the menu item at "Menu|Submenu|Item"; a missing one fails the test.
void triggerMenu(QMenuBar* bar, const QString& path);
// Triggers the main-toolbar button with that tool tip; a missing one fails
// the test.
void pressToolbarButton(QMainWindow* window, const QString& tip);

// The channel files have arrived (with the first featured page they bring)
// and neither user view is loading.
bool startUpSettled(const BrowserWindow& window);
