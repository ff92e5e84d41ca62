#pragma once

#include "ItemFixture.h"
#include "sitegen/SiteInput.h"

// The two-category shop of the exact-text tests: "Tools" with two items and
// "Paint" with one, default settings (banner layout), and every catalog
// option either off or on.
inline SiteInput twoCategorySite(bool allOptionsOn) {
    SiteInput input;
    input.settings = SiteSettings::defaults();
    input.options = {allOptionsOn, allOptionsOn, allOptionsOn, allOptionsOn};
    input.categories = {
        {QStringLiteral("Tools"),
         {item(QStringLiteral(
              "T100^Claw hammer^12.50^pics/hammer.jpg^desc/hammer.htm^Acme^1.5^9.00^1^")),
          item(QStringLiteral(
              "T200^Tape measure^7.25^pics/tape.jpg^desc/tape.htm^Stanley^0.5^5.10^1^"))}},
        {QStringLiteral("Paint"),
         {item(QStringLiteral(
             "P300^White paint 1 gal^21.00^pics/paint.jpg^desc/paint.htm^Dulux^4^15.75^1^"))}},
    };
    return input;
}
