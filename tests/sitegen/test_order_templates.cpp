#include "sitegen/OrderTemplates.h"
#include "support/ExpectedFile.h"

#include <QRegularExpression>
#include <QTest>

namespace {

const OrderTemplates& defaults() {
    static const OrderTemplates templates = OrderTemplates::defaults();
    return templates;
}

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
    void paymentPageReadsAsGiven();
    void order1SavesResultsToGivenAddress();
    void taxUsesTheRateSettingAndOnlyWeightFormsShip();
    void formsCarryTheOrderFields_data();
    void formsCarryTheOrderFields();
};

// The payment choice page's lines, each ending with CR LF.
void TestOrderTemplates::paymentPageReadsAsGiven() {
    const QByteArray actual = defaults().paymentPage.toLatin1();
    const QByteArray expected = expectedFile(QStringLiteral("sitegen/expected/select_payment.htm"));
    QVERIFY2(actual == expected, firstDifference(actual, expected).constData());
}

void TestOrderTemplates::order1SavesResultsToGivenAddress() {
    QCOMPARE(defaults().order1Tail,
             OrderTemplates::order1TailFor(QStringLiteral("orders@example.com")));
    const QString tail = OrderTemplates::order1TailFor(QStringLiteral("shop@example.org\" -->"));
    QVERIFY(tail.contains(QStringLiteral("S-Email-Address=\"shop@example.org&quot; --&gt;\"")));
}

// The forms without shipping charge none, and none taxes at a rate of its
// own instead of the "Sales Tax,%" setting.
void TestOrderTemplates::taxUsesTheRateSettingAndOnlyWeightFormsShip() {
    for (const QString* body :
         {&defaults().weightCodBody, &defaults().plainCodBody, &defaults().plainOrderBody}) {
        QVERIFY(!body->contains(QStringLiteral("UpdateShipping")));
        QVERIFY(!body->contains(QStringLiteral("0.0825")));
    }
}

void TestOrderTemplates::formsCarryTheOrderFields_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");
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
    QTest::newRow("weight mail") << defaults().weightMailBody << weight << QStringList();
    QTest::newRow("weight gateway") << defaults().weightGatewayBody << weight << QStringList();
    QTest::newRow("plain order") << defaults().plainOrderBody << kTaxAndTotal + single + kCard
                                 << named({"Note"});
    QTest::newRow("plain COD") << defaults().plainCodBody << kTaxAndTotal + single << kCard;
    QTest::newRow("weight COD") << defaults().weightCodBody
                                << kTaxAndTotal +
                                       named({"NameB", "Adrs1B", "Adrs2B", "CityB", "StateB",
                                              "ZIPB", "PhoneE", "E_Mail1", "B1", "B2", "Note"})
                                << kCard + named({"V1", "NameS"});
    QTest::newRow("order1") << defaults().order1Tail
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
