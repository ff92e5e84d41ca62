#include "app/ProgramModule.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

namespace {

// The folder of the running program. It is asked for before any
// application object exists, so it comes from the system directly.
QString programFolder() {
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).path();
}

// The places looked at, in order.
QStringList candidates(const QString& fileName) {
    const QString folder = programFolder();
    return {
        QDir::cleanPath(folder + QStringLiteral("/" QUILLMART_RELATIVE_MODULE_DIR "/") + fileName),
        folder + QLatin1Char('/') + fileName};
}

} // namespace

Fallible<void*> ProgramModule::entry(const QString& fileName, const char* name) {
    QStringList problems;
    for (const QString& path : candidates(fileName)) {
        if (!QFileInfo::exists(path))
            continue;
        QLibrary module(path);
        if (void* function = reinterpret_cast<void*>(module.resolve(name)))
            return function;
        problems << module.errorString();
    }
    if (problems.isEmpty())
        problems << QStringLiteral("%1 is not installed").arg(candidates(fileName).first());
    return Fallible<void*>::failure(problems.join(QStringLiteral("; ")));
}
