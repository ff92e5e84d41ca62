#include "orders/ui/OrdersDialog.h"

#include "orders/OrderController.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QStandardItemModel* tableModel(const QStringList& columns, QObject* parent) {
    auto* model = new QStandardItemModel(0, int(columns.size()), parent);
    model->setHorizontalHeaderLabels(columns);
    return model;
}

void appendRow(QStandardItemModel* model, const QStringList& values) {
    QList<QStandardItem*> items;
    for (const QString& value : values) {
        auto* item = new QStandardItem(value);
        item->setEditable(false);
        items << item;
    }
    model->appendRow(items);
}

QTableView* tableView(QAbstractItemModel* model, const QString& name) {
    auto* view = new QTableView;
    view->setModel(model);
    view->setAccessibleName(name);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->horizontalHeader()->setStretchLastSection(true);
    return view;
}

QLabel* buddyLabel(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

} // namespace

OrdersDialog::OrdersDialog(OrderController& controller, QWidget* parent)
    : QDialog(parent), m_controller(controller) {
    setWindowTitle(QStringLiteral("Orders"));
    m_list = tableModel(OrderStore::orderColumns(), this);
    m_details = tableModel(OrderStore::detailColumns(), this);
    m_listView = tableView(m_list, QStringLiteral("Orders, newest first"));
    QTableView* detailView = tableView(m_details, QStringLiteral("Order Details"));
    m_state = new QLabel;
    m_state->setAccessibleName(QStringLiteral("State"));
    m_state->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    m_refresh = buttons->addButton(QStringLiteral("&Refresh"), QDialogButtonBox::ActionRole);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buddyLabel(QStringLiteral("&Orders, newest first:"), m_listView));
    layout->addWidget(m_listView, 3);
    layout->addWidget(buddyLabel(QStringLiteral("Order &Details:"), detailView));
    layout->addWidget(detailView, 2);
    layout->addWidget(m_state);
    layout->addWidget(buttons);
    resize(900, 600);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_refresh, &QPushButton::clicked, this, &OrdersDialog::refresh);
    connect(&m_controller, &OrderController::ordersRead, this, &OrdersDialog::showOrders);
    connect(m_listView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { showDetails(current.row()); });
    refresh();
}

void OrdersDialog::showFor(OrderController& controller, QWidget* parent) {
    if (!controller.mayOpenStore())
        return;
    OrdersDialog dialog(controller, parent);
    dialog.exec();
}

void OrdersDialog::refresh() {
    m_refresh->setEnabled(false);
    m_state->setText(QStringLiteral("Reading the orders..."));
    m_controller.readOrders();
}

// Orders that cannot be read are said, not shown as none.
void OrdersDialog::showOrders(const QList<StoredOrder>& orders, const QString& problem) {
    m_refresh->setEnabled(true);
    m_state->setText(
        problem.isEmpty() ? QString() : QStringLiteral("The orders could not be read: ") + problem);
    m_orders = orders;
    m_list->removeRows(0, m_list->rowCount());
    for (const StoredOrder& order : m_orders)
        appendRow(m_list, order.values);
    showDetails(-1);
    if (!m_orders.isEmpty())
        m_listView->selectRow(0);
}

void OrdersDialog::showDetails(int row) {
    m_details->removeRows(0, m_details->rowCount());
    if (row < 0 || row >= m_orders.size())
        return;
    for (const QStringList& detail : m_orders.at(row).details)
        appendRow(m_details, detail);
}
