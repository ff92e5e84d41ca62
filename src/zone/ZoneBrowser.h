#pragma once

#include <QString>

// What the zone commands ask of the browser: pages in its views, the
// private lists from the channel server, status texts and a redraw of the
// lists it shows.
class ZoneBrowser {
public:
    virtual ~ZoneBrowser() = default;

    // The public start pages in the shown views (logging out).
    virtual void showPublicStartPages() = 0;
    virtual void navigateShown(const QString& url) = 0;
    // Loads `url` in the first view, shown or not.
    virtual void navigateFirstView(const QString& url) = 0;
    // The row's search list and channel list in place of the public ones;
    // `retry` keeps asking until both arrived.
    virtual void requestPrivateLists(const QString& searchListUrl, const QString& channelListUrl,
                                     bool retry) = 0;
    // Back in the shown views.
    virtual void goBack() = 0;
    virtual void setStatusText(int panel, const QString& text) = 0;
    // A list the browser shows changed.
    virtual void listsChanged() = 0;
};
