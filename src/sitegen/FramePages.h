#pragma once

#include "sitegen/SiteInput.h"

#include <QString>
#include <QStringList>

// The fixed skeleton of the shop: the start page and its framesets, the
// banner, the two left-hand menus, the company page and the store page.
// Each function gives the page text without the page-file writer's final
// line end. The shop's identity (banner, company text, page styles) goes
// into the pages that take it; without one they keep their fixed texts.
class FramePages {
public:
    static QString startPage(const SiteInput& input);
    static QString secondFrameset();
    static QString banner(const SiteInput& input);
    static QString mainMenu(const SiteInput& input);
    static QString companyPage(const SiteInput& input);
    static QString storePage();
    static QString productsMenu(const SiteInput& input);

    // The merchant's text as page text: the HTML specials and every
    // character beyond ASCII become character references (code points),
    // so the page reads the same in whatever encoding a browser guesses;
    // control characters become blanks.
    static QString merchantText(const QString& text);
    // The company text as paragraphs: blocks of lines between empty lines,
    // each block one paragraph with its lines broken by <br>.
    static QStringList companyParagraphs(const QString& companyText);
};
