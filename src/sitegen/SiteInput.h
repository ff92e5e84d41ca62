#pragma once

#include "store/CatalogOptions.h"
#include "store/ItemRecord.h"
#include "store/OrderTemplates.h"
#include "store/SiteSettings.h"

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

    // Items whose retail price cannot go into the shop's script, one line
    // each: category, item ID and the price as it stands.
    QStringList badPrices() const;
    // Items whose picture or description address could carry markup into
    // the shop's pages, one line each: category, item ID and both addresses.
    QStringList badAddresses() const;
};
