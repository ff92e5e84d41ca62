#include "app/WindowCommands.h"

#include "app/HeadlessHarvest.h"
#include "browser/BrowserController.h"
#include "browser/ui/BrowserWindow.h"
#include "platform/HomeFolder.h"
#include "platform/ProcessLauncher.h"
#include "platform/ui/DialogPrompts.h"
#include "settings/StartupSettings.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QTextStream>
#include <cstdio>
#include <unistd.h>

namespace {

// Qt stops the whole process with its own message when no display can be
// reached, so look for one first. A local X display (":N") has a socket.
QString missingDisplay() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return {};
    const QString display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty())
        return QStringLiteral("no display: DISPLAY is not set");
    if (display.startsWith(QLatin1Char(':'))) {
        const QString number = display.mid(1).section(QLatin1Char('.'), 0, 0);
        if (!QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X") + number))
            return QStringLiteral("no display: nothing answers on DISPLAY=%1").arg(display);
    }
    return {};
}

// The web views share one graphics context; it must be asked for before
// the application starts. The engine's sandbox cannot run as root.
void prepareWebEngine() {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // Pages of one site in the user's views share an engine process (the
    // two start pages, for one), which keeps the start light. Hidden pages
    // each have a profile of their own and never share theirs.
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!flags.contains("--process-per-site"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", (flags + " --process-per-site").trimmed());
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

} // namespace

int WindowCommands::runWindow(int argc, char* argv[]) {
    if (const QString missing = missingDisplay(); !missing.isEmpty()) {
        std::fprintf(stderr,
                     "quillmart: %s. Start it from a desktop session, or use a headless "
                     "command such as \"quillmart generate\" (see quillmart --help).\n",
                     qPrintable(missing));
        return 2;
    }
    prepareWebEngine();
    QApplication app(argc, argv);
    DialogPrompts prompts;
    if (const Expected<void> prepared = HomeFolder::prepare(); !prepared) {
        const QString& problem = prepared.error();
        std::fprintf(stderr, "quillmart: %s\n", qPrintable(problem));
        prompts.warning(problem);
        return 2;
    }
    const QString home = HomeFolder::path();
    ProcessLauncher launcher;
    StartupSettings settings;
    BrowserController browser(home, launcher, settings);
    BrowserWindow window(browser, launcher, prompts);
    prompts.setParent(&window);
    window.show();
    return app.exec();
}

// The harvester reads pages in hidden web pages: it needs the web engine,
// but no display.
int WindowCommands::runHarvest(int argc, char* argv[], const HarvestCommand& command) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The engine's start-up report would drown the harvest's progress.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext=false"));
    prepareWebEngine();
    QApplication app(argc, argv);
    HomeFolder::useChosenSettings();
    QTextStream err(stderr);
    return HeadlessHarvest::run(command, err);
}
