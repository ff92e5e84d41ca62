#pragma once

#include "zone/PrivateZone.h"

#include <QObject>
#include <memory>

class BrowserController;
class PanelHost;
class FavouritesPanel;
class Prompts;

// The zones' part of the browser window: the favourites and history lists,
// the private-zone login and logout ("Private"), "Channels", "Open
// Collection", the adult listing's commands, the domains recorded from
// every page a user view loads, and the blocked-site checks of typed
// addresses and completed pages in the public zone. The address band is
// hidden for the whole private-zone visit.
class ZonePanel : public QObject {
    Q_OBJECT

public:
    ZonePanel(BrowserController& controller, PanelHost& window, Prompts& prompts);
    ~ZonePanel() override;

    FavouritesPanel& lists() const { return *m_lists; }

    void togglePrivate();      // "Private"
    void channels();           // "Channels"
    void openCollection();     // "Open Collection"
    void createAdultListing(); // "Create adult listing"
    void editAdultListing();   // "Edit adult listing"

private:
    void showAddressBand(bool shown);

    BrowserController& m_controller;
    PanelHost& m_window;
    Prompts& m_prompts;
    std::unique_ptr<FavouritesPanel> m_lists;
    PrivateZone m_zone;
};
