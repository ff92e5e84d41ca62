#include "app/ProgramName.h"

#include <QCoreApplication>

void nameTheProgram() {
    QCoreApplication::setOrganizationName(QStringLiteral("Quillmart"));
    QCoreApplication::setApplicationName(QStringLiteral("Quillmart"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLMART_VERSION));
}
