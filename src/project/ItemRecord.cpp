#include "project/ItemRecord.h"

namespace {

constexpr QChar kCaret = QLatin1Char('^');

} // namespace

QString ItemRecord::toLine() const {
    QString line;
    for (const QString& field : fields)
        line += field + kCaret;
    return line;
}

ItemRecord ItemRecord::fromLine(const QString& line) {
    return fromLine(QStringView(line));
}

ItemRecord ItemRecord::fromLine(QStringView line) {
    ItemRecord record;
    qsizetype start = 0;
    for (QString& field : record.fields) {
        const qsizetype caret = line.indexOf(kCaret, start);
        if (caret < 0) {
            // A short (hand-edited) line: what is left is the last field it holds.
            field = line.sliced(start).toString();
            break;
        }
        field = line.sliced(start, caret - start).toString();
        start = caret + 1;
    }
    return record;
}

bool ItemRecord::isComplete(const QString& line) {
    return line.count(kCaret) >= kFieldCount;
}

bool ItemRecord::isSafeAddress(const QString& address) {
    for (const QChar c : address)
        if (c == QLatin1Char('"') || c == QLatin1Char('\'') || c == QLatin1Char('<') ||
            c == QLatin1Char('>') || c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
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
