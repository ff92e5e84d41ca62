#pragma once

#include <QString>
#include <QStringList>

// Starts another program and does not wait for it.
class Launcher {
public:
    virtual ~Launcher() = default;
    // False when the program could not be started.
    virtual bool start(const QString& program, const QStringList& arguments = {}) = 0;
};
