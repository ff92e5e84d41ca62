#pragma once

#include <QString>

// `quillmart` carries out the headless commands itself and leaves the
// window and the harvest (which reads pages in hidden web views) to
// `quillmart-window`, which is linked with Qt Widgets and the web engine:
// loading those costs a headless command most of its start. The window
// program takes the place of this process, with the same arguments, so
// the exit code, the standard streams and signals are its own.
class WindowProgram {
public:
    // The window program beside this one (in the build tree) or where it
    // is installed; empty when neither is there.
    static QString path();
    // Runs it in this process's place; returns only when it cannot be run.
    static int exec(char* argv[]);
};
