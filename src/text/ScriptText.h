#pragma once

#include <QString>

// Puts the merchant's texts into generated scripts and pages so that no
// character can break them. Texts without special characters come out
// unchanged, so ordinary projects give exactly the expected bytes.
class ScriptText {
public:
    // The inside of a double-quoted script string literal: backslash, double
    // quote, line breaks, other control characters and "</" are escaped.
    static QString stringBody(const QString& text);
    // The most bytes the UTF-8 form of stringBody(text), html(text) or the
    // text itself takes for each unit of the text.
    static constexpr qsizetype kMostBytesPerUnit = 6;
    // stringBody(text) written as UTF-8 at `out`, which has room for
    // kMostBytesPerUnit bytes a unit of text. Returns the end of what it wrote.
    static char* writeStringBody(char* out, QStringView text);
    // The name a category takes in script identifiers (name + "List"). A
    // name made of ASCII letters, digits, "_" and "$" that does not start
    // with a digit is kept as it is; any other character becomes "_x" + its
    // hexadecimal code + "_", and a leading digit gets a "_" in front.
    static QString identifier(const QString& categoryName);
    // True when the text can stand unquoted in a script as a price: digits
    // with at most one decimal point, such as 12, 12.5 or .5.
    static bool isPrice(QStringView text);
    // Text for an HTML attribute value or element content: &, <, >, " and '
    // become character references.
    static QString html(const QString& text);
    // html(text) written as UTF-8 at `out`, as writeStringBody does.
    static char* writeHtml(char* out, QStringView text);
    // The text written as UTF-8 at `out`, as QString::toUtf8 encodes it.
    static char* writeUtf8(char* out, QStringView text);
};
