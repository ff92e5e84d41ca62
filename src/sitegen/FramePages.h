#pragma once

#include "sitegen/SiteInput.h"

#include <QString>

// The fixed skeleton of the shop: the start page and its framesets, the
// banner, the two left-hand menus, the company page and the store page.
// Each function gives the page text without the page-file writer's final
// line end.
class FramePages {
public:
    static QString startPage(const SiteInput& input);
    static QString secondFrameset();
    static QString banner();
    static QString mainMenu();
    static QString companyPage();
    static QString storePage();
    static QString productsMenu(const SiteInput& input);
};
