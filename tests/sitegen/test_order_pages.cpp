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

void TestOrderPages::weightShippingIsExact() {
    const QByteArray actual = OrderPages::weightShipping().toUtf8();
    const QByteArray wanted =
        expectedFile(QStringLiteral("sitegen/expected/order/weight_shipping.txt"));
    QVERIFY2(actual == wanted, qPrintable(firstDifference(actual, wanted)));
}

// Bracket edges: over one bound, up to and including the next.
void TestOrderPages::weightShippingPicksTheBracket_data() {
    QTest::addColumn<QString>("weight");
    QTest::addColumn<QString>("charges");
    const char* const rows[][3] = {
        {"nothing weighed keeps the charges", "0", "0.00 0.00 0.00 0.00"},
        {"1 is the first bracket", "1", "7.75 8.25 18.45 20.00"},
        {"just over 1", "1.01", "8.70 9.00 20.70 22.40"},
        {"20 is the last priced bracket", "20", "32.00 34.95 52.95 57.05"},
        {"20.5 is the flat rate", "20.5", "100.00 100.00 100.00 100.00"}};
    for (const auto& row : rows)
        QTest::newRow(row[0]) << QString(row[1]) << QString(row[2]);
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

// The bodies of the e-mail, cash on delivery and card pages.
void TestOrderPages::pagesAreAssembledFromTheirPieces_data() {
    QTest::addColumn<bool>("weight");
    QTest::addColumn<QStringList>("bodies");
    QTest::newRow("weight on") << true
                               << QStringList{"<weight mail>", "<weight cod>", "<weight gateway>"};
    QTest::newRow("weight off") << false
                                << QStringList{"<plain order>", "<plain cod>", "<plain order>"};
}

void TestOrderPages::pagesAreAssembledFromTheirPieces() {
    QFETCH(bool, weight);
    QFETCH(QStringList, bodies);
    const QString mail = "<MAILTAG><TABLE>" + bodies[0];
    const QString cod = "<MAILTAG><TABLE>" + bodies[1];
    const QString card = "<ACTION><TABLE>" + bodies[2];
    const QStringList endings{mail, "<order1 tail>", cod, card, "<payment page>", mail, cod, card};
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
