#pragma once

#include <QString>
#include <QStringList>

struct OrderTemplates;
struct SiteSettings;

// The addresses inside the order forms that the merchant sets in the
// generator window: where e-mailed orders go, the card gateway's host and
// the merchant's login there, and where order1.htm's form sends its saved
// results. Each is read from and written into its form text in place, so
// the rest of a text the merchant edited by hand stays as it is.
class OrderAddresses {
public:
    static QString orderEmail(const QString& emailFormTag);
    static QString withOrderEmail(const QString& emailFormTag, const QString& email);
    static QString gatewayHost(const QString& actionCode);
    static QString withGatewayHost(const QString& actionCode, const QString& host);
    static QString gatewayLogin(const QString& actionCode);
    static QString withGatewayLogin(const QString& actionCode, const QString& login);
    // The order1.htm tail with the login of the form action code in its own
    // LOGIN input, so both gateway forms name the same merchant. A text
    // without a LOGIN input is left as it is.
    static QString withLoginOf(const QString& actionCode, const QString& order1Tail);
    static QString saveResultsEmail(const QString& order1Tail);
    static QString withSaveResultsEmail(const QString& order1Tail, const QString& email);

    // The order addresses that are still the examples a new project starts
    // with, so the shop's orders or payments would not reach the merchant:
    // one line each, the field's label and its value.
    static QStringList placeholders(const SiteSettings& settings, const OrderTemplates& templates);
    // The message that names those addresses, one a line.
    static QString placeholderWarning(const QStringList& placeholders);

    // An address for a "mailto:" action: what would end the attribute, start
    // the header part or split the tag is percent-encoded.
    static QString mailtoText(const QString& address);
    // A value for a double-quoted attribute: &, ", < and > become references.
    static QString attributeText(const QString& value);
};
