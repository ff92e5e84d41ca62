#pragma once

#include "browser/ChannelDownloads.h"
#include "channels/LinkRecord.h"

#include <QObject>
#include <QString>
#include <array>

class BrowserController;
class PanelHost;
class QAction;
class QMenu;
class QToolBar;
class QToolButton;

// The channel server's part of the browser window: fills the main
// toolbar's search and channels drop-downs, the search toolbar's buttons,
// the "World" menu and the server menus "menu1" to "menu5" from the
// channel files, and carries out their items, "Investor" and the
// next-featured-page button.
class ChannelPanel : public QObject {
    Q_OBJECT

public:
    // Made once the window's menus and toolbars exist.
    ChannelPanel(BrowserController& controller, PanelHost& window);

    ChannelDownloads& downloads() { return m_downloads; }
    void investor();
    void nextFeatured() { m_downloads.nextFeatured(); }
    void cancel() { m_downloads.cancel(); }

    // Search-toolbar buttons by position (1 and 3 to 8); position 2 has none.
    static constexpr int SearchPositions = 8;
    QToolButton* searchButton(int position) const { return m_searchButtons.at(position - 1); }

private:
    void findSearchButtons();
    void addSearchButton(QToolBar* bar, int position);
    QMenu* goMenu(const QString& name) const;
    void fillDropDown(QMenu* menu, const QList<LinkRecord>& items);
    void fillMenu(int menu, const HeadedList& list);
    void fillSearchButton(int position, const HeadedList& list);
    void showSearchButton(int position, bool shown);
    void fillCountries(const QStringList& countries);
    void search(const QString& prefix);

    BrowserController& m_controller;
    PanelHost& m_window;
    ChannelDownloads m_downloads;
    std::array<QToolButton*, SearchPositions> m_searchButtons{};
    std::array<QAction*, SearchPositions> m_searchActions{};
};
