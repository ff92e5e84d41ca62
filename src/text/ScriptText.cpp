#include "text/ScriptText.h"

namespace {

QString hex(char32_t code, int width) {
    return QString::number(code, 16).rightJustified(width, QLatin1Char('0'));
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
bool isControl(char16_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// The escape of one UTF-16 code unit inside a string literal, or an empty
// text when the unit stays as it is. Lone surrogates are escaped too, so they
// survive the UTF-8 file instead of turning into replacement characters.
QString escapeUnit(char16_t c, bool loneSurrogate) {
    switch (c) {
    case u'\\':
        return QStringLiteral("\\\\");
    case u'"':
        return QStringLiteral("\\\"");
    case u'\r':
        return QStringLiteral("\\r");
    case u'\n':
        return QStringLiteral("\\n");
    case 0x2028:
    case 0x2029:
        return QStringLiteral("\\u") + hex(c, 4);
    default:
        break;
    }
    if (isControl(c))
        return QStringLiteral("\\x") + hex(c, 2);
    if (loneSurrogate)
        return QStringLiteral("\\u") + hex(c, 4);
    return {};
}

// The units escapeUnit or the "</" rule may change; all others are copied.
// Printable ASCII, the bulk of most texts, is settled by the first test.
bool mayNeedEscape(char16_t c) {
    if (c >= 0x20 && c < 0x7F)
        return c == u'\\' || c == u'"' || c == u'/';
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

} // namespace

QString ScriptText::stringBody(const QString& text) {
    QString body;
    body.reserve(text.size());
    appendStringBody(body, text);
    return body;
}

// Copies runs of plain units whole and looks closer only at units that may
// need an escape. An escape never ends in "<", so a "/" follows a "<" in
// the literal exactly when it follows one in the text.
void ScriptText::appendStringBody(QString& out, QStringView text) {
    qsizetype plainFrom = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (!mayNeedEscape(c))
            continue;
        QString escape;
        if (c == u'/') {
            // "</script>" must not end the page's script block.
            if (i == 0 || text[i - 1] != QLatin1Char('<'))
                continue;
            escape = QStringLiteral("\\/");
        } else {
            escape = escapeUnit(c, isLoneSurrogate(text, i));
            if (escape.isEmpty())
                continue;
        }
        out.append(text.sliced(plainFrom, i - plainFrom));
        out.append(escape);
        plainFrom = i + 1;
    }
    out.append(text.sliced(plainFrom));
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
    appendHtml(escaped, text);
    return escaped;
}

void ScriptText::appendHtml(QString& out, QStringView text) {
    qsizetype plainFrom = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (!isHtmlSpecial(c))
            continue;
        const QLatin1StringView reference = htmlReference(c);
        out.append(text.sliced(plainFrom, i - plainFrom));
        out.append(reference);
        plainFrom = i + 1;
    }
    out.append(text.sliced(plainFrom));
}
