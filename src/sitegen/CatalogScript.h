#pragma once

#include "sitegen/SiteInput.h"

#include <QString>

// The shop's catalog script, data1.js: MakeArray, moneyFormat, Item and one
// 1-based array of items per category.
class CatalogScript {
public:
    static constexpr const char* kFileName = "data1.js";
    // The whole file text, final CR LF included.
    static QString write(const SiteInput& input);
};
