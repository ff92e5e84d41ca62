#pragma once

#include "sitegen/SiteInput.h"

#include <QList>
#include <QString>

// One page to write: its page name (without ".htm") and its text.
struct NamedPage {
    QString name;
    QString text;
};

// The order pages: an order script that lists the basket and computes the
// totals, followed by the template texts of the order forms.
class OrderPages {
public:
    enum class Prices { Retail, Wholesale };

    static QString orderScript(const SiteInput& input, Prices prices);
    // The weight-based shipping charges of the four methods.
    static QString weightShipping();

    // order.htm, order1.htm, order_cod.htm, order_cc.htm, select_payment.htm
    static QList<NamedPage> retailPages(const SiteInput& input);
    // worder.htm, worder_cod.htm, worder_cc.htm
    static QList<NamedPage> wholesalePages(const SiteInput& input);
};
