#pragma once

#include "shop/CatalogOptions.h"
#include "shop/ItemRecord.h"
#include "shop/OrderTemplates.h"
#include "shop/ShopIdentity.h"
#include "shop/SiteSettings.h"

#include <QList>
#include <QString>
#include <QStringList>

// One category as the site writers see it: its name exactly as the merchant
// typed it and the records of its item file, in file order.
struct SiteCategory {
    QString name;
    ItemList items;
    bool operator==(const SiteCategory&) const = default;
};

// Everything the site writers read. Writers never look at widgets or files.
struct SiteInput {
    QList<SiteCategory> categories;
    SiteSettings settings;
    CatalogOptions options;
    OrderTemplates templates = OrderTemplates::defaults();
    ShopIdentity identity;
    // The maker site the shop's credit links lead to (see MakerSite); with
    // none the credit stands unlinked, so a shop carries no dead link.
    QString makerSite;
    // The records of category k.
    const ItemList& items(qsizetype k) const { return categories.at(k).items; }

    // Items whose retail price cannot go into the shop's script, and items
    // whose picture or description address could carry markup into the
    // shop's pages: one line each, with the category, the item ID and the
    // price, or both addresses, as they stand.
    struct ItemFaults {
        QStringList badPrices;
        QStringList unsafeAddresses;
    };
    ItemFaults itemFaults() const;
};
