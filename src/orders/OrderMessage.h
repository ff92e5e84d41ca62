#pragma once

#include "orders/Money.h"
#include "platform/Expected.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

// One column of the `Orders` record a message gives.
struct OrderColumn {
    QString name;
    QString text; // the value as the message gives it
    bool isMoney = false;

    // Money columns: the text read as money; none when it cannot be read.
    std::optional<Money> amount() const;
};

// One `Order Details` row, read from an item line of the description.
struct OrderLine {
    QString productId;              // text before the first caret, blank kept
    std::optional<qint64> quantity; // none when it is not a whole number
    std::optional<Money> price;
    std::optional<Money> lineTotal;
};

// An order message as a shopper's order page mails it: a plain-text form
// mail with the subject "Online Order", one "NAME=value" line per form
// field. Pages with one address column send "Name=", "Adrs1=", ...,
// "Phone="; their values fill both the billing and the shipping columns. The message is read by
// plain text search, as the mail arrives; nothing here touches the order store.
class OrderMessage {
public:
    OrderMessage() = default;
    // `text`: the whole message, header and body, lines ending in CR LF.
    explicit OrderMessage(const QString& text);

    // The value of a header or form field: the first occurrence of `key`
    // ("Subject:", "NameB=") anywhere in the text, letter case ignored, up
    // to the next CR LF (or the end of the text). Empty when the key does
    // not occur.
    static QString fieldValue(const QString& text, const QString& key);

    // True when the subject contains "Online Order", in that letter case.
    bool isOrder() const;
    QString field(const QString& key) const { return fieldValue(m_text, key); }
    const QString& subject() const { return m_subject; }
    const QString& sender() const { return m_sender; }
    // The text between "DESCRIPTION=" and the following "AMOUNT=": the item
    // lines, an empty line and the total line, each ending in CR LF. Empty
    // when it is too large to take in (whyTooLarge()).
    const QString& description() const { return m_description; }
    // The description's lines, without their line ends.
    QStringList descriptionLines() const;
    // "Saver", "Economy", "Standard" or "Priority"; empty when none of the
    // method buttons names its method.
    const QString& shippingMethod() const { return m_shippingMethod; }
    // The chosen method's charge as the form gives it ("$ 7.75").
    const QString& shippingCost() const { return m_shippingCost; }

    // The `Orders` columns the message fills, in table order; the order
    // date and the order's number are the store's.
    QList<OrderColumn> orderColumns() const;
    // One row per item line, up to the first empty line; lines without
    // four carets (the total line) give none.
    QList<OrderLine> orderLines() const;

    // Far more than any real order has: more item lines (before the first
    // empty line) than this, more description lines than the item lines,
    // the empty line and the total line of such an order, or a description
    // longer than 1,000 lines of 200 characters.
    static constexpr qsizetype kMaxItemLines = 1000;
    static constexpr qsizetype kMaxDescriptionLines = kMaxItemLines + 2;
    static constexpr qsizetype kMaxDescriptionCharacters = 200000;
    // Why the message is not taken in although it may be an order ("it has
    // more than 1000 item lines"); empty when its description is within the
    // limits above. A description over them is measured, but never copied
    // or split whole, so a mail of millions of lines costs no more memory
    // than its own text.
    const QString& whyTooLarge() const { return m_whyTooLarge; }
    // The order's summary for the order log: the subject, sender,
    // description and form values, each followed by CR LF, then one more
    // CR LF.
    QString logText() const;

private:
    QString address(const QString& twinKey) const;
    void readDescription();
    void readShippingMethod();
    static Expected<void> checkSize(QStringView description);
    static QList<QStringView> splitDescription(QStringView description, qsizetype maxLines);
    static std::optional<OrderLine> orderLine(const QString& line);

    QString m_text;
    QString m_subject;
    QString m_sender;
    QString m_description;
    QString m_whyTooLarge;
    QString m_shippingMethod;
    QString m_shippingCost;
    bool m_singleAddress = false; // no billing or shipping column
};
