#include "zone/PrivateZone.h"

#include "platform/Prompts.h"
#include "zone/AdultListing.h"
#include "zone/ZoneTexts.h"

PrivateZone::PrivateZone(BrowserController& controller, Prompts& prompts)
    : m_controller(controller), m_prompts(prompts) {}

void PrivateZone::toggle() {
    setAddressBand(false);
    if (m_controller.privateZone)
        return logOut();
    logIn(false);
}

void PrivateZone::logOut() {
    m_controller.privateZone = false;
    if (m_controller.isShown(View::View1))
        Q_EMIT m_controller.navigateRequested(View::View1, m_controller.location1() +
                                                               QStringLiteral("index.htm"));
    if (m_controller.isShown(View::View2))
        Q_EMIT m_controller.navigateRequested(View::View2, m_controller.location1() +
                                                               QStringLiteral("welcome.htm"));
    if (enableSaveImageBuf)
        enableSaveImageBuf(false);
    m_controller.tracking = false;
    setAddressBand(true);
}

bool PrivateZone::logIn(bool blockedAccess) {
    setAddressBand(false);
    const std::optional<QString> answer =
        m_prompts.input(ZoneTexts::loginPrompt(), ZoneTexts::loginTitle());
    // A cancelled box is a wrong password, whatever the table holds.
    const std::optional<qsizetype> row = answer ? findRow(*answer) : std::nullopt;
    if (!row) {
        m_prompts.message(ZoneTexts::wrongPassword());
        setAddressBand(true);
        return false;
    }
    const BrowserController::PrivateZoneRow entry = m_controller.privateZoneTable.at(*row);
    Q_EMIT m_controller.privateListsWanted(entry.searchListUrl, entry.channelListUrl,
                                           !blockedAccess);
    m_controller.navigateShown(entry.startPageUrl);
    m_controller.privateZone = true;
    if (enableSaveImageBuf)
        enableSaveImageBuf(true);
    m_controller.setStatusText(2, ZoneTexts::privateZone());
    if (blockedAccess)
        Q_EMIT m_controller.navigateRequested(View::View1, entry.startPageUrl);
    askTracking();
    return true;
}

void PrivateZone::askTracking() {
    m_controller.tracking = m_prompts.askYesNo(ZoneTexts::trackingQuestion());
    m_controller.setStatusText(2, m_controller.tracking ? ZoneTexts::trackingOn()
                                                        : ZoneTexts::trackingOff());
}

void PrivateZone::channels() {
    if (!m_controller.privateZone)
        return;
    m_controller.tracking = false;
    setAddressBand(false);
}

std::optional<qsizetype> PrivateZone::findRow(const QString& password) const {
    // An empty answer never logs in, even against a record without one.
    if (password.isEmpty())
        return std::nullopt;
    const auto& table = m_controller.privateZoneTable;
    for (qsizetype row = 0; row < table.size(); ++row)
        if (table.at(row).password == password)
            return row;
    return std::nullopt;
}

bool PrivateZone::allowsTypedAddress(const QString& address) {
    if (m_controller.privateZone)
        return true;
    const std::optional<QString> entry =
        AdultListing::firstMatch(address, m_controller.privateHistory);
    if (!entry)
        return true;
    m_prompts.message(ZoneTexts::refused());
    AdultListing::removeLinks(m_controller.harvest.linkList, *entry);
    Q_EMIT m_controller.changed();
    logIn(true);
    return false;
}

bool PrivateZone::sendsBackCompletedPage(const QString& url) {
    if (m_controller.privateZone || !AdultListing::firstMatch(url, m_controller.privateHistory))
        return false;
    m_controller.run(BrowserController::Command::Back);
    m_prompts.message(ZoneTexts::refused());
    return true;
}

void PrivateZone::createAdultListing() {
    m_controller.harvest.pageQueue.clear();
    AdultListing::create(m_controller.harvest.linkList, m_controller.privateHistory);
    Q_EMIT m_controller.changed();
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
