#include "app/WindowModule.h"

#include "app/WindowEntry.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <cstdio>

namespace {

// The folder of the running program. It is asked for before any
// application object exists, so it comes from the system directly.
QString programFolder() {
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).path();
}

// The places looked at, in order.
QStringList candidates() {
    const QString folder = programFolder();
    const QString name = QStringLiteral(QUILLMART_WINDOW_MODULE);
    return {QDir::cleanPath(folder + QStringLiteral("/" QUILLMART_RELATIVE_MODULE_DIR "/") + name),
            folder + QLatin1Char('/') + name};
}

} // namespace

void* WindowModule::entry(const char* name) {
    QStringList problems;
    for (const QString& path : candidates()) {
        if (!QFileInfo::exists(path))
            continue;
        QLibrary module(path);
        if (void* function = reinterpret_cast<void*>(module.resolve(name)))
            return function;
        problems << module.errorString();
    }
    if (problems.isEmpty())
        problems << QStringLiteral("%1 is not installed").arg(candidates().first());
    std::fprintf(stderr,
                 "quillmart: the window part of the program cannot be loaded: %s. The headless "
                 "commands such as \"quillmart generate\" still work (see quillmart --help).\n",
                 qPrintable(problems.join(QStringLiteral("; "))));
    return nullptr;
}

int WindowModule::runWindow(int argc, char* argv[]) {
    const auto run = reinterpret_cast<WindowEntry::Window>(entry(WindowEntry::kWindowName));
    return run ? run(argc, argv) : 2;
}

int WindowModule::runHarvest(int argc, char* argv[], const HarvestCommand& command) {
    const auto run = reinterpret_cast<WindowEntry::Harvest>(entry(WindowEntry::kHarvestName));
    return run ? run(argc, argv, command) : 2;
}
