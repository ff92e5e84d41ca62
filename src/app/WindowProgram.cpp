#include "app/WindowProgram.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

QString WindowProgram::path() {
    const QString folder = QFileInfo(QStringLiteral("/proc/self/exe"))
                               .canonicalFilePath()
                               .section(QLatin1Char('/'), 0, -2);
    for (const QString& candidate :
         {folder + QStringLiteral("/quillmart-window"),
          folder + QStringLiteral("/" QUILLMART_RELATIVE_WINDOW_PROGRAM)}) {
        if (QFileInfo(candidate).isExecutable())
            return QFileInfo(candidate).absoluteFilePath();
    }
    return {};
}

int WindowProgram::exec(char* argv[]) {
    const QString program = path();
    if (program.isEmpty()) {
        std::fprintf(stderr, "quillmart: the window program quillmart-window is not installed "
                             "beside this one.\n");
        return 127;
    }
    const QByteArray file = QFile::encodeName(program);
    ::execv(file.constData(), argv);
    std::fprintf(stderr, "quillmart: cannot start %s: %s\n", file.constData(),
                 std::strerror(errno));
    return 127;
}
