#pragma once

#include <QString>

// The program's own folder for projects, lists and buffers:
// $QUILLMART_HOME when set, else the per-user data folder.
class HomeFolder {
public:
    // The folder's path, created when it does not exist yet. Empty when it
    // cannot be created.
    static QString path();
};
