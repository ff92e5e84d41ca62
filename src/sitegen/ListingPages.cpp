#include "sitegen/ListingPages.h"

QString ListingPages::pageName(const QString& categoryName) {
    return QStringLiteral("l_") + categoryName;
}
QString ListingPages::listingPage(const SiteInput&, qsizetype) {
    return {};
}
QString ListingPages::combinedPage(const SiteInput&) {
    return {};
}
