#include "browser/ui/FavouritesPanel.h"

#include "browser/BrowserController.h"
#include "zone/Favourites.h"

#include <QListWidget>
#include <QMouseEvent>

namespace {

using View = BrowserController::View;

// The panel's place over the page: left 0, top 1200, width 3800 and height
// 2200 twips, at 15 twips a pixel.
const QRect kPanelGeometry(0, 80, 253, 146);

QStringList itemsOf(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

} // namespace

FavouritesPanel::FavouritesPanel(BrowserController& controller, const QString& homeFolder)
    : m_controller(controller), m_home(homeFolder) {
    makeList(PrivateFavourites, QStringLiteral("favorit"));
    makeList(PublicFavourites, QStringLiteral("favorit2"));
    makeList(PrivateHistory, QStringLiteral("domain"));
    makeList(PublicHistory, QStringLiteral("domain2"));
    connect(&m_controller, &BrowserController::changed, this, &FavouritesPanel::refresh);
    refresh();
}

// The lists belong to the page they were placed over; one never placed is
// deleted here.
FavouritesPanel::~FavouritesPanel() {
    for (QListWidget* list : m_lists)
        if (!list->parent())
            delete list;
}

void FavouritesPanel::makeList(List which, const QString& name) {
    auto* list = new QListWidget;
    list->setObjectName(name);
    list->setAccessibleName(name);
    list->hide();
    list->viewport()->installEventFilter(this);
    connect(list, &QListWidget::itemDoubleClicked, this, [this, which] { removeSelected(which); });
    m_lists[which] = list;
}

void FavouritesPanel::placeOver(QWidget* page) {
    for (QListWidget* list : m_lists) {
        list->setParent(page);
        list->hide();
    }
}

FavouritesPanel::List FavouritesPanel::zoneFavourites() const {
    return m_controller.zone().inPrivateZone() ? PrivateFavourites : PublicFavourites;
}

FavouritesPanel::List FavouritesPanel::zoneHistory() const {
    return m_controller.zone().inPrivateZone() ? PrivateHistory : PublicHistory;
}

void FavouritesPanel::toggleFavourites() {
    toggle(zoneFavourites());
}

void FavouritesPanel::toggleHistory() {
    toggle(zoneHistory());
}

// A hidden list is shown alone; a shown one hides all four.
void FavouritesPanel::toggle(List which) {
    const bool wasHidden = m_lists[which]->isHidden();
    for (QListWidget* list : m_lists)
        list->hide();
    if (wasHidden)
        show(which);
}

void FavouritesPanel::show(List which) {
    QListWidget* list = m_lists[which];
    list->setGeometry(kPanelGeometry);
    list->show();
    list->raise();
}

void FavouritesPanel::showPrivateHistory() {
    show(PrivateHistory);
}

void FavouritesPanel::addFavourite() {
    const List which = zoneFavourites();
    m_controller.zone().addFavourite(
        which, m_controller.url(View::View1),
        Favourites::addDeleteFile(m_home, m_controller.zone().inPrivateZone()));
    m_lists[which]->hide();
    refresh();
}

void FavouritesPanel::removeSelected(List which) {
    const int row = m_lists[which]->currentRow();
    if (isFavourites(which))
        m_controller.zone().removeFavourite(
            which, row, Favourites::addDeleteFile(m_home, which == PrivateFavourites));
    else
        m_controller.zone().removeHistoryEntry(which, row);
    refresh();
}

bool FavouritesPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        for (int which = PrivateFavourites; which <= PublicHistory; ++which)
            if (watched == m_lists[which]->viewport()) {
                openSelected(static_cast<List>(which));
                return true;
            }
    }
    return QObject::eventFilter(watched, event);
}

// Favourites open in the shown view, history entries in view 1 only.
void FavouritesPanel::openSelected(List which) {
    const QListWidgetItem* item = m_lists[which]->currentItem();
    if (!item)
        return;
    if (isFavourites(which))
        m_controller.navigateShown(item->text());
    else
        Q_EMIT m_controller.navigateRequested(View::View1, item->text());
}

void FavouritesPanel::refresh() {
    for (int which = PrivateFavourites; which <= PublicHistory; ++which) {
        QListWidget* list = m_lists[which];
        const QStringList& wanted = m_controller.zone().entries(static_cast<List>(which));
        if (itemsOf(list) == wanted)
            continue;
        const int current = list->currentRow();
        list->clear();
        list->addItems(wanted);
        list->setCurrentRow(std::min(current, static_cast<int>(wanted.size()) - 1));
    }
}
