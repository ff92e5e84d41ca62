#pragma once

#include <QString>

// Text and addresses taken from web pages, made safe to write into the
// pages and files the program generates. Pages are written by strangers:
// their text is escaped so it stays text, and only web addresses become
// links or picture sources, so nothing harvested can run as script.
class WebMarkup {
public:
    // The text with & < > " and ' written as character references.
    static QString text(const QString& plain);
    // The reverse of text(), for showing a row's text outside a page.
    static QString plain(const QString& escaped);
    // An http, https, ftp or mailto address: one that may become a link or
    // a picture source.
    static bool isWebAddress(const QString& url);
    // An http, https or ftp address: one a harvested list may open.
    static bool isPageAddress(const QString& url);
    // An http, https or ftp address with no blank, quote, angle bracket or
    // control character: one that may go into a catalog, the picture buffer
    // or the store generator as it stands.
    static bool isPlainWebAddress(const QString& url);
    // "<a href='URL'>" with the address escaped, or "<a>" (a link to
    // nowhere) when it is not a web address.
    static QString anchor(const QString& url);
    // "<img src='URL'>" for a web address; any other is shown as its text.
    static QString picture(const QString& url);
    // The head element that forbids every script in a generated page.
    static QString noScriptPolicy();
};
