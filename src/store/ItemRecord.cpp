#include "store/ItemRecord.h"

#include <QStringDecoder>

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
    return split(line, kCaret, [](QStringView field) { return field.toString(); });
}

// Each field is decoded on its own; a byte order mark starting a field is
// kept, as it is when the whole line is decoded.
ItemRecord ItemRecord::fromUtf8Line(QByteArrayView line) {
    QStringDecoder toText(QStringDecoder::Utf8, QStringConverter::Flag::Stateless |
                                                    QStringConverter::Flag::ConvertInitialBom);
    return split(line, '^', [&toText](QByteArrayView field) { return QString(toText(field)); });
}

template <typename View, typename Char, typename ToText>
ItemRecord ItemRecord::split(View line, Char caret, ToText toText) {
    ItemRecord record;
    qsizetype start = 0;
    for (QString& field : record.fields) {
        const qsizetype end = line.indexOf(caret, start);
        if (end < 0) {
            // A short (hand-edited) line: what is left is the last field it holds.
            field = toText(line.sliced(start));
            break;
        }
        field = toText(line.sliced(start, end - start));
        start = end + 1;
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
