#pragma once

#include "channels/LinkRecord.h"
#include "zone/PrivateZoneRow.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

// Reads the small text files of the channel server. Lines end with CR LF (a
// bare LF is taken as well). A link record is a caption, "<", an address,
// ">" and a line end; the private table's records hold three addresses,
// "password<search><channels><start page>".
class ChannelText {
public:
    // A server's error page sent in place of a file: it holds "<TITLE>" in
    // any letter case.
    static bool isErrorPage(const QString& text);

    // The link records from position `from` on. Reading stops at the first
    // record that has no ">", and where the next record would start within
    // the text's last four characters.
    static QList<LinkRecord> linkRecords(const QString& text, qsizetype from = 0);
    // The first line as caption, then link records. A menu file's records
    // begin one character after the first line's end (`skipOne`).
    static HeadedList headedList(const QString& text, bool skipOne);
    // One entry per line; a last line without a line end is not an entry,
    // nor is an empty line. `skipFirst` drops the text's first character.
    static QStringList lineList(const QString& text, bool skipFirst);
    static QList<PrivateZoneRow> privateTable(const QString& text);
    // The new Location1 and Location2: the first two lines; no value when
    // the text has fewer or one of them is empty.
    static std::optional<std::pair<QString, QString>> locations(const QString& text);

    // `address` taken relative to `base` when it names no scheme, so a
    // server folder can point at its own files wherever it is served from.
    static QString resolved(const QString& base, const QString& address);

private:
    // Where the record after the ">" at `close` starts; -1 when reading ends.
    static qsizetype nextRecord(const QString& text, qsizetype close);
};
