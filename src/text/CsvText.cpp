#include "text/CsvText.h"

QString CsvText::field(const QString& value) {
    if (!value.contains(QLatin1Char(',')) && !value.contains(QLatin1Char('"')) &&
        !value.contains(QLatin1Char('\n')) && !value.contains(QLatin1Char('\r')))
        return value;
    return QLatin1Char('"') + QString(value).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

bool CsvText::startsLikeAFormula(const QString& value) {
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    return !value.isEmpty() && formulaStarts.contains(value.front());
}

QString CsvText::guarded(const QString& value) {
    return startsLikeAFormula(value) ? QLatin1Char('\'') + value : value;
}

QString CsvText::line(const QStringList& fields) {
    QStringList quoted;
    for (const QString& value : fields)
        quoted << field(value);
    return quoted.join(QLatin1Char(','));
}
