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
    void fieldValue_data();
    void fieldValue();
    void subjectAndSender_data();
    void subjectAndSender();
    void columnsOfABrowserMail_data();
    void columnsOfABrowserMail();
    void description_data();
    void description();
    void itemLine_data();
    void itemLine();
    void shippingMethod_data();
    void shippingMethod();
};

void TestOrderMessage::fieldValue_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("value");
    const auto row = [](const char* name, const char* text, const char* value) {
        QTest::newRow(name) << QString(text) << QString(value);
    };
    row("up to CR LF, first one", "x\r\nNameB=Ann Lee\r\nNameB=Bo\r\n", "Ann Lee");
    row("case ignored, anywhere", "XNAMEB=Ann\r\n", "Ann");
    row("lone LF kept", "NameB=Ann\nLee\r\n", "Ann\nLee");
    row("at the end", "NameB=Ann", "Ann");
    row("missing", "NameS=Ann\r\n", "");
}

void TestOrderMessage::fieldValue() {
    QFETCH(QString, text);
    QFETCH(QString, value);
    QCOMPARE(OrderMessage::fieldValue(text, "NameB="), value);
}

void TestOrderMessage::subjectAndSender_data() {
    QTest::addColumn<QString>("subjectLine");
    QTest::addColumn<QString>("fromLine");
    QTest::addColumn<bool>("isOrder");
    QTest::addColumn<QString>("sender");
    const auto row = [](const char* subject, const char* from, bool isOrder, const char* sender) {
        QTest::newRow(subject) << QString(subject) << QString(from) << isOrder << QString(sender);
    };
    row("Subject: Online Order", "From: J <j@s.test>", true, " J <j@s.test>");
    row("SUBJECT: Re: Online Order 5", "FROM:J", true, "J");
    row("Subject: online order", "from: J", false, " J");
}

void TestOrderMessage::subjectAndSender() {
    QFETCH(QString, subjectLine);
    QFETCH(QString, fromLine);
    QFETCH(bool, isOrder);
    QFETCH(QString, sender);
    OrderMail mail;
    mail.subjectLine = subjectLine;
    mail.fromLine = fromLine;
    const OrderMessage message(mail.text());
    QCOMPARE(message.isOrder(), isOrder);
    QCOMPARE(message.orderColumns().value(0).text, sender);
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
    const OrderMessage message(text);
    QStringList actual;
    QList<qint64> cents;
    for (const OrderColumn& column : message.orderColumns()) {
        actual << column.name + '=' + column.text;
        cents << centsOf(column.amount());
    }
    QCOMPARE(actual.join('|'), columns);
    QCOMPARE(cents.size() - cents.count(-1), amounts);
    QCOMPARE(cents.mid(17, 2), QList<qint64>({677, 1234}));
}

void TestOrderMessage::description_data() {
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("rows");
    const QString a1 = OrderMail::item("A1", "2", "5.00", "10.00");
    const QString b7 = OrderMail::item("B7", "1", "72.00", "72.00");
    const QString total = QStringLiteral(" Total Price : $$$ 97.47");
    QTest::newRow("two items") << QStringList{a1, b7} << QStringList{a1, b7, "", total} << 2;
    // The first line end is looked for from the third character on.
    QTest::newRow("empty basket") << QStringList() << QStringList{"\r\n" + total} << 0;
    QTest::newRow("no carets") << QStringList{"note", b7} << QStringList{"note", b7, "", total}
                               << 1;
    QTest::newRow("empty line") << QStringList{a1, "", b7} << QStringList{a1, "", b7, "", total}
                                << 1;
}

void TestOrderMessage::description() {
    QFETCH(QStringList, items);
    QFETCH(QStringList, lines);
    QFETCH(int, rows);
    OrderMail mail;
    mail.items = items;
    const OrderMessage message(mail.text());
    QCOMPARE(message.descriptionLines(), lines);
    QCOMPARE(message.description(), lines.join("\r\n") + "\r\n");
    QCOMPARE(message.orderLines().size(), rows);
    // Without "AMOUNT=" the description runs to the end; without
    // "DESCRIPTION=" there is none.
    const OrderMessage noAmount(mail.set("AMOUNT", QString()).text());
    QVERIFY(noAmount.description().endsWith("B1=Submit\r\nNote=Special Instructions :\r\n\r\n"));
    QVERIFY(OrderMessage(mail.text().replace("DESCRIPTION=", "D=")).descriptionLines().isEmpty());
}

void TestOrderMessage::itemLine_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("productId");
    QTest::addColumn<QList<qint64>>("numbers"); // quantity, price, line total; -1: none
    const auto row = [](const QString& line, const char* id, const QList<qint64>& numbers) {
        QTest::newRow(qPrintable(line)) << line << QString(id) << numbers;
    };
    row(OrderMail::item("A1", "2", "5.00", "10.00"), "A1 ", {2, 500, 1000});
    row(OrderMail::item("Z", "70000", "1.00", "70000.00"), "Z ", {70000, 100, 7000000});
    row(OrderMail::item("Q", "two", "NaN.aN", ""), "Q ", {-1, -1, -1});
    row("^^^^", "", {-1, -1, -1});
    row("A ^ 1 ^ 2.00 ^ 2.00^x^", "A ", {1, 200, 200});
}

void TestOrderMessage::itemLine() {
    QFETCH(QString, line);
    QFETCH(QString, productId);
    QFETCH(QList<qint64>, numbers);
    OrderMail mail;
    mail.items = {line};
    const QList<OrderLine> rows = OrderMessage(mail.text()).orderLines();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].productId, productId);
    QCOMPARE(QList<qint64>({rows[0].quantity.value_or(-1), centsOf(rows[0].price),
                            centsOf(rows[0].lineTotal)}),
             numbers);
}

void TestOrderMessage::shippingMethod_data() {
    QTest::addColumn<QStringList>("buttons"); // name, value, ... in place of V1=Saver
    QTest::addColumn<QString>("method");
    QTest::addColumn<QString>("cost");
    const auto row = [](const char* name, const QStringList& buttons, const char* method,
                        const char* cost) {
        QTest::newRow(name) << buttons << QString(method) << QString(cost);
    };
    row("priority", {"V4", "Priority"}, "Priority", "$ 22.40");
    row("later one", {"V1", "Saver", "V3", "Standard"}, "Standard", "$ 20.70");
    row("wrong name", {"V2", "Saver"}, "", "");
    row("none", {}, "", "");
}

void TestOrderMessage::shippingMethod() {
    QFETCH(QStringList, buttons);
    QFETCH(QString, method);
    QFETCH(QString, cost);
    OrderMail mail;
    mail.set("V1", QString());
    for (qsizetype i = 0; i < buttons.size(); i += 2)
        mail.set(buttons[i], buttons[i + 1]);
    const OrderMessage message(mail.text());
    QCOMPARE(message.shippingMethod(), method);
    QCOMPARE(message.shippingCost(), cost);
    QCOMPARE(message.orderColumns()[7].text, method);
    QCOMPARE(message.orderColumns()[8].amount(), Money::fromText(cost));
}

QTEST_GUILESS_MAIN(TestOrderMessage)
#include "test_order_message.moc"
