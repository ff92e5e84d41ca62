#include "browser/ui/ZonePanel.h"

#include "browser/BrowserController.h"
#include "browser/ui/BufferPanel.h"
#include "browser/ui/FavouritesPanel.h"
#include "browser/ui/PanelHost.h"
#include "harvest/DocumentSnapshot.h"
#include "platform/Prompts.h"
#include "zone/ZoneTexts.h"

#include <QToolBar>

ZonePanel::ZonePanel(BrowserController& controller, PanelHost& window, Prompts& prompts)
    : m_controller(controller), m_window(window), m_prompts(prompts),
      m_lists(std::make_unique<FavouritesPanel>(controller, controller.homeFolder())),
      m_zone(controller.zone(), controller.harvest(), controller, prompts) {
    m_zone.showAddressBand = [this](bool shown) { showAddressBand(shown); };
    m_zone.enableSaveImageBuf = [this](bool enabled) {
        m_window.buffers().setSaveImageBufEnabled(enabled);
    };
    m_controller.addressCheck = [this](const QString& address) {
        return m_zone.allowsTypedAddress(address);
    };
    connect(&m_controller, &BrowserController::shownPageCompleted, this,
            [this](int, const QString& url) { m_zone.sendsBackCompletedPage(url); });
    connect(&m_controller, &BrowserController::documentArrived, this,
            [this](int, const DocumentSnapshot& document) {
                if (m_controller.zone().recordVisit(document.domain))
                    m_lists->refresh();
            });
}

ZonePanel::~ZonePanel() {
    m_controller.addressCheck = nullptr;
}

void ZonePanel::togglePrivate() {
    m_zone.toggle();
}

void ZonePanel::channels() {
    m_zone.channels();
}

void ZonePanel::openCollection() {
    const std::optional<QString> file =
        m_prompts.openFile(ZoneTexts::collectionFilter(m_controller.zone().inPrivateZone()),
                           m_controller.homeFolder());
    if (file && !file->isEmpty())
        m_controller.navigateShown(*file);
}

void ZonePanel::createAdultListing() {
    m_zone.createAdultListing();
}

void ZonePanel::editAdultListing() {
    if (m_zone.parentsAllow())
        m_lists->showPrivateHistory();
}

void ZonePanel::showAddressBand(bool shown) {
    m_window.addressBand().setVisible(shown);
}
