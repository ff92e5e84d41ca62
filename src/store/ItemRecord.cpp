#include "store/ItemRecord.h"

#include "platform/TextFile.h"

namespace {

constexpr QChar kCaret = QLatin1Char('^');

// The printable characters an address may not hold, all of them ASCII below 64.
constexpr quint64 kUnsafeInAddress = (1ull << '"') | (1ull << '\'') | (1ull << '<') | (1ull << '>');

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

// A line is shorter than 4 Gi characters: its item file is held whole in
// memory, two bytes a character.
void ItemRecord::read(const QString& text, QStringView line) {
    m_text = text;
    m_lineStart = line.data() - text.data();
    m_ends = filledEnds();
    qsizetype start = 0;
    for (quint32& end : m_ends) {
        const qsizetype caret = line.indexOf(kCaret, start);
        if (caret < 0) {
            // A short (hand-edited) line: what is left is the last field it holds.
            end = quint32(line.size());
            break;
        }
        end = quint32(caret);
        start = caret + 1;
    }
}

bool ItemRecord::isComplete(const QString& line) {
    return line.count(kCaret) >= kFieldCount;
}

bool ItemRecord::isSafeAddress(QStringView address) {
    for (const QChar c : address) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7f || (u < 64 && (kUnsafeInAddress >> u) & 1))
            return false;
    }
    return true;
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
