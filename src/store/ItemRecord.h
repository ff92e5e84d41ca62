#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <array>

// One catalog item: nine text fields in a fixed order, stored as one line
// with a caret after each field. Nothing is trimmed or escaped; a caret
// inside a field shifts every later field when the line is read back.
struct ItemRecord {
    enum Field { ItemId, ItemDesc, ItemPrice, PicUrl, DescUrl, ItemMan, ItemW, WPrice, Cv };
    static constexpr int kFieldCount = 9;

    std::array<QString, kFieldCount> fields;

    QString& operator[](Field f) { return fields[f]; }
    const QString& operator[](Field f) const { return fields[f]; }
    bool operator==(const ItemRecord&) const = default;

    // The record line: every field followed by "^".
    QString toLine() const;
    // Reads a record line. Fields are taken up to each of the first nine
    // carets; text after the ninth caret is ignored. A line with fewer
    // carets gives its remaining text as the next field and leaves the
    // later fields empty.
    static ItemRecord fromLine(const QString& line);
    static ItemRecord fromLine(QStringView line);
    // The same for a line of valid UTF-8 (no line end, no byte order mark).
    static ItemRecord fromUtf8Line(QByteArrayView line);
    // True when the line holds at least nine carets.
    static bool isComplete(const QString& line);

    // The shop's listing script writes "Picture URL" and "Description URL"
    // into markup, so a quote, an angle bracket or a control character in
    // them could end the attribute and plant markup or script in the shop.
    static bool isSafeAddress(const QString& address);
    bool hasUnsafeAddress() const {
        return !isSafeAddress(fields[PicUrl]) || !isSafeAddress(fields[DescUrl]);
    }

    // The captions of the editor fields, in field order.
    static QString label(Field f);

private:
    template <typename View, typename Char, typename ToText>
    static ItemRecord split(View line, Char caret, ToText toText);
};
