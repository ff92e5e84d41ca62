#pragma once

#include "shop/SiteSettings.h"
#include "sitegen/Publisher.h"

#include <QString>
#include <QStringList>

// Where and as whom a site is published: the "FrontPage settings" of the
// "Settings" tab and the project.
struct PublishTarget {
    QString server;
    QString user;
    QString password;
    QString projectName; // the web's name on the server
    QString folder;      // the project folder holding the site
};

// What a publish achieved, for the one message at its end.
struct PublishReport {
    int published = 0;
    QStringList missing;  // site files not found in the project folder, not sent
    QStringList failures; // "address: reason" for each file that did not go up
    QString error;        // why publishing stopped before sending, if it did

    bool ok() const { return error.isEmpty() && failures.isEmpty(); }
    QString summary(const PublishTarget& target) const;
};

// Runs the publishing calls on a back end in their fixed order.
class SitePublishing {
public:
    // "Front Page": the whole site of the layout, with the shop's pictures
    // (their names in the site). The web is opened; when it exists, the
    // site's own files are removed from it; it is created when needed; then
    // the files go up.
    static PublishReport publishSite(Publisher& publisher, const PublishTarget& target,
                                     const QString& startFileName, SiteSettings::Layout layout,
                                     const QStringList& categories,
                                     const QStringList& pictureNames = {});
    // "Update": the web is opened and data1.js alone goes up.
    static PublishReport publishCatalog(Publisher& publisher, const PublishTarget& target);
};
