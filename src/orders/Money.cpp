#include "orders/Money.h"

namespace {

// More whole units than this could overflow the cents.
constexpr int kMaxUnitDigits = 15;

bool allDigits(QStringView text) {
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

// The text without its blanks at either end and without a leading "$".
QStringView withoutDollarSign(QStringView text) {
    text = text.trimmed();
    if (text.startsWith(QLatin1Char('$')))
        text = text.mid(1).trimmed();
    return text;
}

} // namespace

std::optional<Money> Money::fromText(const QString& text) {
    QStringView rest = withoutDollarSign(text);
    const bool negative = rest.startsWith(QLatin1Char('-'));
    if (negative)
        rest = rest.mid(1);
    const qsizetype point = rest.indexOf(QLatin1Char('.'));
    const QStringView units = point < 0 ? rest : rest.left(point);
    const QStringView decimals = point < 0 ? QStringView() : rest.mid(point + 1);
    if (units.isEmpty() && decimals.isEmpty())
        return std::nullopt;
    if (!allDigits(units) || !allDigits(decimals) || units.size() > kMaxUnitDigits ||
        decimals.size() > 2)
        return std::nullopt;
    qint64 cents = units.isEmpty() ? 0 : units.toLongLong() * 100;
    if (!decimals.isEmpty())
        cents += decimals.toInt() * (decimals.size() == 1 ? 10 : 1);
    return Money(negative ? -cents : cents);
}

QString Money::toText() const {
    const qint64 whole = m_cents < 0 ? -m_cents : m_cents;
    return QString::fromLatin1(m_cents < 0 ? "-" : "") + QString::number(whole / 100) +
           QLatin1Char('.') + QStringLiteral("%1").arg(whole % 100, 2, 10, QLatin1Char('0'));
}
