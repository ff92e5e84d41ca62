#pragma once

#include "zone/ZoneSession.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>

class BrowserController;
class QEvent;
class QListWidget;
class QPoint;
class QWidget;

// The four address lists of the browser window, shown one at a time as a
// small titled panel over the page: the private and public favourites
// (`favorit`, `favorit2`) and the private and public history lists
// (`domain`, `domain2`). Enter or a double-click opens the entry, Delete
// removes it (a favourites list rewrites its add/delete file at once), the
// right mouse button offers both for the entry under the pointer, and
// Escape or the panel's "Close" button hides the panel. The lists
// themselves live in the controller's zone session.
class FavouritesPanel : public QObject {
    Q_OBJECT

public:
    using List = ZoneSession::List;
    using enum ZoneSession::List;

    FavouritesPanel(BrowserController& controller, const QString& homeFolder);
    ~FavouritesPanel() override;

    // Puts the panels over `page` (they start hidden).
    void placeOver(QWidget* page);
    QListWidget* list(List which) const { return m_lists[which]; }
    // The titled panel that holds the list.
    QWidget* panel(List which) const { return m_panels[which]; }

    // Main toolbar button 8: the zone's favourites.
    void toggleFavourites();
    // "History" and button 9: the zone's history list.
    void toggleHistory();
    // "Add favorites": view 1's page joins the zone's favourites.
    void addFavourite();
    // "Edit adult listing": the private history list, shown for editing.
    void showPrivateHistory();
    // Shows what the controller's lists hold.
    void refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void makeList(List which, const QString& name);
    QWidget* makePanel(List which);
    void toggle(List which);
    void show(List which);
    void hideAll();
    void removeCurrent(List which);
    void openCurrent(List which);
    void offerMenu(List which, const QPoint& at);
    bool isFavourites(List which) const { return which <= PublicFavourites; }
    List zoneFavourites() const;
    List zoneHistory() const;

    BrowserController& m_controller;
    QString m_home;
    std::array<QListWidget*, 4> m_lists{};
    std::array<QWidget*, 4> m_panels{};
};
