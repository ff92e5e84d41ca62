#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QUtf8StringView>
#include <algorithm>
#include <charconv>
#include <cstring>

// Room made at the end of a UTF-8 text for a piece whose longest form is
// known beforehand, filled through a pointer: cheaper than growing the text
// bit by bit, for writers that add millions of small bits. The room not
// used is given back when the Utf8Room goes.
class Utf8Room {
public:
    // Room for `mostBytes` bytes at the end of `text`.
    Utf8Room(QByteArray& text, qsizetype mostBytes);
    ~Utf8Room();
    Utf8Room(const Utf8Room&) = delete;
    Utf8Room& operator=(const Utf8Room&) = delete;

    // The room a UTF-8 text takes at most in any of the forms below (with
    // the room their writers need to spare), and a number.
    static qsizetype mostBytes(QUtf8StringView text);
    static constexpr qsizetype kMostNumberBytes = 20;

    // Bytes as they are.
    void bytes(QByteArrayView bytes) { m_end = std::copy(bytes.begin(), bytes.end(), m_end); }
    // A string literal, copied without a call: the writers add millions.
    template <std::size_t N> void bytes(const char (&literal)[N]) {
        std::memcpy(m_end, literal, N - 1);
        m_end += N - 1;
    }
    void number(qsizetype n) { m_end = std::to_chars(m_end, m_end + kMostNumberBytes, n).ptr; }
    // The UTF-8 text as it is, and as ScriptText::stringBody and
    // ScriptText::html give it.
    void utf8(QUtf8StringView text) { m_end = std::copy(text.begin(), text.end(), m_end); }
    void stringBody(QUtf8StringView text);
    void html(QUtf8StringView text);

private:
    QByteArray& m_text;
    char* m_end;
};
