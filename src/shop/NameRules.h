#pragma once

#include "platform/Expected.h"

#include <QString>

// Project and category names become file and folder names. These rules keep
// every file they name inside the project folder.
class NameRules {
public:
    // Whether the name can be used; a failure tells the user what is
    // allowed. `what` is "project" or "category".
    static Expected<void> check(const QString& name, const QString& what);
    // True when the name stands for one file directly inside a folder: not
    // empty, not "." or "..", no "/" or "\".
    static bool isPlainFileName(const QString& name);
};
