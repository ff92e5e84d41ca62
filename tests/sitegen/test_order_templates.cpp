#include "sitegen/OrderTemplates.h"
#include "support/ExpectedFile.h"

#include <QRegularExpression>
#include <QTest>

namespace {

const OrderTemplates& defaults() {
    static const OrderTemplates templates = OrderTemplates::defaults();
    return templates;
}

// The event handler of the control named `field`.
QString handlerOf(const QString& text, const QString& field, const QString& event) {
    const QRegularExpression control(QStringLiteral("name=\"%1\"[^>]*\\son%2=\"([^\"]*)\"")
                                         .arg(QRegularExpression::escape(field), event));
    return control.match(text).captured(1);
}

// (text, value) of the options of the select named `field`.
QList<QPair<QString, QString>> optionsOf(const QString& text, const QString& field) {
    const qsizetype start = text.indexOf(QStringLiteral("name=\"%1\"").arg(field));
    const QString select =
        text.mid(start, text.indexOf(QStringLiteral("</select>"), start) - start);
    static const QRegularExpression option(
        QStringLiteral("<option[^>]*value=\"([^\"]*)\">([^<]*)<"));
    QList<QPair<QString, QString>> options;
    for (const QRegularExpressionMatch& match : option.globalMatch(select))
        options.append({match.captured(2), match.captured(1)});
    return options;
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
    void order1ListsStateRates_data();
    void order1ListsStateRates();
    void order1PriceBracketsMeet();
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

void TestOrderTemplates::order1ListsStateRates_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("rate");
    const char* const states[][2] = {{"Alaska", "0"},           {"Alabama", "0.04"},
                                     {"Arkansas", "0.04625"},   {"Arizona", "0.072"},
                                     {"California", "0.0625"},  {"Colorado", "0.03"},
                                     {"Connecticut", "0.06"},   {"Washington D C", "0.0575"},
                                     {"Deleware", "0"},         {"Florida", "0.06"},
                                     {"Georgia", "0.04"},       {"Guam", "0"},
                                     {"Hawaii", "0"},           {"Iowa", "0.05"},
                                     {"Idaho", "0.05"},         {"Illinois", "0.0625"},
                                     {"Indiana", "0.05"},       {"Kansas", "0.049"},
                                     {"Kentucky", "0.06"},      {"Louisiana", "0.04"},
                                     {"Massachusetts", "0.05"}, {"Maryland", "0.05"},
                                     {"Maine", "0.055"},        {"Michigan", "0.06"},
                                     {"Minnesota", "0.065"},    {"Missouri", "0"},
                                     {"Mississippi", "0.07"},   {"Montana", "0"},
                                     {"North Carolina", "0"},   {"North Dakota", "0"},
                                     {"New Hampshire", "0"},    {"New Jersey", "0.06"},
                                     {"New Mexico", "0.05"},    {"Nevada", "0"},
                                     {"New York", "0.04"},      {"Ohio", "0"},
                                     {"Oklahoma", "0.045"},     {"Oregon", "0"},
                                     {"Pennsylvania", "0.06"},  {"Puerto Rico", "0"},
                                     {"Rhode Island", "0.075"}, {"South Carolina", "0.05"},
                                     {"South Dakota", "0.04"},  {"Tennessee", "0.06"},
                                     {"Texas", "0.0625"},       {"Utah", "0"},
                                     {"Virginia", "0.035"},     {"Virgin Islands", "0"},
                                     {"Vermont", "0.05"},       {"Wisconsin", "0.05"},
                                     {"West Virginia", "0.06"}, {"Wyoming", "0"}};
    int index = 0;
    for (const auto& state : states)
        QTest::newRow(state[0]) << index++ << QString::fromLatin1(state[1]);
}

void TestOrderTemplates::order1ListsStateRates() {
    QFETCH(int, index);
    QFETCH(QString, rate);
    const auto options = optionsOf(defaults().order1Tail, QStringLiteral("State"));
    QCOMPARE(options.size(), 52);
    QCOMPARE(options[index], qMakePair(QString::fromLatin1(QTest::currentDataTag()), rate));
    QVERIFY(defaults().order1Tail.contains(QStringLiteral("<option selected value=\"0\">Alaska<")));
}

// Totals of exactly 100.00 or 1000.00 get the charges of the bracket that
// starts there instead of keeping whatever was set before.
void TestOrderTemplates::order1PriceBracketsMeet() {
    const QStringList expected{
        "function UpdateShipping(){",
        "if (0.01<= totalPrice & totalPrice <100.00) {cof=5.00;cof2=11.00;cof3=29.00}",
        "if (100.00<= totalPrice & totalPrice <200.00) {cof=7.00;cof2=13.00;cof3=31.00}",
        "if (200.00<= totalPrice & totalPrice <300.00) {cof=9.00;cof2=15.00;cof3=33.00}",
        "if (300.00<= totalPrice & totalPrice <400.00) {cof=11.00;cof2=17.00;cof3=35.00}",
        "if (400.00<= totalPrice & totalPrice <500.00) {cof=14.00;cof2=20.00;cof3=38.00}",
        "if (500.00<= totalPrice & totalPrice <1000.00) {cof=17.00;cof2=23.00;cof3=41.00}",
        "if (totalPrice >= 1000.00) { cof=20.00;cof2=26.00;cof3=44.00;}}",
        "    </script>"};
    QCOMPARE(defaults().order1Tail.split(QStringLiteral("\r\n")).mid(0, expected.size()), expected);
}

void TestOrderTemplates::order1SavesResultsToGivenAddress() {
    QCOMPARE(defaults().order1Tail,
             OrderTemplates::order1TailFor(QStringLiteral("orders@example.com")));
    const QString tail = OrderTemplates::order1TailFor(QStringLiteral("shop@example.org\" -->"));
    QVERIFY(tail.contains(QStringLiteral("S-Email-Address=\"shop@example.org&quot; --&gt;\"")));
}

void TestOrderTemplates::taxUsesTheRateSettingAndOnlyWeightFormsShip() {
    for (const QString* body :
         {&defaults().weightCodBody, &defaults().plainCodBody, &defaults().plainOrderBody}) {
        QVERIFY(!body->contains(QStringLiteral("UpdateShipping")));
        QVERIFY(!body->contains(QStringLiteral("0.0825")));
        const char* const withinStateHandlers[][2] = {
            {"R12", "click"}, {"T2", "change"}, {"T1", "change"}};
        for (const auto& [field, event] : withinStateHandlers)
            QVERIFY2(handlerOf(*body, field, event)
                         .startsWith(QStringLiteral("tax = totalPrice * tax1;")),
                     field);
    }
    const QString within =
        handlerOf(defaults().weightMailBody, QStringLiteral("R12"), QStringLiteral("click"));
    QVERIFY(within.startsWith(QStringLiteral("UpdateShipping();")));
    QVERIFY(within.contains(QStringLiteral("FormOrder.V1.checked=true;")));
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
    QVERIFY(text.contains(
        QStringLiteral("FormOrder.AMOUNT.value='$$$ '+top.moneyFormat(totalPrice+tax")));
    QVERIFY(
        text.contains(QStringLiteral(R"(FormOrder.DESCRIPTION.value=info+'\n Total Price : ')")));
    static const QRegularExpression closing(
        QStringLiteral("</table>\r\n.*</form>\r\n</body>\r\n</html>\r\n\\z"),
        QRegularExpression::DotMatchesEverythingOption);
    QVERIFY(closing.match(text).hasMatch());
    QCOMPARE(text.count(QLatin1Char('\n')), text.count(QStringLiteral("\r\n")));
}

QTEST_GUILESS_MAIN(TestOrderTemplates)
#include "test_order_templates.moc"
