#include "zone/PrivateZone.h"

#include "harvest/HarvestState.h"
#include "platform/Prompts.h"
#include "zone/AdultListing.h"
#include "zone/ZoneBrowser.h"
#include "zone/ZoneSession.h"
#include "zone/ZoneTexts.h"

PrivateZone::PrivateZone(ZoneSession& session, HarvestState& harvest, ZoneBrowser& browser,
                         Prompts& prompts)
    : m_session(session), m_harvest(harvest), m_browser(browser), m_prompts(prompts) {}

void PrivateZone::toggle() {
    setAddressBand(false);
    if (m_session.inPrivateZone())
        return logOut();
    logIn(false);
}

void PrivateZone::logOut() {
    m_session.leavePrivateZone();
    m_browser.showPublicStartPages();
    if (enableSaveImageBuf)
        enableSaveImageBuf(false);
    setAddressBand(true);
}

bool PrivateZone::logIn(bool blockedAccess) {
    setAddressBand(false);
    const std::optional<QString> answer =
        m_prompts.input(ZoneTexts::loginPrompt(), ZoneTexts::loginTitle());
    // A cancelled box is a wrong password, whatever the table holds.
    const std::optional<qsizetype> row = answer ? m_session.findRow(*answer) : std::nullopt;
    if (!row) {
        m_prompts.message(ZoneTexts::wrongPassword());
        setAddressBand(true);
        return false;
    }
    const PrivateZoneRow entry = m_session.privateZoneTable().at(*row);
    m_browser.requestPrivateLists(entry.searchListUrl, entry.channelListUrl, !blockedAccess);
    m_browser.navigateShown(entry.startPageUrl);
    m_session.enterPrivateZone();
    if (enableSaveImageBuf)
        enableSaveImageBuf(true);
    m_browser.setStatusText(2, ZoneTexts::privateZone());
    if (blockedAccess)
        m_browser.navigateFirstView(entry.startPageUrl);
    askTracking();
    return true;
}

void PrivateZone::askTracking() {
    m_session.setTracking(m_prompts.askYesNo(ZoneTexts::trackingQuestion()));
    m_browser.setStatusText(2, m_session.tracking() ? ZoneTexts::trackingOn()
                                                    : ZoneTexts::trackingOff());
}

void PrivateZone::channels() {
    if (!m_session.inPrivateZone())
        return;
    m_session.setTracking(false);
    setAddressBand(false);
}

bool PrivateZone::allowsTypedAddress(const QString& address) {
    const std::optional<QString> entry = m_session.blockingEntry(address);
    if (!entry)
        return true;
    m_prompts.message(ZoneTexts::refused());
    m_harvest.removeLinksContaining(*entry);
    m_browser.listsChanged();
    logIn(true);
    return false;
}

bool PrivateZone::sendsBackCompletedPage(const QString& url) {
    if (!m_session.blockingEntry(url))
        return false;
    m_browser.goBack();
    m_prompts.message(ZoneTexts::refused());
    return true;
}

void PrivateZone::createAdultListing() {
    m_harvest.clearPageQueue();
    m_session.addToAdultListing(m_harvest.linkList);
    m_browser.listsChanged();
    m_prompts.message(ZoneTexts::adultListingCreated());
}

bool PrivateZone::parentsAllow() {
    const std::optional<QString> answer =
        m_prompts.input(ZoneTexts::parentalPrompt(), ZoneTexts::parentalTitle());
    if (answer && *answer == ZoneTexts::parentalPassPhrase())
        return true;
    m_prompts.message(ZoneTexts::wrongPassPhrase());
    return false;
}

void PrivateZone::setAddressBand(bool shown) {
    if (showAddressBand)
        showAddressBand(shown);
}
