#include "SiteFixture.h"
#include "sitegen/OrderPages.h"
#include "support/ExpectedFile.h"

#include <QJSEngine>
#include <QtTest>

namespace {

const QString kScriptTail =
    QStringLiteral("    </script></head><body>\r\n<script>\r\nUpdateOrder()\r\n</script>\r\n");

// Templates that name themselves, so a page shows which pieces it is made of.
SiteInput markedSite(bool weight) {
    SiteInput input = twoCategorySite(false);
    input.options.weight = weight;
    input.settings.emailFormTag = QStringLiteral("<MAILTAG>");
    input.settings.actionCode = QStringLiteral("<ACTION>");
    input.settings.tableTag = QStringLiteral("<TABLE>");
    input.templates = {QStringLiteral("<weight mail>"), QStringLiteral("<weight gateway>"),
                       QStringLiteral("<plain order>"), QStringLiteral("<weight cod>"),
                       QStringLiteral("<plain cod>"),   QStringLiteral("<order1 tail>"),
                       QStringLiteral("<payment page>")};
    return input;
}

QStringList names(const QList<NamedPage>& pages) {
    QStringList result;
    for (const NamedPage& page : pages)
        result << page.name;
    return result;
}

} // namespace

class TestOrderPages : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void orderScriptIsExact_data();
    void orderScriptIsExact();
    void retailAndWholesaleDifferOnlyInThePriceField();
    void weightShippingIsExact();
    void weightShippingPicksTheBracket_data();
    void weightShippingPicksTheBracket();
    void pagesAreAssembledFromTheirPieces_data();
    void pagesAreAssembledFromTheirPieces();
    void oddCategoryNamesKeepTheScriptValid();
};

void TestOrderPages::orderScriptIsExact_data() {
    QTest::addColumn<bool>("allOptionsOn");
    QTest::addColumn<int>("prices");
    QTest::addColumn<QString>("expected");
    QTest::newRow("retail, options off")
        << false << int(OrderPages::Prices::Retail) << "order/script_off_retail.txt";
    QTest::newRow("wholesale, options on")
        << true << int(OrderPages::Prices::Wholesale) << "order/script_on_wholesale.txt";
}

void TestOrderPages::orderScriptIsExact() {
    QFETCH(bool, allOptionsOn);
    QFETCH(int, prices);
    QFETCH(QString, expected);
    const QByteArray actual =
        OrderPages::orderScript(twoCategorySite(allOptionsOn), OrderPages::Prices(prices)).toUtf8();
    const QByteArray wanted = expectedFile(QStringLiteral("sitegen/expected/") + expected);
    QVERIFY2(actual == wanted, qPrintable(firstDifference(actual, wanted)));
}

void TestOrderPages::retailAndWholesaleDifferOnlyInThePriceField() {
    const SiteInput input = twoCategorySite(true);
    QString wholesale = OrderPages::orderScript(input, OrderPages::Prices::Wholesale);
    QCOMPARE(wholesale.count(QStringLiteral("].wprice")), 6);
    wholesale.replace(QStringLiteral("].wprice"), QStringLiteral("].itemprice"));
    QCOMPARE(OrderPages::orderScript(input, OrderPages::Prices::Retail), wholesale);
}

void TestOrderPages::weightShippingIsExact() {
    const QByteArray actual = OrderPages::weightShipping().toUtf8();
    const QByteArray wanted =
        expectedFile(QStringLiteral("sitegen/expected/order/weight_shipping.txt"));
    QVERIFY2(actual == wanted, qPrintable(firstDifference(actual, wanted)));
}

void TestOrderPages::weightShippingPicksTheBracket_data() {
    QTest::addColumn<QString>("weight");
    QTest::addColumn<QString>("charges");
    QTest::newRow("nothing weighed keeps the charges") << "0"
                                                       << "0.00 0.00 0.00 0.00";
    QTest::newRow("1 is the first bracket") << "1"
                                            << "7.75 8.25 18.45 20.00";
    QTest::newRow("just over 1") << "1.01"
                                 << "8.70 9.00 20.70 22.40";
    QTest::newRow("5.5") << "5.5"
                         << "15.25 15.50 28.95 31.20";
    QTest::newRow("20 is the last priced bracket") << "20"
                                                   << "32.00 34.95 52.95 57.05";
    QTest::newRow("20.5 is the flat rate") << "20.5"
                                           << "100.00 100.00 100.00 100.00";
}

