#pragma once

#include "orders/OrderStore.h"

#include <QDialog>

class OrderController;
class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;

// "Show Orders": every order of the store, newest first, and the detail
// rows of the order chosen in the list. "Refresh" reads them again, with
// the orders other machines stored meanwhile in a shared database. The
// controller reads them on a worker thread; until they come, the dialog
// says it is reading and "Refresh" waits.
class OrdersDialog : public QDialog {
    Q_OBJECT

public:
    explicit OrdersDialog(OrderController& controller, QWidget* parent = nullptr);
    // "Show Orders" and the browser's Tools > "Orders": the dialog, once the
    // user agrees to how the database is reached.
    static void showFor(OrderController& controller, QWidget* parent);

private:
    void refresh();
    void showOrders(const QList<StoredOrder>& orders, const QString& problem);
    void showDetails(int row);

    OrderController& m_controller;
    QPushButton* m_refresh = nullptr;
    QList<StoredOrder> m_orders;
    QStandardItemModel* m_list = nullptr;
    QStandardItemModel* m_details = nullptr;
    QTableView* m_listView = nullptr;
    QLabel* m_state = nullptr;
};
