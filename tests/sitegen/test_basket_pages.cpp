#include "SiteFixture.h"
#include "sitegen/BasketPages.h"
#include "sitegen/CatalogScript.h"
#include "sitegen/PageText.h"
#include "support/ExpectedFile.h"
#include "text/ScriptText.h"

#include <QJSEngine>
#include <QTest>

Q_DECLARE_METATYPE(SiteInput)

namespace {

QString basketPage(const SiteInput& input, bool wholesale) {
    return wholesale ? BasketPages::wholesale(input) : BasketPages::retail(input);
}

// Loads the catalog and the page's head script as the shop's frames would:
// `top` is the global object, document.write collects the basket's HTML and
// `location` records where a remove function sends the frame.
QString loadBasket(QJSEngine& engine, const SiteInput& input, const QString& page) {
    engine.evaluate(CatalogScript::write(input));
    engine.evaluate("var top = this, written = '', location = {href: ''};"
                    "var document = {write: function (text) { written += text }};");
    const QString open = QStringLiteral("<script LANGUAGE='JavaScript'>\r\n");
    const qsizetype from = page.indexOf(open) + open.size();
    const QJSValue loaded = engine.evaluate(page.mid(from, page.indexOf("</script>") - from));
    return loaded.isError() ? loaded.toString() : QString();
}

// The HTML the page's displayBasket writes for the current quantities.
QString shownBasket(QJSEngine& engine) {
    const QJSValue result = engine.evaluate("written = ''; displayBasket(); written");
    return result.isError() ? "error: " + result.toString() : result.toString();
}

SiteInput withoutItems(SiteInput input, int category) {
    input.categories[category].items.clear();
    return input;
}

} // namespace

class TestBasketPages : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writesExactText_data();
    void writesExactText();
    void basketShowsOrderedItems_data();
    void basketShowsOrderedItems();
    void oddNamesAndTagsStillWork_data();
    void oddNamesAndTagsStillWork();
};

void TestBasketPages::writesExactText_data() {
    QTest::addColumn<bool>("optionsOn");
    QTest::addColumn<bool>("wholesale");
    QTest::addColumn<QString>("expected");
    for (const bool on : {false, true}) {
        const QString folder = on ? "site_on/" : "site_off/";
        QTest::addRow("%s retail", on ? "on" : "off") << on << false << folder + "basket.htm";
        // The wholesale page has no option columns: one expected text for both.
        QTest::addRow("%s wholesale", on ? "on" : "off") << on << true << "site_off/wbasket.htm";
    }
}

// The expected files hold the page text as the writer returns it, every line
// with its CR LF, without the extra CR LF the page-file writer appends.
void TestBasketPages::writesExactText() {
    QFETCH(bool, optionsOn);
    QFETCH(bool, wholesale);
    QFETCH(QString, expected);
    const QByteArray actual = basketPage(twoCategorySite(optionsOn), wholesale).toUtf8();
    const QByteArray wanted = expectedFile("sitegen/expected/" + expected);
    QVERIFY2(actual == wanted, firstDifference(actual, wanted).constData());
}

