#include "shop/ItemRecord.h"

#include "files/TextFile.h"

#include <QStringDecoder>
#include <algorithm>
#include <cstring>

namespace {

constexpr char kCaret = '^';

// The characters an address may not hold, all of them ASCII: controls, DEL,
// quotes and angle brackets. Every byte of a UTF-8 sequence for a character
// beyond ASCII is 0x80 or more, so the bytes can be checked one by one.
constexpr std::array<bool, 128> kUnsafeInAddress = [] {
    std::array<bool, 128> unsafe{};
    for (char c = 0; c < 0x20; ++c)
        unsafe[size_t(c)] = true;
    for (const char c : {'\x7f', '"', '\'', '<', '>'})
        unsafe[size_t(c)] = true;
    return unsafe;
}();

} // namespace

bool ItemRecord::operator==(const ItemRecord& other) const {
    for (int f = 0; f < kFieldCount; ++f)
        if ((*this)[Field(f)] != other[Field(f)])
            return false;
    return true;
}

// The fields are copied into one new text, `text` in place of field f, a
// caret after each; the old text is kept until the copy is made. The field
// ends are taken while copying, so a caret inside a field stays in it.
void ItemRecord::set(Field f, QStringView text) {
    const QByteArray utf8 = text.toUtf8();
    auto joined = std::make_shared<QByteArray>();
    std::array<quint32, kFieldCount> ends{};
    for (int i = 0; i < kFieldCount; ++i) {
        const QUtf8StringView field = i == f ? QUtf8StringView(utf8) : (*this)[Field(i)];
        joined->append(field.data(), field.size());
        ends[i] = quint32(joined->size());
        joined->append(kCaret);
    }
    m_text = std::move(joined);
    m_line = m_text->constData();
    m_ends = ends;
}

QString ItemRecord::toLine() const {
    QByteArray line;
    for (int f = 0; f < kFieldCount; ++f) {
        const QUtf8StringView field = (*this)[Field(f)];
        line.append(field.data(), field.size());
        line += kCaret;
    }
    return decoded(line);
}

QString ItemRecord::decoded(QUtf8StringView utf8) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder(QByteArrayView(utf8.data(), utf8.size()));
}

ItemRecord ItemRecord::fromLine(const QString& line) {
    const auto text = std::make_shared<const QByteArray>(line.toUtf8());
    ItemRecord record;
    record.read(text, *text);
    return record;
}

ItemList ItemRecord::fromLines(const SharedText& text, QByteArrayView part) {
    ItemList records;
    records.reserve(size_t(TextFile::lineCount(part)));
    TextFile::forEachLine(part,
                          [&](QByteArrayView line) { records.emplace_back().read(text, line); });
    return records;
}

// The carets are found with memchr, which skips the bytes between them
// faster than a loop over each. A line is shorter than 4 GiB: its item
// file is held whole in memory.
void ItemRecord::read(const SharedText& text, QByteArrayView line) {
    m_text = text;
    m_line = line.data();
    m_ends = filledEnds();
    const char* const end = line.data() + line.size();
    const char* from = line.data();
    for (int field = 0; field < kFieldCount; ++field) {
        const auto* caret = static_cast<const char*>(std::memchr(from, kCaret, end - from));
        if (!caret) {
            // A short (hand-edited) line: what is left is the last field it holds.
            m_ends[field] = quint32(end - m_line);
            return;
        }
        m_ends[field] = quint32(caret - m_line);
        from = caret + 1;
    }
}

bool ItemRecord::isComplete(const QString& line) {
    return line.count(QLatin1Char(kCaret)) >= kFieldCount;
}

bool ItemRecord::isSafeAddress(QUtf8StringView address) {
    return std::none_of(address.begin(), address.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b < kUnsafeInAddress.size() && kUnsafeInAddress[b];
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
