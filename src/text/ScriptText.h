#pragma once

#include <QByteArray>
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
    // Appends stringBody of the UTF-8 `text` to `out`, as UTF-8.
    static void appendStringBody(QByteArray& out, QUtf8StringView text);

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
    // Appends html of the UTF-8 `text` to `out`, as UTF-8.
    static void appendHtml(QByteArray& out, QUtf8StringView text);
};
