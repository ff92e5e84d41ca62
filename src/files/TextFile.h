#pragma once

#include "platform/Expected.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

// Plain text files as the program keeps them: lines end with CR LF, text is
// UTF-8. Readers also take LF line ends and read text that is not valid UTF-8
// as Windows-1252, so files from older installations still open. Writes go
// through QSaveFile: a file is replaced whole or not at all.
class TextFile {
public:
    // The lines of the file, without their line ends; no value when the file
    // does not exist or cannot be read.
    static std::optional<QStringList> readLines(const QString& path);
    // The whole text, line ends as they are in the file.
    static std::optional<QString> readText(const QString& path);
    // Writes each line followed by CR LF.
    static Expected<void> writeLines(const QString& path, const QStringList& lines);
    // Writes the text as it is.
    static Expected<void> writeText(const QString& path, const QString& text);

    // The file's bytes as they are; no value when it cannot be read.
    static std::optional<QByteArray> readBytes(const QString& path);

    static QString decode(const QByteArray& bytes);
    // True when decode reads the bytes as UTF-8, not as Windows-1252.
    static bool isUtf8(QByteArrayView bytes);
    static QStringList splitLines(const QString& text);
    // Hands the same lines, as views into the text (a QStringView or the
    // QByteArrayView of UTF-8 bytes), to `take`, in order.
    template <typename View, typename Take> static void forEachLine(View text, Take&& take);
    // The number of lines forEachLine hands on.
    static qsizetype lineCount(QByteArrayView text);
    // The UTF-8 text decode reads from bytes isUtf8 accepts: the bytes
    // without a leading byte order mark.
    static QByteArrayView utf8Text(QByteArrayView bytes);
};

// Lines end at LF; a CR just before the LF belongs to the line end, a CR
// anywhere else to the line. A final line end closes the last line; it does
// not open another one.
template <typename View, typename Take> void TextFile::forEachLine(View text, Take&& take) {
    using Char = typename View::value_type;
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = text.indexOf(Char(u'\n'), start);
        if (end < 0)
            end = text.size();
        View line = text.sliced(start, end - start);
        if (line.endsWith(Char(u'\r')))
            line.chop(1);
        take(line);
        start = end + 1;
    }
}
