#include "platform/TextFile.h"

#include "platform/TextFileWriter.h"

#include <QFile>
#include <algorithm>
#include <cstring>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString decodeCp1252(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text += (b >= 0x80 && b < 0xA0) ? QChar(kCp1252High[b - 0x80]) : QChar(b);
    }
    return text;
}

// Lines end at LF; a CR just before the LF belongs to the line end, a CR
// anywhere else to the line. A final line end closes the last line; it does
// not open another one.
template <typename View> QList<View> splitLineViews(View text) {
    using Char = typename View::value_type;
    QList<View> lines;
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = text.indexOf(Char(u'\n'), start);
        if (end < 0)
            end = text.size();
        View line = text.sliced(start, end - start);
        if (line.endsWith(Char(u'\r')))
            line.chop(1);
        lines << line;
        start = end + 1;
    }
    return lines;
}

// The first byte from `from` on that is not ASCII, or `end`.
const char* skipAscii(const char* from, const char* end) {
    constexpr quint64 kHighBits = 0x8080808080808080u;
    quint64 word = 0;
    while (end - from >= qsizetype(sizeof word)) {
        std::memcpy(&word, from, sizeof word);
        if (word & kHighBits)
            break;
        from += sizeof word;
    }
    return std::find_if(from, end, [](char c) { return uchar(c) >= 0x80; });
}

} // namespace

// A multi-byte sequence cut off at the end of the text makes it invalid
// too, so a Windows-1252 text ending in a letter such as 0xE9 keeps it.
// Every byte of a multi-byte sequence is 0x80 or more, and an ASCII byte is
// valid anywhere, so the text is valid exactly when each run of bytes of
// 0x80 and more is: only those runs are given to Qt's check, and the ASCII
// between them, most of a typical text, is skipped a word at a time.
bool TextFile::isUtf8(QByteArrayView bytes) {
    const char* from = bytes.data();
    const char* const end = from + bytes.size();
    while ((from = skipAscii(from, end)) != end) {
        const char* to = std::find_if(from, end, [](char c) { return uchar(c) < 0x80; });
        if (!QByteArrayView(from, to).isValidUtf8())
            return false;
        from = to;
    }
    return true;
}

QString TextFile::decode(const QByteArray& bytes) {
    if (!isUtf8(bytes))
        return decodeCp1252(bytes);
    return QString::fromUtf8(utf8Text(bytes));
}

QByteArrayView TextFile::utf8Text(QByteArrayView bytes) {
    return bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes;
}

QStringList TextFile::splitLines(const QString& text) {
    QStringList lines;
    for (const QStringView line : lineViews(text))
        lines << line.toString();
    return lines;
}

QList<QStringView> TextFile::lineViews(QStringView text) {
    return splitLineViews(text);
}

QList<QByteArrayView> TextFile::lineViews(QByteArrayView text) {
    return splitLineViews(text);
}

std::optional<QByteArray> TextFile::readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

std::optional<QString> TextFile::readText(const QString& path) {
    const auto bytes = readBytes(path);
    if (!bytes)
        return std::nullopt;
    return decode(*bytes);
}

std::optional<QStringList> TextFile::readLines(const QString& path) {
    const auto text = readText(path);
    if (!text)
        return std::nullopt;
    return splitLines(*text);
}

QString TextFile::writeLines(const QString& path, const QStringList& lines) {
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    return writeText(path, text);
}

QString TextFile::writeText(const QString& path, const QString& text) {
    TextFileWriter file(path);
    file.write(text);
    return file.commit();
}
