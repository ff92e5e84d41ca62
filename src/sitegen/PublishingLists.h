#pragma once

#include "shop/SiteSettings.h"

#include <QString>
#include <QStringList>

// The two lists a publish hands to the back end, entry for entry in the
// same order, each entry followed by a line feed: the local paths of the
// site's files and their addresses relative to the web.
struct PublishingLists {
    QString fileList;
    QString addressList;

    // Every file of the site in the layout, in the fixed publishing order:
    // the pages, data1.js, one listing page per category, then the shop's
    // pictures (their names in the site).
    static PublishingLists forSite(const QString& folder, const QString& startFileName,
                                   SiteSettings::Layout layout, const QStringList& categories,
                                   const QStringList& pictureNames = {});
    // data1.js alone, as "Update" sends it.
    static PublishingLists forCatalog(const QString& folder);

    // The entries of a list text (a CR before a line feed is dropped).
    static QStringList entries(const QString& list);
    static QString listText(const QStringList& entries);

    // The same entries in the order they should go up: a page only after
    // what it links to, so a shopper never loads a page whose catalog or
    // pages are not there yet. The start page goes last.
    PublishingLists inUploadOrder(const QString& startFileName) const;
    // Only the entries whose local file exists; the others' addresses go
    // to `missing`.
    PublishingLists existing(QStringList* missing) const;
};
