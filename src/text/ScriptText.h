#pragma once

#include <QByteArray>
#include <QString>

// Puts the merchant's texts into generated scripts and pages so that no
// character can break them. Texts without special characters come out
// unchanged, so ordinary projects give exactly the expected bytes.
class ScriptText {
public:
    // The inside of a double-quoted script string literal: backslash, double
    // quote, line breaks, other control characters and "</" are escaped.
    static QString stringBody(const QString& text);
    // stringBody(text) appended to `utf8` as UTF-8, without a text of its own.
    static void appendStringBody(QByteArray& utf8, QStringView text);
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
    // html(text) appended to `utf8` as UTF-8.
    static void appendHtml(QByteArray& utf8, QStringView text);
    // The text appended to `utf8` as UTF-8, as QString::toUtf8 encodes it.
    static void appendUtf8(QByteArray& utf8, QStringView text);
};
