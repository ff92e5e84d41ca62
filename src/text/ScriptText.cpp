#include "text/ScriptText.h"

#include <algorithm>
#include <array>

namespace {

// Writes the code as `width` lowercase hexadecimal digits.
constexpr char* writeHex(char* out, char16_t code, int width) {
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
    constexpr Escape() = default;
    constexpr explicit Escape(QLatin1StringView text) { append(text); }
    // The prefix followed by the code in `width` hexadecimal digits.
    constexpr Escape(QLatin1StringView prefix, char16_t code, int width) {
        append(prefix);
        m_size = writeHex(m_text + m_size, code, width) - m_text;
    }
    constexpr bool isEmpty() const { return m_size == 0; }
    constexpr QLatin1StringView text() const { return {m_text, m_size}; }

private:
    constexpr void append(QLatin1StringView text) {
        std::copy(text.begin(), text.end(), m_text + m_size);
        m_size += text.size();
    }

    char m_text[8] = {};
    qsizetype m_size = 0;
};

// The escape of one character inside a string literal, or none when the
// character stays as it is. Lone surrogates are escaped too, so they
// survive the UTF-8 file instead of turning into replacement characters.
inline Escape escapeUnit(char16_t c, bool loneSurrogate) {
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

// The ASCII characters escapeUnit or the "</" rule may change: controls,
// DEL, backslash, double quote and "/".
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

// The characters kHtmlReferences replaces, all of them ASCII.
inline bool isHtmlSpecial(char16_t c) {
    return c == u'&' || c == u'<' || c == u'>' || c == u'"' || c == u'\'';
}

// The character references that stand for the characters HTML escapes.
constexpr std::array<Escape, 64> kHtmlReferences = [] {
    std::array<Escape, 64> references{};
    references['&'] = Escape(QLatin1StringView("&amp;"));
    references['<'] = Escape(QLatin1StringView("&lt;"));
    references['>'] = Escape(QLatin1StringView("&gt;"));
    references['"'] = Escape(QLatin1StringView("&quot;"));
    references['\''] = Escape(QLatin1StringView("&#39;"));
    return references;
}();

// "</script>" must not end the page's script block: a "/" after a "<" is
// escaped. An escape never ends in "<", so a "/" follows a "<" in the
// literal exactly when it follows one in the text.
template <typename Text> Escape slashEscape(const Text& text, qsizetype i) {
    return i > 0 && text[i - 1] == u'<' ? Escape(QLatin1StringView("\\/")) : Escape();
}

// The escape of unit i of the text inside a string literal, or none.
Escape literalEscape(QStringView text, qsizetype i) {
    const char16_t c = text[i].unicode();
    if (c == u'/')
        return slashEscape(text, i);
    return escapeUnit(c, isLoneSurrogate(text, i));
}

// The bytes of the characters beyond ASCII that escapeUnit changes: the C1
// controls U+0080..U+009F (C2 80..C2 9F) and the line and paragraph
// separators U+2028 and U+2029 (E2 80 A8, E2 80 A9). Valid UTF-8 holds no
// surrogates. Returns the character that starts at byte i and moves i to
// its last byte, or 0 when the character needs no escape.
inline char16_t escapedBeyondAscii(const uchar* text, qsizetype size, qsizetype& i) {
    if (text[i] == 0xC2 && i + 1 < size && text[i + 1] >= 0x80 && text[i + 1] <= 0x9F) {
        ++i;
        return text[i];
    }
    if (text[i] == 0xE2 && i + 2 < size && text[i + 1] == 0x80 &&
        (text[i + 2] == 0xA8 || text[i + 2] == 0xA9)) {
        i += 2;
        return char16_t(0x2000 | (text[i] & 0x3F));
    }
    return 0;
}

// The bytes that may start what appendStringBody changes: the ASCII
// characters escapeUnit may change, "<" (a "/" right after it is escaped),
// and the first bytes of the sequences escapedBeyondAscii finds. The bytes
// of a text are looked up here one by one; most need nothing more.
constexpr std::array<bool, 256> kMayStartLiteralEscape = [] {
    std::array<bool, 256> table{};
    for (int b = 0; b < 0x80; ++b)
        table[b] = isControl(char16_t(b)) || b == '\\' || b == '"' || b == '<';
    table[0xC2] = table[0xE2] = true;
    return table;
}();

// The escape of the character that starts at byte i of UTF-8 text inside
// a string literal, or none; moves i to the character's last byte when it
// is escaped. A "/" is looked at from the "<" before it, not here.
inline Escape utf8LiteralEscape(const uchar* text, qsizetype size, qsizetype& i) {
    const uchar b = text[i];
    if (b < 0x80)
        return escapeUnit(b, false);
    const char16_t c = escapedBeyondAscii(text, size, i);
    return c ? escapeUnit(c, false) : Escape();
}

} // namespace

QString ScriptText::stringBody(const QString& text) {
    QString body;
    body.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const Escape escape = mayNeedEscape(text[i].unicode()) ? literalEscape(text, i) : Escape();
        if (escape.isEmpty())
            body.append(text[i]);
        else
            body.append(escape.text());
    }
    return body;
}

// Runs of bytes that need no escape are appended whole. A "/" is looked
// at from the "<" before it.
void ScriptText::appendStringBody(QByteArray& out, QUtf8StringView text) {
    const auto* bytes = reinterpret_cast<const uchar*>(text.data());
    const qsizetype size = text.size();
    qsizetype copied = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (!kMayStartLiteralEscape[bytes[i]])
            continue;
        qsizetype first = i;
        Escape escape;
        if (bytes[i] == '<' && i + 1 < size && bytes[i + 1] == '/') {
            first = ++i;
            escape = slashEscape(bytes, i);
        } else if (bytes[i] != '<') {
            escape = utf8LiteralEscape(bytes, size, i);
        }
        if (escape.isEmpty())
            continue;
        out.append(text.data() + copied, first - copied);
        out.append(escape.text());
        copied = i + 1;
    }
    out.append(text.data() + copied, size - copied);
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

// Every character it accepts is ASCII, so the bytes are checked one by one.
bool ScriptText::isPrice(QUtf8StringView text) {
    int digits = 0;
    int points = 0;
    for (const char c : text) {
        if (isAsciiDigit(QLatin1Char(c)))
            ++digits;
        else if (c == '.')
            ++points;
        else
            return false;
    }
    return digits > 0 && points <= 1;
}

QString ScriptText::html(const QString& text) {
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (isHtmlSpecial(c.unicode()))
            escaped.append(kHtmlReferences[c.unicode()].text());
        else
            escaped.append(c);
    }
    return escaped;
}

void ScriptText::appendHtml(QByteArray& out, QUtf8StringView text) {
    qsizetype copied = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const uchar b = uchar(text.data()[i]);
        if (!isHtmlSpecial(b))
            continue;
        out.append(text.data() + copied, i - copied);
        out.append(kHtmlReferences[b].text());
        copied = i + 1;
    }
    out.append(text.data() + copied, text.size() - copied);
}
