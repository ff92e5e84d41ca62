#pragma once

// The four catalog options of the "Layout" tab. They decide which item
// properties and columns the catalog script and the pages carry, so every
// file of one site must be written with the same options.
struct CatalogOptions {
    bool manufacturer = false;
    bool descriptionUrl = false;
    bool pictureUrl = false;
    bool weight = false;

    bool operator==(const CatalogOptions&) const = default;
};
