#pragma once

#include <QString>
#include <QUtf8StringView>

// Puts the merchant's texts into generated scripts and pages so that no
// character can break them. Texts without special characters come out
// unchanged, so ordinary projects give exactly the expected bytes.
//
// Each escape comes in two forms: for texts (category names, settings) and
// for UTF-8 bytes (item fields, written as they are read from the item
// files). Both follow one rule; only texts can hold lone surrogates.
class ScriptText {
public:
    // The inside of a double-quoted script string literal: backslash, double
    // quote, line breaks, other control characters and "</" are escaped.
    static QString stringBody(const QString& text);
    // The most bytes the result of writeStringBody or writeHtml takes for
    // each byte of its UTF-8 text.
    static constexpr qsizetype kMostBytesPerByte = 6;
    // The room those writers need beyond their result: they store whole
    // blocks, which may reach this many bytes past the end of what they
    // write (the bytes there are left undefined).
    static constexpr qsizetype kSpareBytes = 8;
    // stringBody of the UTF-8 `text` written as UTF-8 at `out`, which has
    // room for kMostBytesPerByte bytes a byte of text and kSpareBytes more.
    // Returns the end of what it wrote.
    static char* writeStringBody(char* out, QUtf8StringView text);
    // The name a category takes in script identifiers (name + "List"). A
    // name made of ASCII letters, digits, "_" and "$" that does not start
    // with a digit is kept as it is; any other character becomes "_x" + its
    // hexadecimal code + "_", and a leading digit gets a "_" in front.
    static QString identifier(const QString& categoryName);
    // True when the UTF-8 text can stand unquoted in a script as a price:
    // digits with at most one decimal point, such as 12, 12.5 or .5.
    static bool isPrice(QUtf8StringView text);
    // Text for an HTML attribute value or element content: &, <, >, " and '
    // become character references.
    static QString html(const QString& text);
    // html of the UTF-8 `text` written at `out`, as writeStringBody does.
    static char* writeHtml(char* out, QUtf8StringView text);
};
