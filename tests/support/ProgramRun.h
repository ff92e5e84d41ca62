#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

// One run of the built program, as a user would start it from a shell.
struct ProgramRun {
    int exitCode = -1;
    QProcess::ExitStatus status = QProcess::CrashExit;
    QByteArray out;
    QByteArray err;

    // Starts the program with these arguments and waits for it; a run that
    // does not end within `limitMs` is killed and reported as a crash.
    static ProgramRun of(const QString& program, const QStringList& arguments,
                         const QProcessEnvironment& environment, int limitMs = 30000);
};
