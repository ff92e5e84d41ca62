#pragma once

#include "platform/Launcher.h"

// A launcher for tests: records each program it is asked to start, with its
// arguments, and starts none; it reports a start as failed unless told
// otherwise.
class RecordingLauncher : public Launcher {
public:
    bool start(const QString& program, const QStringList& arguments) override {
        started << (QStringList{program} + arguments).join(QLatin1Char(' '));
        return succeeds;
    }
    QStringList started;
    bool succeeds = false;
};
