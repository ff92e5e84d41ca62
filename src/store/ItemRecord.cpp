#include "store/ItemRecord.h"

#include "platform/TextFile.h"

#include <algorithm>

namespace {

constexpr QChar kCaret = QLatin1Char('^');

// The characters an address may not hold, all of them ASCII: controls, DEL,
// quotes and angle brackets.
constexpr std::array<bool, 128> kUnsafeInAddress = [] {
    std::array<bool, 128> unsafe{};
    for (char16_t c = 0; c < 0x20; ++c)
        unsafe[c] = true;
    for (const char c : {'\x7f', '"', '\'', '<', '>'})
        unsafe[size_t(c)] = true;
    return unsafe;
}();

} // namespace

const QStringView ItemRecord::operator[](Field f) const {
    if (m_ends[f] == kAbsent)
        return {};
    const quint32 start = f == 0 ? 0 : m_ends[f - 1] + 1;
    return QStringView(m_text).sliced(m_lineStart + start, m_ends[f] - start);
}

bool ItemRecord::operator==(const ItemRecord& other) const {
    for (int f = 0; f < kFieldCount; ++f)
        if ((*this)[Field(f)] != other[Field(f)])
            return false;
    return true;
}

// The fields are copied into one new text, `text` in place of field f (it
// may be a view into the old text, which is kept until the copy is made),
// a caret after each. The field ends are taken while copying, so a caret
// inside a field stays in it.
void ItemRecord::set(Field f, QStringView text) {
    QString joined;
    std::array<quint32, kFieldCount> ends{};
    for (int i = 0; i < kFieldCount; ++i) {
        joined += i == f ? text : (*this)[Field(i)];
        ends[i] = quint32(joined.size());
        joined += kCaret;
    }
    m_text = std::move(joined);
    m_lineStart = 0;
    m_ends = ends;
}

QString ItemRecord::toLine() const {
    QString line;
    for (int f = 0; f < kFieldCount; ++f) {
        line += (*this)[Field(f)];
        line += kCaret;
    }
    return line;
}

ItemRecord ItemRecord::fromLine(const QString& line) {
    ItemRecord record;
    record.read(line, line);
    return record;
}

QList<ItemRecord> ItemRecord::fromLines(const QString& text) {
    return fromLines(text, text);
}

QList<ItemRecord> ItemRecord::fromLines(const QString& text, QStringView part) {
    const QList<QStringView> lines = TextFile::lineViews(part);
    QList<ItemRecord> records(lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i)
        records[i].read(text, lines[i]);
    return records;
}

// One pass over the line finds the carets. A line is shorter than 4 Gi
// characters: its item file is held whole in memory, two bytes a character.
void ItemRecord::read(const QString& text, QStringView line) {
    m_text = text;
    m_lineStart = line.data() - text.data();
    m_ends = filledEnds();
    int field = 0;
    for (qsizetype i = 0; i < line.size() && field < kFieldCount; ++i)
        if (line[i] == kCaret)
            m_ends[field++] = quint32(i);
    // A short (hand-edited) line: what is left is the last field it holds.
    if (field < kFieldCount)
        m_ends[field] = quint32(line.size());
}

bool ItemRecord::isComplete(const QString& line) {
    return line.count(kCaret) >= kFieldCount;
}

bool ItemRecord::isSafeAddress(QStringView address) {
    return std::none_of(address.begin(), address.end(), [](QChar c) {
        return c.unicode() < kUnsafeInAddress.size() && kUnsafeInAddress[c.unicode()];
    });
}

QString ItemRecord::label(Field f) {
    switch (f) {
    case ItemId:
        return QStringLiteral("Item ID");
    case ItemDesc:
        return QStringLiteral("Item Description");
    case ItemPrice:
        return QStringLiteral("RPrice");
    case PicUrl:
        return QStringLiteral("Picture URL");
    case DescUrl:
        return QStringLiteral("Description URL");
    case ItemMan:
        return QStringLiteral("Manufacturer");
    case ItemW:
        return QStringLiteral("Weight");
    case WPrice:
        return QStringLiteral("WPrice");
    case Cv:
        return QStringLiteral("CV");
    }
    return {};
}
