#include "store/OrderTemplates.h"

#include <QJSEngine>
#include <QRegularExpression>
#include <QTest>

namespace {

QStringList named(const QStringList& fields) {
    QStringList snippets;
    for (const QString& field : fields)
        snippets << QStringLiteral("name=\"%1\"").arg(field);
    return snippets;
}

const QStringList kTwinAddress =
    named({"C1",     "NameB",   "Adrs1B",  "Adrs2B",   "CityB",  "StateB", "ZIPB",
           "NameS",  "Adrs1S",  "Adrs2S",  "CityS",    "StateS", "ZIPS",   "PhoneE",
           "PhoneD", "E_Mail1", "E_Mail2", "CCNumber", "CCExp",  "B1",     "B2"});
const QStringList kTaxAndTotal =
    QStringList{"name=\"R11\" value=\"In\"", "name=\"R12\" value=\"Out\""} + named({"T2", "T1"});
const QStringList kCard = named({"METHOD", "CCNumber", "CCExp"});

} // namespace

class TestOrderTemplates : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void order1EscapesTheGivenAddress();
    void taxUsesTheRateSettingAndOnlyWeightFormsShip();
    void order1ShipsByProductsTotal_data();
    void order1ShipsByProductsTotal();
    void formsCarryTheOrderFields_data();
    void formsCarryTheOrderFields();
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

// The fields the order reader takes from the mailed forms.
void TestOrderTemplates::formsCarryTheOrderFields_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");
    const OrderTemplates templates = OrderTemplates::defaults();
    const QStringList methods{"name=\"V1\" value=\"Saver\"",
                              "name=\"V2\" value=\"Economy\"",
                              "name=\"V3\" value=\"Standard\"",
                              "name=\"V4\" value=\"Priority\"",
                              "name=\"T3\"",
                              "name=\"T4\"",
                              "name=\"T5\"",
                              "name=\"T6\""};
    const QStringList single =
        named({"Name", "Adrs1", "Adrs2", "City", "State", "ZIP", "Phone", "E_Mail1", "B1", "B2"});
    const QStringList weight = kTaxAndTotal + methods + kTwinAddress + named({"METHOD", "Note"});
    QTest::newRow("weight mail") << templates.weightMailBody << weight << QStringList();
    QTest::newRow("weight gateway") << templates.weightGatewayBody << weight << QStringList();
    QTest::newRow("plain order") << templates.plainOrderBody << kTaxAndTotal + single + kCard
                                 << named({"Note"});
    QTest::newRow("plain COD") << templates.plainCodBody << kTaxAndTotal + single << kCard;
    QTest::newRow("weight COD") << templates.weightCodBody
                                << kTaxAndTotal +
                                       named({"NameB", "Adrs1B", "Adrs2B", "CityB", "StateB",
                                              "ZIPB", "PhoneE", "E_Mail1", "B1", "B2", "Note"})
                                << kCard + named({"V1", "NameS"});
    QTest::newRow("order1") << templates.order1Tail
                            << kTwinAddress +
                                   named({"AMOUNT", "DESCRIPTION", "State", "SalesTax", "Shipping",
                                          "ShippingCost", "ExtendedTotal"}) +
                                   QStringList{"name=\"TYPE\" value=\"NA\"",
                                               "name=\"LOGIN\" value=\"tessmark\""}
                            << named({"METHOD"});
}

void TestOrderTemplates::formsCarryTheOrderFields() {
    QFETCH(QString, text);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);
    for (const QString& snippet : present)
        QVERIFY2(text.count(snippet) == 1, qPrintable(snippet));
    for (const QString& snippet : absent)
        QVERIFY2(!text.contains(snippet), qPrintable(snippet));
    static const QRegularExpression closing(
        QStringLiteral("</table>\r\n.*</form>\r\n</body>\r\n</html>\r\n\\z"),
        QRegularExpression::DotMatchesEverythingOption);
    QVERIFY(closing.match(text).hasMatch());
    QCOMPARE(text.count(QLatin1Char('\n')), text.count(QStringLiteral("\r\n")));
}

QTEST_GUILESS_MAIN(TestOrderTemplates)
#include "test_order_templates.moc"
