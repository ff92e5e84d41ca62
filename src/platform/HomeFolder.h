#pragma once

#include "platform/Expected.h"

#include <QString>

// The program's own folder for projects, lists, buffers and the order
// database: $QUILLMART_HOME when set, else the per-user data folder.
class HomeFolder {
public:
    // Makes the folder ready before anything is written: creates it when
    // it is missing and, when $QUILLMART_HOME names it, keeps the settings
    // file in it too. A failure names the folder and says why it cannot be
    // used.
    static Expected<void> prepare();
    // Has the settings file read from the chosen folder when $QUILLMART_HOME
    // names one; for commands that read settings and write nothing there.
    static void useChosenSettings();
    // The folder's path, created when it does not exist yet. Empty when it
    // cannot be created.
    static QString path();

private:
    static QString chosenFolder();
};
