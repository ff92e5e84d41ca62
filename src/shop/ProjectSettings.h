#pragma once

#include "shop/CatalogOptions.h"
#include "shop/OrderTemplates.h"
#include "shop/ShopIdentity.h"
#include "shop/SiteSettings.h"

// Everything the store generator window holds besides the categories and
// the items: what a project keeps, so that the window and the `generate`
// and `publish` commands write and publish the same site. The password is
// never part of it; the keyring keeps that.
struct ProjectSettings {
    SiteSettings site = SiteSettings::defaults();
    CatalogOptions options;
    OrderTemplates templates = OrderTemplates::defaults();
    ShopIdentity identity;

    bool operator==(const ProjectSettings&) const = default;
};
