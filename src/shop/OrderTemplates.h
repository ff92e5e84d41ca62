#pragma once

#include <QString>

// The seven template texts of the order pages that the merchant may edit
// in the generator window: the order-form bodies, the order1.htm tail and
// the whole payment choice page. They start with their defaults whenever
// the window opens and are not saved with the project. The page writers
// insert them unchanged.
struct OrderTemplates {
    QString weightMailBody;    // e-mail order pages, weight option on
    QString weightGatewayBody; // card-gateway order pages, weight option on
    QString plainOrderBody;    // e-mail and gateway order pages, weight option off
    QString weightCodBody;     // cash-on-delivery pages, weight option on
    QString plainCodBody;      // cash-on-delivery pages, weight option off
    QString order1Tail;        // order1.htm after its order script
    QString paymentPage;       // select_payment.htm

    bool operator==(const OrderTemplates&) const = default;

    static OrderTemplates defaults();

    // Where the order1.htm form's Save Results component mails the orders;
    // an example address until the merchant sets their own.
    static QString defaultSaveResultsEmail();
    // The default order1.htm tail with the given Save Results address.
    static QString order1TailFor(const QString& saveResultsEmail);
};
