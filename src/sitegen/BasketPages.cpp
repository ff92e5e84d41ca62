#include "sitegen/BasketPages.h"

QString BasketPages::retail(const SiteInput&) {
    return {};
}
QString BasketPages::wholesale(const SiteInput&) {
    return {};
}
