#include "OrderMail.h"
#include "orders/OrderMessage.h"

#include <QtTest>

namespace {

// Cents of an amount, -1 for none, for compact comparisons.
qint64 centsOf(const std::optional<Money>& money) {
    return money ? money->cents() : -1;
}

} // namespace

class TestOrderMessage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void money_data();
    void money();
    void fieldsAndSubject();
    void columnsOfABrowserMail_data();
    void columnsOfABrowserMail();
    void itemLines_data();
    void itemLines();
    void shippingMethod();
};

// Amounts as the order pages write them, held in whole cents and written
// back with two decimals; -1: the text cannot be read as money.
void TestOrderMessage::money_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("cents");
    QTest::addColumn<QString>("written");
    const auto row = [](const char* text, qint64 cents, const char* written = "") {
        QTest::newRow(text) << QString(text) << cents << QString(written);
    };
    row("$ 7.75", 775, "7.75");
    row("0.5", 50, "0.50");
    row("20", 2000, "20.00");
    row("$ -3.50", -350, "-3.50");
    row("123456789012345.67", 12345678901234567, "123456789012345.67");
    for (const char* unreadable : {"", "NaN.aN", "1,000.00", "7.755", "1234567890123456.00"})
        row(unreadable, -1);
}

void TestOrderMessage::money() {
    QFETCH(QString, text);
    QFETCH(qint64, cents);
    QFETCH(QString, written);
    const std::optional<Money> money = Money::fromText(text);
    QCOMPARE(centsOf(money), cents);
    QCOMPARE(money ? money->toText() : QString(), written);
}

// A field's value runs from its first occurrence, letter case ignored, to
// the next CR LF; a message is an order when its subject holds "Online
// Order" in that letter case.
void TestOrderMessage::fieldsAndSubject() {
    QCOMPARE(OrderMessage::fieldValue("x\r\nNameB=Ann Lee\r\nNameB=Bo\r\n", "NameB="), "Ann Lee");
    QCOMPARE(OrderMessage::fieldValue("XNAMEB=Ann\nLee", "NameB="), "Ann\nLee");
    QCOMPARE(OrderMessage::fieldValue("NameS=Ann\r\n", "NameB="), "");
    for (const auto& [subject, isOrder] : {std::pair{"SUBJECT: Re: Online Order 5", true},
                                           std::pair{"Subject: online order", false}}) {
        OrderMail mail;
        mail.subjectLine = subject;
        mail.fromLine = "FROM:J";
        QCOMPARE(OrderMessage(mail.text()).isOrder(), isOrder);
        QCOMPARE(OrderMessage(mail.text()).orderColumns().value(0).text, "J");
    }
}

void TestOrderMessage::columnsOfABrowserMail_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("columns");
    QTest::addColumn<int>("amounts"); // columns read as money
    QTest::newRow("billing and shipping")
        << OrderMail().set("AMOUNT", "$$$ 12.34").text()
        << "CustomerID= Jane Buyer <jane@shop.test>|ShipName=Jim Buyer|ShipAddress=40 Dock "
           "Road|ShipCity=Tulsa|ShipState=OK|ShipPostalCode=74103|ShipPhoneNumber=555-0101|"
           "ShippingMethodID=Saver|ShippingCost=$ 8.70|BillName=Jane Buyer|BillAddress=12 Elm "
           "Street|BillCity=Dallas|BillState=TX|BillPostalCode=75201|BillPhoneNumber=555-0102|"
           "EMail1=jane@shop.test|EMail2=jim@shop.test|SalesTax=$ 6.77|Total= "
           "12.34|SustServPhone=|CCNumber=4111111111111111|CCExp=09/27"
        << 3;
    // One address column fills both; "filename=" in the header is no name.
    OrderMail plain = OrderMail::plainPage().set("AMOUNT", "$$$ 12.34");
    plain.fromLine += "\r\nContent-Disposition: inline; filename=order.txt";
    QTest::newRow("one address column")
        << plain.text()
        << "CustomerID= Jane Buyer <jane@shop.test>|ShipName=Ann Lee|ShipAddress=12 Elm "
           "Street|ShipCity=Dallas|ShipState=TX|ShipPostalCode=75201|ShipPhoneNumber=555-0101|"
           "ShippingMethodID=|ShippingCost=|BillName=Ann Lee|BillAddress=12 Elm "
           "Street|BillCity=Dallas|BillState=TX|BillPostalCode=75201|BillPhoneNumber=555-0101|"
           "EMail1=ann@shop.test|EMail2=|SalesTax=$ 6.77|Total= "
           "12.34|SustServPhone=|CCNumber=4111111111111111|CCExp=09/27"
        << 2;
}

