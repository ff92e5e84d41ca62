#include "platform/HomeFolder.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <filesystem>
#include <system_error>

namespace {

// Why the folder cannot be made, in the system's words; empty when it is
// there (or was made) as a folder.
QString creationProblem(const QString& folder) {
    std::error_code error;
    const std::filesystem::path where(folder.toStdString());
    std::filesystem::create_directories(where, error);
    if (!error && !std::filesystem::is_directory(where, error))
        error = std::make_error_code(std::errc::not_a_directory);
    return error ? QString::fromLocal8Bit(error.message()) : QString();
}

} // namespace

QString HomeFolder::chosenFolder() {
    const QString chosen = qEnvironmentVariable("QUILLMART_HOME");
    if (!chosen.isEmpty())
        return chosen;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString HomeFolder::prepare() {
    const QString folder = chosenFolder();
    if (folder.isEmpty())
        return QStringLiteral("The program's folder cannot be used: the system names no data "
                              "folder for this user. Set QUILLMART_HOME to a folder.");
    if (const QString problem = creationProblem(folder); !problem.isEmpty())
        return QStringLiteral("The program's folder %1 cannot be used: %2.")
            .arg(QDir::toNativeSeparators(folder), problem);
    useChosenSettings();
    return {};
}

// A chosen home holds everything of the program's, the settings included, so
// a second home never reads or changes the user's own.
void HomeFolder::useChosenSettings() {
    const QString folder = chosenFolder();
    if (!qEnvironmentVariableIsEmpty("QUILLMART_HOME") && !folder.isEmpty())
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QDir(folder).absolutePath());
}

QString HomeFolder::path() {
    const QString folder = chosenFolder();
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return {};
    return QDir(folder).absolutePath();
}
