#pragma once

#include "orders/OrderStore.h"

#include <QDialog>

class QStandardItemModel;
class QTableView;

// "Show Orders": every order of the store, newest first, and the detail
// rows of the order chosen in the list.
class OrdersDialog : public QDialog {
    Q_OBJECT

public:
    explicit OrdersDialog(OrderStore& store, QWidget* parent = nullptr);

private:
    void showDetails(int row);

    QList<StoredOrder> m_orders;
    QStandardItemModel* m_details = nullptr;
};
