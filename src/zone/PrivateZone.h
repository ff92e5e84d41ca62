#pragma once

#include <QString>
#include <functional>
#include <optional>

class HarvestState;
class Prompts;
class ZoneBrowser;
class ZoneSession;

// The private zone and the public zone's blocked sites: logging in with a
// password of the private-zone table and out again, the tracking question,
// the checks of typed addresses and completed pages against the adult
// listing, and the commands on the adult listing. The window says how the
// address band and "Save image buf" are shown through the two callbacks.
class PrivateZone {
public:
    PrivateZone(ZoneSession& session, HarvestState& harvest, ZoneBrowser& browser,
                Prompts& prompts);

    // Called with false while the address band is to be hidden, with true
    // when it is to be shown again.
    std::function<void(bool shown)> showAddressBand;
    // Called with true on login and false on logout.
    std::function<void(bool enabled)> enableSaveImageBuf;

    // "Private": logs out inside the private zone, asks for the password
    // outside it.
    void toggle();
    // "Channels": inside the private zone, stops tracking.
    void channels();

    // An address entered or chosen in the address box, in the public zone:
    // false when the adult listing refuses it (the user is then offered the
    // private-zone login).
    bool allowsTypedAddress(const QString& address);
    // A page the shown view completed, in the public zone: a refused page is
    // left with Back; true when it was.
    bool sendsBackCompletedPage(const QString& url);

    // "Create adult listing": the hosts of the link list join the listing.
    void createAdultListing();
    // "Edit adult listing": true when the parental pass phrase is given.
    bool parentsAllow();

private:
    void logOut();
    // Asks for the password and enters the private zone; `blockedAccess`:
    // asked because a typed address was refused.
    bool logIn(bool blockedAccess);
    void askTracking();
    void setAddressBand(bool shown);

    ZoneSession& m_session;
    HarvestState& m_harvest;
    ZoneBrowser& m_browser;
    Prompts& m_prompts;
};
