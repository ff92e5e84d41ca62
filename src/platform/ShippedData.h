#pragma once

#include <QString>
#include <QStringList>

// The data the program ships: the start pages and sample channel server
// ("velgan") and the sample shop project ("SampleShop"). An installed
// program finds it under share/quillmart/, beside its own bin/ folder or in
// the system's data folders; a program run from its build tree, and only
// such a one, uses the source tree's data/ folder.
class ShippedData {
public:
    // The named folder of the shipped data; empty when it is nowhere.
    static QString folder(const QString& name);
    // The places looked in, first first.
    static QStringList candidates(const QString& name);
};
