#include "browser/ui/ChannelPanel.h"

#include "browser/BrowserController.h"
#include "browser/MakerPages.h"
#include "browser/ui/PanelHost.h"

#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

namespace {

// The window's four search-toolbar buttons stand at these positions; the
// panel adds the three after them.
constexpr std::array<int, 4> kWindowPositions = {1, 3, 4, 5};
constexpr std::array<int, 3> kAddedPositions = {6, 7, 8};

} // namespace

ChannelPanel::ChannelPanel(BrowserController& controller, PanelHost& window)
    : m_controller(controller), m_window(window), m_downloads(controller) {
    findSearchButtons();
    connect(
        &m_downloads, &ChannelDownloads::channelsArrived, this,
        [this](const QList<LinkRecord>& items) { fillDropDown(m_window.channelsMenu(), items); });
    connect(&m_downloads, &ChannelDownloads::searchListArrived, this,
            [this](const QList<LinkRecord>& items) { fillDropDown(m_window.searchMenu(), items); });
    connect(&m_downloads, &ChannelDownloads::menuArrived, this, &ChannelPanel::fillMenu);
    connect(&m_downloads, &ChannelDownloads::searchButtonArrived, this,
            &ChannelPanel::fillSearchButton);
    connect(&m_downloads, &ChannelDownloads::searchButtonRefused, this,
            [this](int position) { showSearchButton(position, false); });
    connect(&m_downloads, &ChannelDownloads::countriesArrived, this, &ChannelPanel::fillCountries);
}

void ChannelPanel::findSearchButtons() {
    QToolBar* bar = &m_window.searchToolbar();
    for (size_t i = 0; i < kWindowPositions.size(); ++i) {
        auto* button = qobject_cast<QToolButton*>(m_window.searchToolbarMenus()[i]->parentWidget());
        m_searchButtons[kWindowPositions[i] - 1] = button;
        for (QAction* action : bar->actions())
            if (bar->widgetForAction(action) == button)
                m_searchActions[kWindowPositions[i] - 1] = action;
    }
    for (const int position : kAddedPositions)
        addSearchButton(bar, position);
}

// Hidden until its file names it.
void ChannelPanel::addSearchButton(QToolBar* bar, int position) {
    auto* button = new QToolButton;
    button->setMenu(new QMenu(button));
    button->setPopupMode(QToolButton::InstantPopup);
    m_searchButtons[position - 1] = button;
    m_searchActions[position - 1] = bar->addWidget(button);
    m_searchActions[position - 1]->setVisible(false);
}

QMenu* ChannelPanel::goMenu(const QString& name) const {
    return m_window.goMenu(name);
}

// The chart is a file of the program's folder; while no channel server has
// put one there, the shipped page says so.
void ChannelPanel::investor() {
    const QString chart = m_controller.homeFolder() + QStringLiteral("/chart1.htm");
    m_controller.navigateShown(QFileInfo::exists(chart)
                                   ? QUrl::fromLocalFile(chart).toString()
                                   : MakerPages::shipped(QStringLiteral("investor.htm")));
}

void ChannelPanel::fillDropDown(QMenu* menu, const QList<LinkRecord>& items) {
    menu->clear();
    for (const LinkRecord& item : items)
        menu->addAction(item.caption, this,
                        [this, url = item.url] { m_controller.navigateShown(url); });
}

void ChannelPanel::fillMenu(int menu, const HeadedList& list) {
    QMenu* target = goMenu(QStringLiteral("menu%1").arg(menu));
    if (!target)
        return;
    target->clear();
    target->setTitle(list.caption);
    for (const LinkRecord& item : list.records)
        target->addAction(item.caption, this,
                          [this, url = item.url] { m_controller.navigateShown(url); });
    target->menuAction()->setVisible(true);
}

void ChannelPanel::fillSearchButton(int position, const HeadedList& list) {
    QToolButton* button = searchButton(position);
    QMenu* menu = button->menu();
    menu->clear();
    for (const LinkRecord& item : list.records)
        menu->addAction(item.caption, this, [this, prefix = item.url] { search(prefix); });
    button->setText(list.caption);
    button->setToolTip(list.caption);
    button->setAccessibleName(list.caption);
    showSearchButton(position, true);
}

void ChannelPanel::showSearchButton(int position, bool shown) {
    if (QAction* action = m_searchActions.at(position - 1))
        action->setVisible(shown);
}

// The words are percent-encoded, so that "&", "?" or "#" in them reach the
// search engine as part of the query instead of ending it.
void ChannelPanel::search(const QString& prefix) {
    const QByteArray words = QUrl::toPercentEncoding(m_window.searchWordsText());
    m_controller.navigateShown(prefix + QString::fromLatin1(words));
}

void ChannelPanel::fillCountries(const QStringList& countries) {
    QMenu* world = goMenu(QStringLiteral("World"));
    if (!world)
        return;
    world->clear();
    for (const QString& country : countries)
        world->addAction(country, this, [this, country] { m_downloads.chooseCountry(country); });
    world->setEnabled(true);
}
