#include "orders/ui/OrdersDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
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

OrdersDialog::OrdersDialog(OrderStore& store, QWidget* parent)
    : QDialog(parent), m_orders(store.orders().valueOr({})) {
    setWindowTitle(QStringLiteral("Orders"));
    auto* orders = tableModel(OrderStore::orderColumns(), this);
    for (const StoredOrder& order : m_orders)
        appendRow(orders, order.values);
    m_details = tableModel(OrderStore::detailColumns(), this);
    QTableView* orderView = tableView(orders, QStringLiteral("Orders, newest first"));
    QTableView* detailView = tableView(m_details, QStringLiteral("Order Details"));
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buddyLabel(QStringLiteral("&Orders, newest first:"), orderView));
    layout->addWidget(orderView, 3);
    layout->addWidget(buddyLabel(QStringLiteral("Order &Details:"), detailView));
    layout->addWidget(detailView, 2);
    layout->addWidget(close);
    resize(900, 600);

    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(orderView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { showDetails(current.row()); });
    if (!m_orders.isEmpty())
        orderView->selectRow(0);
}

void OrdersDialog::showDetails(int row) {
    m_details->removeRows(0, m_details->rowCount());
    if (row < 0 || row >= m_orders.size())
        return;
    for (const QStringList& detail : m_orders.at(row).details)
        appendRow(m_details, detail);
}
