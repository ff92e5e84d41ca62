#include "project/ItemRecord.h"

#include "platform/TextFile.h"

namespace {

constexpr QChar kCaret = QLatin1Char('^');

// The printable characters an address may not hold, all of them ASCII below 64.
constexpr quint64 kUnsafeInAddress = (1ull << '"') | (1ull << '\'') | (1ull << '<') | (1ull << '>');

} // namespace

// The fields are copied into one new text, `text` in place of field f (it
// may be a view into the old text, which is kept until the copy is made).
void ItemRecord::set(Field f, QStringView text) {
    std::array<QStringView, kFieldCount> fields = m_fields;
    fields[f] = text;
    QString joined;
    for (const QStringView field : fields)
        joined += field;
    qsizetype start = 0;
    for (int i = 0; i < kFieldCount; ++i) {
        m_fields[i] = QStringView(joined).sliced(start, fields[i].size());
        start += fields[i].size();
    }
    m_text = std::move(joined); // the buffer moves with the text: the views stay valid
}

QString ItemRecord::toLine() const {
    QString line;
    for (const QStringView field : m_fields) {
        line += field;
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

void ItemRecord::read(const QString& text, QStringView line) {
    m_text = text;
    qsizetype start = 0;
    for (QStringView& field : m_fields) {
        const qsizetype end = line.indexOf(kCaret, start);
        if (end < 0) {
            // A short (hand-edited) line: what is left is the last field it holds.
            field = line.sliced(start);
            break;
        }
        field = line.sliced(start, end - start);
        start = end + 1;
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
