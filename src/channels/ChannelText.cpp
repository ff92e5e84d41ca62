#include "channels/ChannelText.h"

#include <QUrl>

namespace {

// A record starting this close to the end is not read.
constexpr qsizetype kTailCharacters = 4;

// Where the line holding `start` ends: its LF, or the end of the text.
qsizetype lineEnd(const QString& text, qsizetype start) {
    const qsizetype end = text.indexOf(QLatin1Char('\n'), start);
    return end < 0 ? text.size() : end;
}

// A position found on the record's own line, else -1: a record whose
// delimiters are missing must not borrow those of the records after it.
qsizetype within(qsizetype position, qsizetype end) {
    return position < end ? position : -1;
}

QString withoutCarriageReturn(QString line) {
    if (line.endsWith(QLatin1Char('\r')))
        line.chop(1);
    return line;
}

} // namespace

bool ChannelText::isErrorPage(const QString& text) {
    return text.contains(QStringLiteral("<TITLE>"), Qt::CaseInsensitive);
}

qsizetype ChannelText::nextRecord(const QString& text, qsizetype close) {
    const qsizetype lineEnd = text.indexOf(QLatin1Char('\n'), close);
    if (lineEnd < 0)
        return -1;
    const qsizetype next = lineEnd + 1;
    return next >= text.size() - kTailCharacters ? -1 : next;
}

QList<LinkRecord> ChannelText::linkRecords(const QString& text, qsizetype from) {
    QList<LinkRecord> records;
    qsizetype start = from;
    while (start >= 0 && start < text.size()) {
        const qsizetype end = lineEnd(text, start);
        const qsizetype open = within(text.indexOf(QLatin1Char('<'), start), end);
        const qsizetype close = open < 0 ? -1 : within(text.indexOf(QLatin1Char('>'), open), end);
        if (close < 0)
            break;
        records.append({text.mid(start, open - start), text.mid(open + 1, close - open - 1)});
        start = nextRecord(text, close);
    }
    return records;
}

HeadedList ChannelText::headedList(const QString& text, bool skipOne) {
    const qsizetype lineEnd = text.indexOf(QLatin1Char('\n'));
    if (lineEnd < 0)
        return {withoutCarriageReturn(text), {}};
    return {withoutCarriageReturn(text.left(lineEnd)),
            linkRecords(text, lineEnd + 1 + (skipOne ? 1 : 0))};
}

QStringList ChannelText::lineList(const QString& text, bool skipFirst) {
    QStringList entries;
    qsizetype start = skipFirst ? 1 : 0;
    for (qsizetype end = text.indexOf(QLatin1Char('\n'), start); end >= 0;
         end = text.indexOf(QLatin1Char('\n'), start)) {
        const QString entry = withoutCarriageReturn(text.mid(start, end - start));
        if (!entry.isEmpty())
            entries.append(entry);
        start = end + 1;
    }
    return entries;
}

QList<PrivateZoneRow> ChannelText::privateTable(const QString& text) {
    QList<PrivateZoneRow> rows;
    const QString between = QStringLiteral("><");
    qsizetype start = 0;
    while (start >= 0 && start < text.size()) {
        const qsizetype end = lineEnd(text, start);
        const qsizetype open = within(text.indexOf(QLatin1Char('<'), start), end);
        const qsizetype second = open < 0 ? -1 : within(text.indexOf(between, open), end);
        const qsizetype third = second < 0 ? -1 : within(text.indexOf(between, second + 2), end);
        const qsizetype close =
            third < 0 ? -1 : within(text.indexOf(QLatin1Char('>'), third + 2), end);
        if (close < 0)
            break;
        rows.append({text.mid(start, open - start), text.mid(open + 1, second - open - 1),
                     text.mid(second + 2, third - second - 2),
                     text.mid(third + 2, close - third - 2)});
        start = nextRecord(text, close);
    }
    return rows;
}

std::optional<std::pair<QString, QString>> ChannelText::locations(const QString& text) {
    const QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() < 2)
        return std::nullopt;
    const QString location1 = withoutCarriageReturn(lines[0]);
    const QString location2 = withoutCarriageReturn(lines[1]);
    // An empty address would leave the next start with nowhere to go.
    if (location1.isEmpty() || location2.isEmpty())
        return std::nullopt;
    return std::pair(location1, location2);
}

QString ChannelText::resolved(const QString& base, const QString& address) {
    const QUrl url(address);
    if (address.isEmpty() || !url.isRelative())
        return address;
    return QUrl(base).resolved(url).toString();
}
