#pragma once

#include "platform/Launcher.h"

// A launcher for tests that starts no program and reports each start as
// failed.
class NoLauncher : public Launcher {
public:
    bool start(const QString&, const QStringList&) override { return false; }
};
