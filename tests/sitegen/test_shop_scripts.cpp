#include "SiteFixture.h"
#include "sitegen/BasketPages.h"
#include "sitegen/CatalogScript.h"
#include "sitegen/ListingPages.h"
#include "sitegen/OrderPages.h"

#include <QJSEngine>
#include <QRegularExpression>

// The shop's scripts run in a script engine as the shop's frames run them:
// `top` is the global object holding the catalog, document.write collects
// what a page writes and `location` records where a page sends its frame.
namespace {

class Shop {
public:
    explicit Shop(const SiteInput& input) {
        run(CatalogScript::write(input));
        run("var top = this, written = '', location = {href: ''};"
            "var document = {forms: [], write: function (text) { written += text }};");
    }
    // Runs the script of the page's head.
    void load(const QString& page) {
        const qsizetype from = page.indexOf('>', page.indexOf("<script")) + 1;
        run(page.mid(from, page.indexOf("</script>", from) - from));
    }
    QString run(const QString& script) {
        const QJSValue result = m_engine.evaluate(script);
        if (result.isError())
            QTest::qFail(qPrintable(result.toString() + " in " + script.left(200)), __FILE__,
                         __LINE__);
        return result.toString();
    }

private:
    QJSEngine m_engine;
};

// An order page's form, its controls and their handlers. The handlers run
// with the form in scope, as a browser runs them.
class OrderForm : public Shop {
public:
    OrderForm(const SiteInput& input, const QString& page, const QString& orders)
        : Shop(input), m_page(page) {
        load(page);
        run(orders + "; UpdateOrder(); var FormOrder = {}");
        static const QRegularExpression control(R"re(<(input|select)[^>]* name="(\w+)"[^>]*>)re");
        static const QRegularExpression value(R"re(value="([^"]*)")re");
        static const QRegularExpression handler(R"re(on\w+="([^"]*)")re");
        for (auto it = control.globalMatch(page); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            const QString first = match.captured(1) == "select"
                                      ? value.match(page, match.capturedEnd()).captured(1)
                                      : QString();
            run(QStringLiteral("FormOrder.%1 = {value: '%2'}").arg(match.captured(2), first));
            m_handlers[match.captured(2)] = handler.match(match.captured(0)).captured(1);
        }
    }
    // "R12" clicks a control, "T1" types 1 into a field, "State=Texas" picks
    // a list's option by its text; then the control's handler runs.
    void act(const QString& action) {
        const QString name = action.section('=', 0, 0), option = action.section('=', 1);
        const QString field = "FormOrder." + name;
        if (!option.isEmpty())
            run(field + ".value = '" +
                QRegularExpression("value=\"([^\"]*)\">" + option + "<").match(m_page).captured(1) +
                "'");
        else
            run(field + (name.startsWith('T') ? ".value = '1'" : ".checked = true"));
        run("with (FormOrder) {" + m_handlers.value(name) + "\n}");
    }
    // "NAME=value ; ..." for the named fields; "(ticked)" lists the ticked controls.
    QString fields(const QStringList& names) {
        QStringList shown;
        for (const QString& name : names)
            shown << name + '=' +
                         run(name == "(ticked)" ? "Object.keys(FormOrder).filter(function (k) { "
                                                  "return FormOrder[k].checked }).sort().join(' ')"
                                                : "FormOrder." + name + ".value");
        return shown.join(" ; ");
    }

private:
    QString m_page;
    QHash<QString, QString> m_handlers;
};

// T100 x 2, G300 x 1, G400 x 5 and P200 x 4: 80.50 retail, 8 lb.
SiteInput basketShop(bool weight, const QString& salesTax) {
    SiteInput input;
    input.settings = SiteSettings::defaults();
    input.settings.salesTax = salesTax;
    input.options.weight = weight;
    input.categories = {{"Tools", {item("T100^Claw hammer^12.50^^^^1.5^9.00^^")}},
                        {"Garden Tools",
                         {item("G300^Pruning shears^18.25^^^^0.5^13.50^^"),
                          item("G400^Sunflower seeds^2.05^^^^0.1^1.40^^")}},
                        {"Paint", {item("P200^Paint roller^6.75^^^^1^4.50^^")}}};
    return input;
}
const QString kOrders = "ToolsList[1].itemquantity = 2; Garden_x20_ToolsList[1].itemquantity = 1;"
                        "Garden_x20_ToolsList[2].itemquantity = 5; PaintList[1].itemquantity = 4";
const QString kRetail = "T100 ^ 2 ^ 12.50 ^ 25.00^\nG300 ^ 1 ^ 18.25 ^ 18.25^\n"
                        "G400 ^ 5 ^ 2.05 ^ 10.25^\nP200 ^ 4 ^ 6.75 ^ 27.00^\n\n Total Price : ";

} // namespace

class TestShopScripts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Every character that needs an escape comes back as the merchant typed it.
    void catalogReadsBackAndFormatsMoney() {
        const QString desc =
            QString("12\" C:\\saw\r\n</b>") + QChar(0x2028) + QChar(0x01) + "</script>";
        SiteInput input = twoCategorySite(false);
        input.categories[0].items[0].set(ItemRecord::ItemDesc, desc);
        Shop shop(input);
        QCOMPARE(shop.run("ToolsList[1].itemdesc"), desc);
        QCOMPARE(shop.run("[0.05, 12.999, -2.5, 1e6, -0.001].map(moneyFormat).join(' ')"),
                 "0.05 13.00 -2.50 1000000.00 0.00");
    }

    // Over one bound, up to and including the next; order1.htm charges by
    // the products total, from exactly 100.00 and 1000.00 on as well.
    void shippingPicksTheBracket() {
        const SiteInput input = basketShop(true, "0");
        const QString charges = "function (t) { totalW = totalPrice = t; cof = cof2 = cof3 = cof4 "
                                "= 0; UpdateShipping(); return [cof, cof2, cof3, cof4].map("
                                "function (c) { return c.toFixed(2) }).join(' ') }";
        OrderForm weight(input, OrderPages::retailPages(input).at(0).text, "");
        QCOMPARE(weight.run("[0, 1, 1.01, 20, 20.5].map(" + charges + ").join(', ')"),
                 "0.00 0.00 0.00 0.00, 7.75 8.25 18.45 20.00, 8.70 9.00 20.70 22.40, "
                 "32.00 34.95 52.95 57.05, 100.00 100.00 100.00 100.00");
        OrderForm total(input, OrderPages::retailPages(input).at(1).text, "");
        QCOMPARE(total.run("[99.99, 100, 999.99, 1000].map(" + charges + ").join(', ')"),
                 "5.00 11.00 29.00 0.00, 7.00 13.00 31.00 0.00, 17.00 23.00 41.00 0.00, "
                 "20.00 26.00 44.00 0.00");
    }

    void orderFormsComputeTheTotals_data() {
        QTest::addColumn<bool>("weight");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("steps");
        // At 6% tax 8 lb ship for 18.45, 18.70, 32.95 or 35.45.
        const QStringList mail{
            "R12 ; (ticked)=R12 V1 ; T2=$ 4.83 ; T3=$ 18.45 ; T6=$ 35.45 ; T1=$$$ 103.78 ; "
            "DESCRIPTION=" +
                kRetail + "$$$ 103.78",
            "V3 ; (ticked)=R12 V3 ; T1=$$$ 118.28",
            "R11 ; (ticked)=R11 V1 ; T2=$ 0.00 ; T1=$$$ 98.95",
            "T1 ; (ticked)=V1 ; T2=$ 4.83 ; T1=$$$ 103.78"};
        QTest::newRow("weight order") << true << "order" << mail;
        // Cash on delivery ships nothing; its description ends with the products total.
        QTest::newRow("weight cod")
            << true << "order_cod"
            << QStringList{"R12 ; (ticked)=R12 ; T2=$ 4.83 ; T1=$$$ 85.33 ; "
                           "AMOUNT=$$$ 85.33 ; DESCRIPTION=" +
                               kRetail + "80.50",
                           "R11 ; T2=$ 0.00 ; T1=$$$ 80.50"};
        // By products total (80.50: 5, 11 or 29) and the State's rate (Texas 6.25%).
        QTest::newRow("order1")
            << true << "order1"
            << QStringList{"Shipping=2nd Day ; ShippingCost=$ 11.00 ; SalesTax=$ 0.00 ; "
                           "ExtendedTotal=$$$ 91.50 ; DESCRIPTION=" +
                               kRetail + "$$$ 91.50",
                           "State=Texas ; SalesTax=$ 5.03 ; ExtendedTotal=$$$ 96.53",
                           "Shipping=Next Day ; ShippingCost=$ 29.00 ; ExtendedTotal=$$$ 114.53"};
        // Without weight at 8.25%: no shipping charge.
        const QStringList plain{
            "R12 ; (ticked)=R12 ; T2=$ 6.64 ; T1=$$$ 87.14 ; DESCRIPTION=" + kRetail + "$$$ 87.14",
            "R11 ; (ticked)=R11 ; T2=$ 0.00 ; T1=$$$ 80.50"};
        QTest::newRow("plain order") << false << "order" << plain;
    }
    void orderFormsComputeTheTotals() {
        QFETCH(bool, weight);
        QFETCH(QString, page);
        QFETCH(QStringList, steps);
        const SiteInput input = basketShop(weight, weight ? "0.06" : "0.0825");
        QString text;
        for (const NamedPage& named : OrderPages::retailPages(input))
            if (named.name == page)
                text = named.text;
        OrderForm form(input, text, kOrders);
        for (const QString& step : steps) {
            QStringList names = step.split(" ; ");
            const QString action = names.takeFirst();
            form.act(action);
            for (QString& name : names)
                name = name.section('=', 0, 0);
            QCOMPARE(action + " ; " + form.fields(names), step);
        }
    }

    // Whatever the category is called and whatever quotes the merchant's
    // tags hold, the pages order into the catalog, both baskets show the
    // items and their totals, and Remove empties one and loads the retail
    // basket.
    void oddNamesAndTagsStillWork() {
        SiteInput input = twoCategorySite(true);
        input.categories[0].name = "Joe's \"12\" <b>";
        input.settings.fontTag = "<font face=\"Arial\">";
        input.settings.tableTag = "<table summary=\"</script>\">";
        const QString list = "top.Joe_x27_s_x20__x22_12_x22__x20__x3c_b_x3e_List";
        Shop listing(input);
        listing.load(ListingPages::listingPage(input, 0));
        QVERIFY(listing.run("DisplayList(); written")
                    .contains("<b>Joe&#39;s &quot;12&quot; &lt;b&gt; Listing</b>"));
        listing.run("document.forms = [{}, {}, {quantity: {value: '4'}}]; OnOrderItem(2)");
        QCOMPARE(listing.run(list + "[2].itemquantity + document.forms[2].quantity.value"), "40");
        const QString rows[][2] = {
            {"<TD>T100</TD><TD>Claw hammer</TD><TD>$ 12.50</TD><TD>Acme</TD><TD>2</TD><TD>$ 25.00",
             "<TR><TH COLSPAN=5>Products Total</TH><TD>$ 46.00</TD></TR></TABLE></CENTER>"},
            {"<TD>T100</TD><TD>Claw hammer</TD><TD>$ 25.00</TD><TD>$ 18.00</TD><TD>$ "
             "7.00</TD><TD>2",
             "Totals</TH><TD>$ 46.00</TD><TD>$ 33.75</TD><TD>$ 12.25</TD><TD>3</TD><TD>Thanks!</TD>"
             "</TR></TABLE></CENTER>"}};
        for (const bool wholesale : {false, true}) {
            Shop shop(input);
            shop.load(wholesale ? BasketPages::wholesale(input) : BasketPages::retail(input));
            const QString shown = shop.run(list + "[1].itemquantity = 2; PaintList[1].itemquantity "
                                                  "= '1'; displayBasket(); written")
                                      .remove(input.settings.fontTag);
            QVERIFY(shown.startsWith("<CENTER><BR><table summary=\"</script>\"><TR>"));
            QCOMPARE(shown.count("<TR VALIGN='top'>"), 2);
            QVERIFY2(shown.contains(rows[wholesale][0]) && shown.endsWith(rows[wholesale][1]),
                     qPrintable(shown));
            QCOMPARE(shop.run("RemoveFromJoe_x27_s_x20__x22_12_x22__x20__x3c_b_x3e_(1);" + list +
                              "[1].itemquantity + location.href"),
                     "0basket.htm");
            QCOMPARE(shop.run("written = ''; displayBasket(); written").count("<TR VALIGN='top'>"),
                     1);
        }
    }
};

QTEST_GUILESS_MAIN(TestShopScripts)
#include "test_shop_scripts.moc"
