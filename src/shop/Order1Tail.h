#pragma once

#include <QString>

// The part of the order1.htm tail that no other order form has: the
// price-based shipping function that ends the page's order script, the page
// head and body start, the form with its Save Results component and hidden
// gateway fields, and the rows for the state's sales tax, the shipping
// choice and the total. The address, card and button rows follow it.
class Order1Tail {
public:
    static QString upToAddresses(const QString& saveResultsEmail);
};
