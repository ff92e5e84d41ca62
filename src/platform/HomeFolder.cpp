#include "platform/HomeFolder.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <filesystem>
#include <system_error>

namespace {

// The folder made when it is missing; a failure says why in the system's
// words.
Expected<void> made(const QString& folder) {
    std::error_code error;
    const std::filesystem::path where(folder.toStdString());
    std::filesystem::create_directories(where, error);
    if (!error && !std::filesystem::is_directory(where, error))
        error = std::make_error_code(std::errc::not_a_directory);
    if (error)
        return Failure{QString::fromLocal8Bit(error.message())};
    return {};
}

} // namespace

QString HomeFolder::chosenFolder() {
    const QString chosen = qEnvironmentVariable("QUILLMART_HOME");
    if (!chosen.isEmpty())
        return chosen;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

Expected<void> HomeFolder::prepare() {
    const QString folder = chosenFolder();
    if (folder.isEmpty())
        return Failure{
            QStringLiteral("The program's folder cannot be used: the system names no "
                           "data folder for this user. Set QUILLMART_HOME to a folder.")};
    if (const Expected<void> there = made(folder); !there)
        return Failure{QStringLiteral("The program's folder %1 cannot be used: %2.")
                           .arg(QDir::toNativeSeparators(folder), there.error())};
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