void TestBasketPages::basketShowsOrderedItems_data() {
    QTest::addColumn<SiteInput>("input");
    QTest::addColumn<bool>("wholesale");
    QTest::addColumn<QString>("orders");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("shownRow");
    QTest::addColumn<QString>("totalsRow");

    const SiteInput on = twoCategorySite(true);
    const SiteInput off = twoCategorySite(false);
    const QString twoOrders = "ToolsList[1].itemquantity = 2; PaintList[1].itemquantity = '1'";
    const QString retailEnd = "</TD></TR></TABLE></CENTER>";
    const QString wholesaleEnd = "</TD><TD>Thanks!</TD></TR></TABLE></CENTER>";
    QTest::newRow("retail, two categories ordered")
        << on << false << twoOrders << 2
        << "<TD>T100</TD><TD>Claw hammer</TD><TD>$ 12.50</TD><TD>Acme</TD><TD>2</TD><TD>$ 25.00"
        << "<TR><TH COLSPAN=5>Products Total</TH><TD>$ 46.00" + retailEnd;
    QTest::newRow("retail, category without items")
        << withoutItems(off, 1) << false << "ToolsList[2].itemquantity = 3" << 1
        << "<TD>T200</TD><TD>Tape measure</TD><TD>$ 7.25</TD><TD>3</TD><TD>$ 21.75"
        << "Products Total</TH><TD>$ 21.75" + retailEnd;
    QTest::newRow("retail, no categories")
        << SiteInput{} << false << "" << 0 << "Contents of Basket</TH></TR>"
        << "Products Total</TH><TD>$ 0.00" + retailEnd;
    QTest::newRow("wholesale, two categories ordered")
        << on << true << twoOrders << 2
        << "<TD>T100</TD><TD>Claw hammer</TD><TD>$ 25.00</TD><TD>$ 18.00</TD><TD>$ 7.00</TD><TD>2"
        << "Totals</TH><TD>$ 46.00</TD><TD>$ 33.75</TD><TD>$ 12.25</TD><TD>3" + wholesaleEnd;
    QTest::newRow("wholesale, no categories")
        << SiteInput{} << true << "" << 0 << "Contents of Basket</TH></TR>"
        << "Totals</TH><TD>$ 0.00</TD><TD>$ 0.00</TD><TD>$ 0.00</TD><TD>0" + wholesaleEnd;
}

void TestBasketPages::basketShowsOrderedItems() {
    QFETCH(SiteInput, input);
    QFETCH(bool, wholesale);
    QFETCH(QString, orders);
    QFETCH(int, rows);
    QFETCH(QString, shownRow);
    QFETCH(QString, totalsRow);
    QJSEngine engine;
    QCOMPARE(loadBasket(engine, input, basketPage(input, wholesale)), QString());
    engine.evaluate(orders);
    const QString shown = shownBasket(engine).remove(input.settings.fontTag);
    QCOMPARE(shown.count("<TR VALIGN='top'>"), rows);
    QVERIFY2(shown.contains(shownRow), qPrintable(shown));
    QVERIFY2(shown.endsWith(totalsRow), qPrintable(shown));
}

void TestBasketPages::oddNamesAndTagsStillWork_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("apostrophe") << "Joe's";
    QTest::newRow("double quote") << "12\" rules";
    QTest::newRow("less-than") << "<b>";
}

// Whatever the category is called and whatever quotes the merchant's tags
// hold, both baskets show the ordered item and Remove empties it and loads
// the retail basket.
void TestBasketPages::oddNamesAndTagsStillWork() {
    QFETCH(QString, name);
    SiteInput input = twoCategorySite(true);
    input.categories[0].name = name;
    input.settings.fontTag = "<font face=\"Arial\">";
    input.settings.tableTag = "<table summary=\"</script>\">";
    const QString list = PageText::topList(name);
    const QString remove = "RemoveFrom" + ScriptText::identifier(name);
    for (const bool wholesale : {false, true}) {
        const QString page = basketPage(input, wholesale);
        QVERIFY(page.contains("function " + remove + "(nSelectedItem) {\r\n  " + list));
        QVERIFY(page.contains("onClick='" + remove + "(\" + n + \")'"));
        QJSEngine engine;
        QCOMPARE(loadBasket(engine, input, page), QString());
        engine.evaluate(list + "[1].itemquantity = 2");
        const QString shown = shownBasket(engine);
        QCOMPARE(shown.count("<TR VALIGN='top'><TD><font face=\"Arial\">T100</TD>"), 1);
        QVERIFY2(shown.startsWith("<CENTER><BR><table summary=\"</script>\"><TR>"),
                 qPrintable(shown));
        engine.evaluate(remove + "(1)");
        QCOMPARE(engine.evaluate(list + "[1].itemquantity").toInt(), 0);
        QCOMPARE(engine.evaluate("location.href").toString(), QStringLiteral("basket.htm"));
        QCOMPARE(shownBasket(engine).count("<TR VALIGN='top'>"), 0);
    }
}

QTEST_GUILESS_MAIN(TestBasketPages)
#include "test_basket_pages.moc"
