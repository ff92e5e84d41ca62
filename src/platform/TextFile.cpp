#include "platform/TextFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

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

} // namespace

QString TextFile::decode(const QByteArray& bytes) {
    // Stateless: a multi-byte sequence cut off at the end of the text is an
    // error too. A stateful decoder would hold it back silently, so a
    // Windows-1252 text ending in a letter such as 0xE9 would lose it.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError())
        return decodeCp1252(bytes);
    return text;
}

QStringList TextFile::splitLines(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    // A final line end closes the last line; it does not open another one.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    return lines;
}

std::optional<QString> TextFile::readText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return decode(file.readAll());
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

// Unbuffered, and written until every byte is taken or the system refuses:
// a short write is followed by another that reports the system's reason (a
// full disk, say), and a failed write never commits a cut-off file.
QString TextFile::writeText(const QString& path, const QString& text) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    const QByteArray bytes = text.toUtf8();
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return reason;
        }
        done += written;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}
