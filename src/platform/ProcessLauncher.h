#pragma once

#include "platform/Launcher.h"

// Starts programs as detached processes.
class ProcessLauncher : public Launcher {
public:
    bool start(const QString& program, const QStringList& arguments = {}) override;
};
