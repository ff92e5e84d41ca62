#include "sitegen/FramePages.h"

QString FramePages::startPage(const SiteInput&) {
    return {};
}
QString FramePages::secondFrameset() {
    return {};
}
QString FramePages::banner() {
    return {};
}
QString FramePages::mainMenu() {
    return {};
}
QString FramePages::companyPage() {
    return {};
}
QString FramePages::storePage() {
    return {};
}
QString FramePages::productsMenu(const SiteInput&) {
    return {};
}
