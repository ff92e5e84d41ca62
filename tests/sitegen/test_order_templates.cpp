#include "sitegen/OrderTemplates.h"

#include <QJSEngine>
#include <QTest>

class TestOrderTemplates : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void order1EscapesTheGivenAddress();
    void taxUsesTheRateSettingAndOnlyWeightFormsShip();
    void order1ShipsByProductsTotal_data();
    void order1ShipsByProductsTotal();
};

void TestOrderTemplates::order1EscapesTheGivenAddress() {
    const QString tail = OrderTemplates::order1TailFor(QStringLiteral("shop@example.org\" -->"));
    QVERIFY(tail.contains(QStringLiteral("S-Email-Address=\"shop@example.org&quot; --&gt;\"")));
}

// The forms without shipping charge none, and none taxes at a rate of its
// own instead of the "Sales Tax,%" setting.
void TestOrderTemplates::taxUsesTheRateSettingAndOnlyWeightFormsShip() {
    const OrderTemplates templates = OrderTemplates::defaults();
    for (const QString* body :
         {&templates.weightCodBody, &templates.plainCodBody, &templates.plainOrderBody}) {
        QVERIFY(!body->contains(QStringLiteral("UpdateShipping")));
        QVERIFY(!body->contains(QStringLiteral("0.0825")));
    }
}

// Each bracket starts where the one before ends: 100.00 and 1000.00 are
// charged too.
void TestOrderTemplates::order1ShipsByProductsTotal_data() {
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("charges");
    QTest::newRow("99.99") << "99.99"
                           << "5.00 11.00 29.00";
    QTest::newRow("100.00") << "100.00"
                            << "7.00 13.00 31.00";
    QTest::newRow("999.99") << "999.99"
                            << "17.00 23.00 41.00";
    QTest::newRow("1000.00") << "1000.00"
                             << "20.00 26.00 44.00";
}

void TestOrderTemplates::order1ShipsByProductsTotal() {
    QFETCH(QString, total);
    QFETCH(QString, charges);
    const QString tail = OrderTemplates::defaults().order1Tail;
    const qsizetype from = tail.indexOf(QStringLiteral("function UpdateShipping(){"));
    const qsizetype to = tail.indexOf(QStringLiteral("}}"), from) + 2;
    QVERIFY(from >= 0 && to > from);
    QJSEngine engine;
    const QJSValue result = engine.evaluate(
        tail.mid(from, to - from) + "; var cof = 0, cof2 = 0, cof3 = 0, totalPrice = " + total +
        "; UpdateShipping(); [cof, cof2, cof3].map(function (c) { return c.toFixed(2) }).join(' "
        "')");
    QVERIFY2(!result.isError(), qPrintable(result.toString()));
    QCOMPARE(result.toString(), charges);
}

QTEST_GUILESS_MAIN(TestOrderTemplates)
#include "test_order_templates.moc"
