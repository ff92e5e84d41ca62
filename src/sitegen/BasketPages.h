#pragma once

#include "sitegen/SiteInput.h"

#include <QString>

// The retail basket (basket.htm) and the wholesale basket (wbasket.htm).
// Texts are without the page-file writer's final line end.
class BasketPages {
public:
    static QString retail(const SiteInput& input);
    static QString wholesale(const SiteInput& input);
};
