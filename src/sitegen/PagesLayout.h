#pragma once

#include "sitegen/OrderPages.h"
#include "sitegen/SiteInput.h"

#include <QList>
#include <QString>

// The shop as ordinary pages without frames, for phones and desktops alike.
// Every page loads the catalog script, the basket script (shop.js) and the
// style sheet (shop.css); the basket lives in the browser's session storage,
// so a reload or a link within the shop keeps it. The order pages are the
// framed shop's own pages with this layout's head, menu and footer put in:
// the same order script, the same forms, the same fields in the order mail.
// Texts are without the page-file writer's final line end.
class PagesLayout {
public:
    static constexpr const char* kStyleSheetName = "shop.css";
    static constexpr const char* kBasketScriptName = "shop.js";

    static QString startPage(const SiteInput& input);
    // The listing page of category k: its items are drawn from the catalog
    // when the page is shown, as in the framed shop.
    static QString listingPage(const SiteInput& input, qsizetype k);
    static QString basketPage(const SiteInput& input, OrderPages::Prices prices);
    // "Do Your self": every category as one choice of its items.
    static QString combinedPage(const SiteInput& input);
    // A page of the framed shop (an order page or the payment choice) with
    // this layout's head after its head tag, the menu after its body tag and
    // the footer before its closing body tag.
    static QString framedPageWithoutFrames(const SiteInput& input, const QString& framed);

    // The fixed files every such shop carries.
    static QByteArray styleSheet();
    static QByteArray basketScript();
};
