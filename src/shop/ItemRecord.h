#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>
#include <QUtf8StringView>
#include <array>
#include <memory>
#include <vector>

// One catalog item: nine text fields in a fixed order, stored as one line
// with a caret after each field. Nothing is trimmed or escaped; a caret
// inside a field shifts every later field when the line is read back.
//
// The fields are UTF-8 parts of a text the record shares: the records read
// from one item file all share its bytes, so reading a large item file
// makes no text per field and decodes nothing. A record keeps only where
// its line starts in that text and where each field ends, which keeps the
// record list of a large project small. Setting a field gives the record a
// text of its own.
class ItemRecord;

// The records of one item file, in file order.
using ItemList = std::vector<ItemRecord>;

class ItemRecord {
public:
    enum Field { ItemId, ItemDesc, ItemPrice, PicUrl, DescUrl, ItemMan, ItemW, WPrice, Cv };
    static constexpr int kFieldCount = 9;

    // UTF-8 bytes that records share: an item file read whole.
    using SharedText = std::shared_ptr<const QByteArray>;

    // A view, const so that assigning to it does not compile (fields change
    // through set()). It lasts as long as the record is left unchanged.
    const QUtf8StringView operator[](Field f) const;
    // The field as a text of its own.
    QString text(Field f) const { return decoded((*this)[f]); }
    // Stores the text as UTF-8, as QString::toUtf8 encodes it.
    void set(Field f, QStringView text);
    bool operator==(const ItemRecord& other) const;

    // The record line: every field followed by "^".
    QString toLine() const;
    // Reads a record line. Fields are taken up to each of the first nine
    // carets; text after the ninth caret is ignored. A line with fewer
    // carets gives its remaining text as the next field and leaves the
    // later fields empty.
    static ItemRecord fromLine(const QString& line);
    // The records of the lines of `part`, UTF-8 inside `text`, which they
    // share (lines as TextFile splits them).
    static ItemList fromLines(const SharedText& text, QByteArrayView part);
    static ItemList fromLines(const SharedText& text) { return fromLines(text, *text); }
    // True when the line holds at least nine carets.
    static bool isComplete(const QString& line);

    // The shop's listing script writes "Picture URL" and "Description URL"
    // into markup, so a quote, an angle bracket or a control character in
    // them could end the attribute and plant markup or script in the shop.
    static bool isSafeAddress(QUtf8StringView address);
    bool hasUnsafeAddress() const {
        return !isSafeAddress((*this)[PicUrl]) || !isSafeAddress((*this)[DescUrl]);
    }

    // The captions of the editor fields, in field order.
    static QString label(Field f);
    // UTF-8 bytes as text, a leading U+FEFF kept: in a field it is a
    // character of the merchant's, not a byte order mark.
    static QString decoded(QUtf8StringView utf8);

private:
    // Takes the fields of `line`, a view into `text`, which the record keeps.
    void read(const SharedText& text, QByteArrayView line);

    // Marks a field the line does not reach.
    static constexpr quint32 kAbsent = 0xffffffffu;

    // Copies share the text. Field f runs from one past the end of field
    // f - 1 (from the line start for the first) to m_ends[f], counted from
    // the line start; one byte, the caret, stands between two fields.
    SharedText m_text;
    const char* m_line = nullptr;
    std::array<quint32, kFieldCount> m_ends = filledEnds();

    static constexpr std::array<quint32, kFieldCount> filledEnds() {
        std::array<quint32, kFieldCount> ends{};
        ends.fill(kAbsent);
        return ends;
    }
};

// Inline: the site writers take millions of fields.
inline const QUtf8StringView ItemRecord::operator[](Field f) const {
    if (m_ends[f] == kAbsent)
        return {};
    const quint32 start = f == 0 ? 0 : m_ends[f - 1] + 1;
    return QUtf8StringView(m_line + start, m_ends[f] - start);
}