void TestOrderMessage::columnsOfABrowserMail() {
    QFETCH(QString, text);
    QFETCH(QString, columns);
    QFETCH(int, amounts);
    QStringList actual;
    QList<qint64> cents;
    for (const OrderColumn& column : OrderMessage(text).orderColumns()) {
        actual << column.name + '=' + column.text;
        cents << centsOf(column.amount());
    }
    QCOMPARE(actual.join('|'), columns);
    QCOMPARE(cents.size() - cents.count(-1), amounts);
    QCOMPARE(cents.mid(17, 2), QList<qint64>({677, 1234}));
}

void TestOrderMessage::itemLines_data() {
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("lines"); // the description's lines; empty: not checked
    QTest::addColumn<QStringList>("rows");  // id|quantity|price|line total, -1: none
    const QString a1 = OrderMail::item("A1", "2", "5.00", "10.00");
    const QString b7 = OrderMail::item("B7", "1", "72.00", "72.00");
    const QString total = QStringLiteral(" Total Price : $$$ 97.47");
    const QString a1Row = "A1 |2|500|1000", b7Row = "B7 |1|7200|7200";
    QTest::newRow("two items") << QStringList{a1, b7} << QStringList{a1, b7, "", total}
                               << QStringList{a1Row, b7Row};
    // The first line end is looked for from the third character on.
    QTest::newRow("empty basket") << QStringList() << QStringList{"\r\n" + total} << QStringList();
    QTest::newRow("no carets") << QStringList{"note", b7} << QStringList{"note", b7, "", total}
                               << QStringList{b7Row};
    QTest::newRow("empty line") << QStringList{a1, "", b7} << QStringList{a1, "", b7, "", total}
                                << QStringList{a1Row};
    QTest::newRow("unreadable") << QStringList{OrderMail::item("Q", "two", "NaN.aN", ""), "^^^^"}
                                << QStringList() << QStringList{"Q |-1|-1|-1", "|-1|-1|-1"};
    QTest::newRow("more carets") << QStringList{"A ^ 1 ^ 2.00 ^ 2.00^x^"} << QStringList()
                                 << QStringList{"A |1|200|200"};
}

void TestOrderMessage::itemLines() {
    QFETCH(QStringList, items);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, rows);
    OrderMail mail;
    mail.items = items;
    const OrderMessage message(mail.text());
    if (!lines.isEmpty()) {
        QCOMPARE(message.descriptionLines(), lines);
        QCOMPARE(message.description(), lines.join("\r\n") + "\r\n");
    }
    QStringList actual;
    for (const OrderLine& line : message.orderLines())
        actual << QStringLiteral("%1|%2|%3|%4")
                      .arg(line.productId)
                      .arg(line.quantity.value_or(-1))
                      .arg(centsOf(line.price))
                      .arg(centsOf(line.lineTotal));
    QCOMPARE(actual, rows);
    // Without "AMOUNT=" the description runs to the end; without
    // "DESCRIPTION=" there is none.
    const OrderMessage noAmount(mail.set("AMOUNT", QString()).text());
    QVERIFY(noAmount.description().endsWith("B1=Submit\r\nNote=Special Instructions :\r\n\r\n"));
    QVERIFY(OrderMessage(mail.text().replace("DESCRIPTION=", "D=")).descriptionLines().isEmpty());
}

// The last method button that names its method gives the method and its
// charge, in the message's own fields and in the order's columns.
void TestOrderMessage::shippingMethod() {
    for (const auto& [buttons, method, cost] :
         {std::tuple<QStringList, QString, QString>{{"V4", "Priority"}, "Priority", "$ 22.40"},
          {{"V1", "Saver", "V3", "Standard"}, "Standard", "$ 20.70"},
          {{"V2", "Saver"}, "", ""}}) {
        OrderMail mail;
        mail.set("V1", QString());
        for (qsizetype i = 0; i < buttons.size(); i += 2)
            mail.set(buttons[i], buttons[i + 1]);
        const OrderMessage message(mail.text());
        QCOMPARE(message.shippingMethod() + '|' + message.shippingCost(), method + '|' + cost);
        QCOMPARE(message.orderColumns()[7].text, method);
        QCOMPARE(message.orderColumns()[8].amount(), Money::fromText(cost));
    }
}

QTEST_GUILESS_MAIN(TestOrderMessage)
#include "test_order_message.moc"
