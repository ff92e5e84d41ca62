#pragma once

#include "orders/OrderStore.h"

#include <QDialog>

class QLabel;
class QStandardItemModel;
class QTableView;

// "Show Orders": every order of the store, newest first, and the detail
// rows of the order chosen in the list. "Refresh" reads them again, with
// the orders other machines stored meanwhile in a shared database.
class OrdersDialog : public QDialog {
    Q_OBJECT

public:
    explicit OrdersDialog(OrderStore& store, QWidget* parent = nullptr);

private:
    void refresh();
    void showDetails(int row);

    OrderStore& m_store;
    QList<StoredOrder> m_orders;
    QStandardItemModel* m_list = nullptr;
    QStandardItemModel* m_details = nullptr;
    QTableView* m_listView = nullptr;
    QLabel* m_problem = nullptr;
};
