#include "orders/ui/OrdersDialog.h"

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

OrdersDialog::OrdersDialog(OrderStore& store, QWidget* parent) : QDialog(parent), m_store(store) {
    setWindowTitle(QStringLiteral("Orders"));
    m_list = tableModel(OrderStore::orderColumns(), this);
    m_details = tableModel(OrderStore::detailColumns(), this);
    m_listView = tableView(m_list, QStringLiteral("Orders, newest first"));
    QTableView* detailView = tableView(m_details, QStringLiteral("Order Details"));
    m_problem = new QLabel;
    m_problem->setAccessibleName(QStringLiteral("Problem"));
    m_problem->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    QPushButton* refreshButton =
        buttons->addButton(QStringLiteral("&Refresh"), QDialogButtonBox::ActionRole);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buddyLabel(QStringLiteral("&Orders, newest first:"), m_listView));
    layout->addWidget(m_listView, 3);
    layout->addWidget(buddyLabel(QStringLiteral("Order &Details:"), detailView));
    layout->addWidget(detailView, 2);
    layout->addWidget(m_problem);
    layout->addWidget(buttons);
    resize(900, 600);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(refreshButton, &QPushButton::clicked, this, &OrdersDialog::refresh);
    connect(m_listView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { showDetails(current.row()); });
    refresh();
}

// The list is read anew; orders that cannot be read are said, not shown
// as none.
void OrdersDialog::refresh() {
    const Fallible<QList<StoredOrder>> read = m_store.orders();
    m_problem->setText(read ? QString()
                            : QStringLiteral("The orders could not be read: ") + read.error());
    m_problem->setVisible(!read);
    m_orders = read.valueOr({});
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
