#include "text/ScriptText.h"

#include <algorithm>
#include <array>

namespace {

// Writes the code as `width` lowercase hexadecimal digits.
char* writeHex(char* out, char16_t code, int width) {
    for (int shift = 4 * (width - 1); shift >= 0; shift -= 4)
        *out++ = "0123456789abcdef"[(code >> shift) & 0xF];
    return out;
}

bool isAsciiLetter(QChar c) {
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

bool isAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isIdentifierChar(QChar c) {
    return isAsciiLetter(c) || isAsciiDigit(c) || c == QLatin1Char('_') || c == QLatin1Char('$');
}

// C0 controls, DEL and C1 controls: none of them may stand raw in a script.
constexpr bool isControl(char16_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// An escape of a few ASCII characters, or none.
class Escape {
public:
    Escape() = default;
    explicit Escape(QLatin1StringView text) { append(text); }
    // The prefix followed by the code in `width` hexadecimal digits.
    Escape(QLatin1StringView prefix, char16_t code, int width) {
        append(prefix);
        m_size = writeHex(m_text + m_size, code, width) - m_text;
    }
    bool isEmpty() const { return m_size == 0; }
    QLatin1StringView text() const { return {m_text, m_size}; }

private:
    void append(QLatin1StringView text) {
        std::copy(text.begin(), text.end(), m_text + m_size);
        m_size += text.size();
    }

    char m_text[8] = {};
    qsizetype m_size = 0;
};

// The escape of one UTF-16 code unit inside a string literal, or none when
// the unit stays as it is. Lone surrogates are escaped too, so they survive
// the UTF-8 file instead of turning into replacement characters.
Escape escapeUnit(char16_t c, bool loneSurrogate) {
    switch (c) {
    case u'\\':
        return Escape(QLatin1StringView("\\\\"));
    case u'"':
        return Escape(QLatin1StringView("\\\""));
    case u'\r':
        return Escape(QLatin1StringView("\\r"));
    case u'\n':
        return Escape(QLatin1StringView("\\n"));
    case 0x2028:
    case 0x2029:
        return Escape(QLatin1StringView("\\u"), c, 4);
    default:
        break;
    }
    if (isControl(c))
        return Escape(QLatin1StringView("\\x"), c, 2);
    if (loneSurrogate)
        return Escape(QLatin1StringView("\\u"), c, 4);
    return {};
}

// The ASCII units escapeUnit or the "</" rule may change: controls, DEL,
// backslash, double quote and "/".
constexpr std::array<bool, 128> kAsciiMayNeedEscape = [] {
    std::array<bool, 128> table{};
    for (char16_t c = 0; c < 128; ++c)
        table[c] = isControl(c) || c == u'\\' || c == u'"' || c == u'/';
    return table;
}();

// The units escapeUnit or the "</" rule may change; all others are copied.
// ASCII, the bulk of most texts, is settled by one look-up.
inline bool mayNeedEscape(char16_t c) {
    if (c < kAsciiMayNeedEscape.size())
        return kAsciiMayNeedEscape[c];
    return c <= 0x9F || c == 0x2028 || c == 0x2029 || QChar::isSurrogate(c);
}

bool isLoneSurrogate(QStringView text, qsizetype i) {
    const QChar c = text.at(i);
    if (c.isHighSurrogate())
        return i + 1 >= text.size() || !text.at(i + 1).isLowSurrogate();
    if (c.isLowSurrogate())
        return i == 0 || !text.at(i - 1).isHighSurrogate();
    return false;
}

// The code point that starts at i; a surrogate pair moves i to its second half.
char32_t codePointAt(const QString& text, qsizetype& i) {
    const QChar c = text.at(i);
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
        return QChar::surrogateToUcs4(c, text.at(++i));
    return c.unicode();
}

// The units htmlReference replaces, all of them ASCII below 64.
constexpr quint64 kHtmlSpecials =
    (1ull << '&') | (1ull << '<') | (1ull << '>') | (1ull << '"') | (1ull << '\'');

bool isHtmlSpecial(char16_t c) {
    return c < 64 && (kHtmlSpecials >> c) & 1;
}

// The character reference that stands for c in HTML, or nothing.
QLatin1StringView htmlReference(char16_t c) {
    switch (c) {
    case u'&':
        return QLatin1StringView("&amp;");
    case u'<':
        return QLatin1StringView("&lt;");
    case u'>':
        return QLatin1StringView("&gt;");
    case u'"':
        return QLatin1StringView("&quot;");
    case u'\'':
        return QLatin1StringView("&#39;");
    default:
        return {};
    }
}

// Writes the character that starts at unit i as UTF-8, as QString::toUtf8
// does: a lone surrogate becomes "?". A surrogate pair moves i to its
// second half.
inline char* writeCharacter(char* out, QStringView text, qsizetype& i) {
    const char16_t c = text[i].unicode();
    if (c < 0x80) {
        *out++ = char(c);
    } else if (c < 0x800) {
        *out++ = char(0xC0 | c >> 6);
        *out++ = char(0x80 | (c & 0x3F));
    } else if (!QChar::isSurrogate(c)) {
        *out++ = char(0xE0 | c >> 12);
        *out++ = char(0x80 | (c >> 6 & 0x3F));
        *out++ = char(0x80 | (c & 0x3F));
    } else if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        const char32_t code = QChar::surrogateToUcs4(c, text[++i]);
        *out++ = char(0xF0 | code >> 18);
        *out++ = char(0x80 | (code >> 12 & 0x3F));
        *out++ = char(0x80 | (code >> 6 & 0x3F));
        *out++ = char(0x80 | (code & 0x3F));
    } else {
        *out++ = '?';
    }
    return out;
}

// The converted text as a QString.
class TextSink {
public:
    explicit TextSink(QString& out) : m_out(out) {}
    void plain(QStringView text, qsizetype i) { m_out.append(text[i]); }
    void escape(QLatin1StringView text) { m_out.append(text); }

private:
    QString& m_out;
};

// The converted text as UTF-8 bytes, written at a pointer into room for
// the longest result.
class Utf8Sink {
public:
    explicit Utf8Sink(char* out) : m_end(out) {}
    void plain(QStringView text, qsizetype& i) { m_end = writeCharacter(m_end, text, i); }
    void escape(QLatin1StringView text) { m_end = std::copy(text.begin(), text.end(), m_end); }
    char* end() const { return m_end; }

private:
    char* m_end;
};

// The escape of unit i of the text inside a string literal, or none. An
// escape never ends in "<", so a "/" follows a "<" in the literal exactly
// when it follows one in the text.
Escape literalEscape(QStringView text, qsizetype i) {
    const char16_t c = text[i].unicode();
    // "</script>" must not end the page's script block.
    if (c == u'/')
        return i > 0 && text[i - 1] == QLatin1Char('<') ? Escape(QLatin1StringView("\\/"))
                                                        : Escape();
    return escapeUnit(c, isLoneSurrogate(text, i));
}

// Hands the sink each unit, as it is or as its escape. Units that need no
// escape, the bulk of most texts, are settled by the first test.
template <typename Sink> void convertStringBody(Sink& sink, QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!mayNeedEscape(text[i].unicode())) {
            sink.plain(text, i);
            continue;
        }
        const Escape escape = literalEscape(text, i);
        if (escape.isEmpty())
            sink.plain(text, i);
        else
            sink.escape(escape.text());
    }
}

