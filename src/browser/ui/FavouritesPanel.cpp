#include "browser/ui/FavouritesPanel.h"

#include "browser/BrowserController.h"
#include "zone/Favourites.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

using View = BrowserController::View;

// The panel's place over the page: left 0, top 1200, width 3800 and height
// 2200 twips, at 15 twips a pixel.
const QRect kPanelGeometry(0, 80, 253, 146);
const QString kFavouritesTitle = QStringLiteral("Favorites");
const QString kHistoryTitle = QStringLiteral("History");

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

// The panels belong to the page they were placed over; one never placed is
// deleted here.
FavouritesPanel::~FavouritesPanel() {
    for (QWidget* panel : m_panels)
        if (!panel->parent())
            delete panel;
}

void FavouritesPanel::makeList(List which, const QString& name) {
    auto* list = new QListWidget;
    list->setObjectName(name);
    list->setAccessibleName(isFavourites(which) ? kFavouritesTitle : kHistoryTitle);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    list->installEventFilter(this);
    connect(list, &QListWidget::itemActivated, this, [this, which] { openCurrent(which); });
    connect(list, &QListWidget::customContextMenuRequested, this,
            [this, which](const QPoint& at) { offerMenu(which, at); });
    m_lists[which] = list;
    m_panels[which] = makePanel(which);
}

// A title row with a "Close" button above the list.
QWidget* FavouritesPanel::makePanel(List which) {
    auto* panel = new QFrame;
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setAutoFillBackground(true);
    auto* title = new QLabel(isFavourites(which) ? kFavouritesTitle : kHistoryTitle);
    auto* close = new QToolButton;
    close->setText(QStringLiteral("Close"));
    close->setAutoRaise(true);
    connect(close, &QToolButton::clicked, this, &FavouritesPanel::hideAll);
    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(title, 1);
    titleRow->addWidget(close);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addLayout(titleRow);
    layout->addWidget(m_lists[which]);
    panel->hide();
    return panel;
}

void FavouritesPanel::placeOver(QWidget* page) {
    for (QWidget* panel : m_panels) {
        panel->setParent(page);
        panel->hide();
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
    const bool wasHidden = m_panels[which]->isHidden();
    hideAll();
    if (wasHidden)
        show(which);
}

void FavouritesPanel::hideAll() {
    for (QWidget* panel : m_panels)
        panel->hide();
}

// The list takes the focus, so its entries can be gone through by keyboard.
void FavouritesPanel::show(List which) {
    QWidget* panel = m_panels[which];
    panel->setGeometry(kPanelGeometry);
    panel->show();
    panel->raise();
    QListWidget* list = m_lists[which];
    if (list->count() > 0 && !list->currentItem())
        list->setCurrentRow(0);
    list->setFocus(Qt::OtherFocusReason);
}

void FavouritesPanel::showPrivateHistory() {
    show(PrivateHistory);
}

void FavouritesPanel::addFavourite() {
    const List which = zoneFavourites();
    m_controller.zone().addFavourite(
        which, m_controller.url(View::View1),
        Favourites::addDeleteFile(m_home, m_controller.zone().inPrivateZone()));
    m_panels[which]->hide();
    refresh();
}

void FavouritesPanel::removeCurrent(List which) {
    const int row = m_lists[which]->currentRow();
    if (row < 0)
        return;
    if (isFavourites(which))
        m_controller.zone().removeFavourite(
            which, row, Favourites::addDeleteFile(m_home, which == PrivateFavourites));
    else
        m_controller.zone().removeHistoryEntry(which, row);
    refresh();
}

bool FavouritesPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    for (int which = PrivateFavourites; which <= PublicHistory; ++which) {
        if (watched != m_lists[which])
            continue;
        if (key == Qt::Key_Delete) {
            removeCurrent(static_cast<List>(which));
            return true;
        }
        if (key == Qt::Key_Escape) {
            hideAll();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

// Favourites open in the shown view, history entries in view 1 only.
void FavouritesPanel::openCurrent(List which) {
    const QListWidgetItem* item = m_lists[which]->currentItem();
    if (!item)
        return;
    if (isFavourites(which))
        m_controller.navigateShown(item->text());
    else
        Q_EMIT m_controller.navigateRequested(View::View1, item->text());
}

// The menu acts on the entry under the pointer, which becomes the current
// one; outside every entry there is nothing to offer.
void FavouritesPanel::offerMenu(List which, const QPoint& at) {
    QListWidget* list = m_lists[which];
    QListWidgetItem* item = list->itemAt(at);
    if (!item)
        return;
    list->setCurrentItem(item);
    auto* menu = new QMenu(list);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction(QStringLiteral("Open"), this, [this, which] { openCurrent(which); });
    menu->addAction(QStringLiteral("Delete"), this, [this, which] { removeCurrent(which); });
    menu->popup(list->viewport()->mapToGlobal(at));
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
