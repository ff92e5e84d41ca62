#include "platform/FileFilter.h"

#include <QStringList>

QString qtFileFilter(const QString& pipeFilter) {
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = parts[i + 1].split(QLatin1Char(';')).join(QLatin1Char(' '));
        const QString description = parts[i].trimmed();
        // Qt reads the patterns from the last bracket pair, so a description
        // that already shows them would otherwise repeat them.
        if (description.endsWith(QLatin1Char(')')) &&
            description.contains(QLatin1Char('(') + patterns + QLatin1Char(')')))
            filters << description;
        else
            filters << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}
