#include "sitegen/OrderPages.h"

QString OrderPages::orderScript(const SiteInput&, Prices) {
    return {};
}
QString OrderPages::weightShipping() {
    return {};
}
QList<NamedPage> OrderPages::retailPages(const SiteInput&) {
    return {};
}
QList<NamedPage> OrderPages::wholesalePages(const SiteInput&) {
    return {};
}
