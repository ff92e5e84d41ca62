#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <array>

// One catalog item: nine text fields in a fixed order, stored as one line
// with a caret after each field. Nothing is trimmed or escaped; a caret
// inside a field shifts every later field when the line is read back.
//
// The fields are parts of a text the record shares: the records read from
// one text all share it, so reading a large item file makes no text per
// field. A record keeps only where its line starts in that text and where
// each field ends, which keeps the record list of a large project small.
// Setting a field gives the record a text of its own.
class ItemRecord {
public:
    enum Field { ItemId, ItemDesc, ItemPrice, PicUrl, DescUrl, ItemMan, ItemW, WPrice, Cv };
    static constexpr int kFieldCount = 9;

    // A view, const so that assigning to it does not compile (fields change
    // through set()).
    const QStringView operator[](Field f) const;
    void set(Field f, QStringView text);
    bool operator==(const ItemRecord& other) const;

    // The record line: every field followed by "^".
    QString toLine() const;
    // Reads a record line. Fields are taken up to each of the first nine
    // carets; text after the ninth caret is ignored. A line with fewer
    // carets gives its remaining text as the next field and leaves the
    // later fields empty.
    static ItemRecord fromLine(const QString& line);
    // The records of the lines of a text (lines as TextFile splits them).
    static QList<ItemRecord> fromLines(const QString& text);
    // The records of the lines of `part`, a view into `text`, which they share.
    static QList<ItemRecord> fromLines(const QString& text, QStringView part);
    // True when the line holds at least nine carets.
    static bool isComplete(const QString& line);

    // The shop's listing script writes "Picture URL" and "Description URL"
    // into markup, so a quote, an angle bracket or a control character in
    // them could end the attribute and plant markup or script in the shop.
    static bool isSafeAddress(QStringView address);
    bool hasUnsafeAddress() const {
        return !isSafeAddress((*this)[PicUrl]) || !isSafeAddress((*this)[DescUrl]);
    }

    // The captions of the editor fields, in field order.
    static QString label(Field f);

private:
    // Takes the fields of `line`, a view into `text`, which the record keeps.
    void read(const QString& text, QStringView line);

    // Marks a field the line does not reach.
    static constexpr quint32 kAbsent = 0xffffffffu;

    // Copies share the text. Field f runs from one past the end of field
    // f - 1 (from the line start for the first) to m_ends[f], counted from
    // the line start; one character, the caret, stands between two fields.
    QString m_text;
    qsizetype m_lineStart = 0;
    std::array<quint32, kFieldCount> m_ends = filledEnds();

    static constexpr std::array<quint32, kFieldCount> filledEnds() {
        std::array<quint32, kFieldCount> ends{};
        ends.fill(kAbsent);
        return ends;
    }
};
