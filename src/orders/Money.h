#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

// An amount of money held exactly, in whole cents: never as a binary
// floating-point number, so 0.10 + 0.20 is 0.30 and a stored total reads
// back as it was written.
class Money {
public:
    constexpr Money() = default;
    static constexpr Money fromCents(qint64 cents) { return Money(cents); }

    // Reads an amount as the order pages write it: digits with an optional
    // decimal point and at most two decimals, optionally preceded by blanks,
    // a "$" and blanks, and a minus sign ("12.34", " 5.00", "$ 7.75",
    // "-3.50"); blanks after the digits are allowed. No value when the text
    // is not such an amount (empty, "NaN.aN", "1,000.00", "7.755", or too
    // large to hold).
    static std::optional<Money> fromText(const QString& text);

    constexpr qint64 cents() const { return m_cents; }
    // "12.34", "-3.50", "0.05".
    QString toText() const;

    constexpr bool operator==(const Money&) const = default;

private:
    constexpr explicit Money(qint64 cents) : m_cents(cents) {}

    qint64 m_cents = 0;
};
