#include "support/ProgramRun.h"

#include <QEventLoop>
#include <QTimer>

// The test's event loop keeps running meanwhile, so servers the test runs
// in its own thread go on answering the program.
ProgramRun ProgramRun::of(const QString& program, const QStringList& arguments,
                          const QProcessEnvironment& environment, int limitMs) {
    QProcess process;
    process.setProcessEnvironment(environment);
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&loop, &process] {
        if (process.state() == QProcess::NotRunning)
            loop.quit();
    });
    process.start(program, arguments);
    QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
    loop.exec();
    ProgramRun run;
    if (process.state() != QProcess::NotRunning || process.error() == QProcess::FailedToStart) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitCode();
    run.status = process.exitStatus();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}
