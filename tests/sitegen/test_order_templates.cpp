#include "sitegen/OrderTemplates.h"

#include <QTest>

class TestOrderTemplates : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void order1EscapesTheGivenAddress();
    void taxUsesTheRateSettingAndOnlyWeightFormsShip();
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

QTEST_GUILESS_MAIN(TestOrderTemplates)
#include "test_order_templates.moc"
