#pragma once

#include "sitegen/SiteInput.h"

#include <QByteArrayView>
#include <QString>
#include <functional>

// The pages where the shopper picks goods: one listing page per category,
// drawn from the catalog script when shown, and the combined order page
// with every category as one drop-down list. Texts are without the
// page-file writer's final line end.
class ListingPages {
public:
    // Takes a page's text piece by piece, as UTF-8; pieces end at line ends.
    using TextOut = std::function<void(QByteArrayView)>;

    // The page name ("l_" + category name) of a category's listing page.
    static QString pageName(const QString& categoryName);
    static QString listingPage(const SiteInput& input, qsizetype categoryIndex);
    static QString combinedPage(const SiteInput& input);
    // The same page in pieces of bounded size, in order.
    static void combinedPage(const SiteInput& input, const TextOut& out);
};