template <typename Sink> void convertHtml(Sink& sink, QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (isHtmlSpecial(c))
            sink.escape(htmlReference(c));
        else
            sink.plain(text, i);
    }
}

} // namespace

QString ScriptText::stringBody(const QString& text) {
    QString body;
    body.reserve(text.size());
    TextSink sink(body);
    convertStringBody(sink, text);
    return body;
}

char* ScriptText::writeStringBody(char* out, QStringView text) {
    Utf8Sink sink(out);
    convertStringBody(sink, text);
    return sink.end();
}

// Non-ASCII characters are encoded by code point (a surrogate pair gives one
// "_x1f600_"); a lone surrogate gives its own code unit.
QString ScriptText::identifier(const QString& categoryName) {
    if (categoryName.isEmpty())
        return QStringLiteral("_");
    QString name;
    if (isAsciiDigit(categoryName.front()))
        name += QLatin1Char('_');
    for (qsizetype i = 0; i < categoryName.size(); ++i) {
        const QChar c = categoryName.at(i);
        if (isIdentifierChar(c))
            name += c;
        else
            name += QStringLiteral("_x") + QString::number(codePointAt(categoryName, i), 16) +
                    QLatin1Char('_');
    }
    return name;
}

bool ScriptText::isPrice(QStringView text) {
    int digits = 0;
    int points = 0;
    for (const QChar c : text) {
        if (isAsciiDigit(c))
            ++digits;
        else if (c == QLatin1Char('.'))
            ++points;
        else
            return false;
    }
    return digits > 0 && points <= 1;
}

QString ScriptText::html(const QString& text) {
    QString escaped;
    escaped.reserve(text.size());
    TextSink sink(escaped);
    convertHtml(sink, text);
    return escaped;
}

char* ScriptText::writeHtml(char* out, QStringView text) {
    Utf8Sink sink(out);
    convertHtml(sink, text);
    return sink.end();
}

char* ScriptText::writeUtf8(char* out, QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i)
        out = writeCharacter(out, text, i);
    return out;
}