void TestOrderPages::weightShippingPicksTheBracket() {
    QFETCH(QString, weight);
    QFETCH(QString, charges);
    QJSEngine engine;
    const QJSValue result = engine.evaluate(
        OrderPages::weightShipping() + QStringLiteral("var cof=0, cof2=0, cof3=0, cof4=0;") +
        QStringLiteral("var totalW=") + weight +
        QStringLiteral(";UpdateShipping();[cof, cof2, cof3, cof4].map(function (c) "
                       "{ return c.toFixed(2) }).join(' ')"));
    QVERIFY2(!result.isError(), qPrintable(result.toString()));
    QCOMPARE(result.toString(), charges);
}

void TestOrderPages::pagesAreAssembledFromTheirPieces_data() {
    QTest::addColumn<bool>("weight");
    QTest::addColumn<QStringList>("endings");
    QTest::newRow("weight on") << true
                               << QStringList{"<MAILTAG><TABLE><weight mail>",
                                              "<order1 tail>",
                                              "<MAILTAG><TABLE><weight cod>",
                                              "<ACTION><TABLE><weight gateway>",
                                              "<payment page>",
                                              "<MAILTAG><TABLE><weight mail>",
                                              "<MAILTAG><TABLE><weight cod>",
                                              "<ACTION><TABLE><weight gateway>"};
    QTest::newRow("weight off") << false
                                << QStringList{"<MAILTAG><TABLE><plain order>",
                                               "<order1 tail>",
                                               "<MAILTAG><TABLE><plain cod>",
                                               "<ACTION><TABLE><plain order>",
                                               "<payment page>",
                                               "<MAILTAG><TABLE><plain order>",
                                               "<MAILTAG><TABLE><plain cod>",
                                               "<ACTION><TABLE><plain order>"};
}

void TestOrderPages::pagesAreAssembledFromTheirPieces() {
    QFETCH(bool, weight);
    QFETCH(QStringList, endings);
    const SiteInput input = markedSite(weight);
    const QList<NamedPage> pages =
        OrderPages::retailPages(input) + OrderPages::wholesalePages(input);
    QCOMPARE(names(pages), (QStringList{"order", "order1", "order_cod", "order_cc",
                                        "select_payment", "worder", "worder_cod", "worder_cc"}));
    const QString retail = OrderPages::orderScript(input, OrderPages::Prices::Retail);
    const QString wholesale = OrderPages::orderScript(input, OrderPages::Prices::Wholesale);
    const QString shipping = OrderPages::weightShipping();
    for (qsizetype i = 0; i < pages.size(); ++i) {
        const QString& name = pages.at(i).name;
        const QString script = name.startsWith(QLatin1Char('w')) ? wholesale : retail;
        // The card and e-mail pages charge by weight; cash on delivery never does.
        const bool charged = weight && !name.contains(QStringLiteral("cod"));
        QString expected;
        if (name == QLatin1String("select_payment"))
            expected = endings.at(i);
        else if (name == QLatin1String("order1"))
            expected = script + endings.at(i);
        else
            expected = script + (charged ? shipping : QString()) + kScriptTail + endings.at(i);
        QCOMPARE(pages.at(i).text, expected);
    }
}

void TestOrderPages::oddCategoryNamesKeepTheScriptValid() {
    SiteInput input = twoCategorySite(true);
    input.categories[0].name = QStringLiteral("Tom's \"Best\" </script> 2");
    const QString script = OrderPages::orderScript(input, OrderPages::Prices::Retail);
    QVERIFY(script.contains(
        QStringLiteral("top.Tom_x27_s_x20__x22_Best_x22__x20__x3c__x2f_script_x3e__x20_2List[n]")));
    QVERIFY(!script.contains(QStringLiteral("Tom's")));
    QCOMPARE(script.count(QStringLiteral("</script>")), 0);
}

QTEST_GUILESS_MAIN(TestOrderPages)
#include "test_order_pages.moc"
