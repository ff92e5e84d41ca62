#pragma once

#include <QByteArray>

// Chooses the character set of a downloaded page: the one its Content-Type
// names, else the one a META tag or a byte-order mark at its start names,
// else windows-1252, which is what browsers assume for a page that says
// nothing. A name no decoder knows counts as no name.
class CharsetSniffer {
public:
    // How much of the body is searched for a META charset. Decoding waits
    // until this much has arrived (or the body ended) when the header names
    // no charset.
    static constexpr qsizetype kSniffBytes = 4096;

    // The charset the Content-Type value names, or empty.
    static QByteArray fromContentType(const QByteArray& contentType);
    // The charset of a body that begins with `head` (at most kSniffBytes
    // of it are read); never empty.
    static QByteArray fromHead(const QByteArray& head);
    static bool isKnown(const QByteArray& charset);
};
