#pragma once

#include <QString>

// Project and category names become file and folder names. These rules keep
// every file they name inside the project folder.
class NameRules {
public:
    // Empty when the name can be used; otherwise the message that tells the
    // user what is allowed. `what` is "project" or "category".
    static QString problem(const QString& name, const QString& what);
    // True when the name stands for one file directly inside a folder: not
    // empty, not "." or "..", no "/" or "\".
    static bool isPlainFileName(const QString& name);
};
