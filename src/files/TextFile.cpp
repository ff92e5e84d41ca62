#include "files/TextFile.h"

#include "files/TextFileWriter.h"

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
    forEachLine(QStringView(text), [&lines](QStringView line) { lines << line.toString(); });
    return lines;
}

// memchr skips the bytes between line ends faster than a loop over each.
qsizetype TextFile::lineCount(QByteArrayView text) {
    if (text.isEmpty())
        return 0;
    qsizetype ends = 0;
    const char* const end = text.data() + text.size();
    for (const char* from = text.data();
         (from = static_cast<const char*>(std::memchr(from, '\n', end - from))); ++from)
        ++ends;
    return text.endsWith('\n') ? ends : ends + 1;
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

Expected<void> TextFile::writeLines(const QString& path, const QStringList& lines) {
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    return writeText(path, text);
}

Expected<void> TextFile::writeText(const QString& path, const QString& text) {
    TextFileWriter file(path);
    file.write(text);
    return file.commit();
}
