#pragma once

#include "support/LocalServer.h"

#include <QProcess>
#include <optional>

namespace ServerTools {

// Runs a helper program of a server (key makers, user list tools) with
// `input` on its standard input; its output, or no value when it failed.
inline std::optional<QString> run(const QString& program, const QStringList& arguments,
                                  const QByteArray& input = {}) {
    QProcess process;
    process.start(LocalServer::program(program), arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(20000);
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

} // namespace ServerTools
