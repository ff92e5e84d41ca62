#pragma once

#include <QByteArray>
#include <QString>

// The text of a response body that arrives in pieces. Its charset is the
// one the Content-Type names, else the one the body's start names
// (CharsetSniffer), which waits for the first kSniffBytes or the body's end.
//
// The bytes are kept and decoded whole, never piece by piece: Qt's UTF-8
// decoder, fed in pieces, drops the character after an invalid sequence
// that a piece's end cuts, so a page's text would depend on how the network
// happened to split it. To keep the work linear, the body is decoded again
// only once it has doubled, and when it is complete.
class BodyText {
public:
    explicit BodyText(const QByteArray& contentType = {});

    void append(const QByteArray& bytes) { m_bytes += bytes; }
    // Brings the text up to date with the bytes as the rule above allows;
    // false while the charset cannot be chosen yet.
    bool update(bool bodyComplete);
    const QString& text() const { return m_text; }

private:
    bool chooseCharset(bool bodyComplete);

    QByteArray m_charset; // empty until chosen
    QByteArray m_bytes;
    qsizetype m_decodedBytes = 0;
    QString m_text;
};
