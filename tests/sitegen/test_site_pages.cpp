#include "SiteFixture.h"
#include "sitegen/BasketPages.h"
#include "sitegen/CatalogScript.h"
#include "sitegen/FramePages.h"
#include "sitegen/ListingPages.h"
#include "sitegen/OrderPages.h"

// The texts of the shop's pages and its catalog script as the writers give
// them, without the CR LF the page-file writer adds after each page.
namespace {

using Prices = OrderPages::Prices;

SiteInput threeCategories(bool on) {
    SiteInput input;
    input.options = {on, on, on, false};
    input.categories = {{"Tools",
                         {item("T1^Saw^12.5^saw.jpg^saw.htm^Bosch^3^10^a^"),
                          item("T2^Drill^.5^drill.jpg^drill.htm^Makita^1.2^0.4^b^")}},
                        {"Empty", {}},
                        {"Garden", {item("G1^Rake^7^rake.jpg^rake.htm^Fiskars^2^5^c^")}}};
    return input;
}

SiteInput trickyFields() {
    SiteInput input;
    input.options.manufacturer = true;
    input.categories = {{"Power Tools", {item("P\"1^^19.99^^^Müller & Söhne^4^15^tab\there^")}},
                        {"Café", {}}};
    input.categories[0].items[0].set(ItemRecord::ItemDesc,
                                     u"12\" blade, C:\\saw\r\nsecond line</b>");
    return input;
}

} // namespace

class TestSitePages : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writesExactText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        const SiteInput off = twoCategorySite(false), on = twoCategorySite(true);
        SiteInput contents = off;
        contents.settings.layout = SiteSettings::Layout::ContentsOnly;
        const auto row = [](const char* file, const QString& text) {
            QTest::newRow(file) << text << QString(file);
        };
        row("options_111.js", CatalogScript::write(threeCategories(true)));
        row("escaping.js", CatalogScript::write(trickyFields()));
        row("order/script_off_retail.txt", OrderPages::orderScript(off, Prices::Retail));
        row("order/script_on_wholesale.txt", OrderPages::orderScript(on, Prices::Wholesale));
        row("order/weight_shipping.txt", OrderPages::weightShipping());
        row("site_off/basket.htm", BasketPages::retail(off));
        row("site_on/basket.htm", BasketPages::retail(on));
        // The wholesale basket has no option columns.
        row("site_off/wbasket.htm", BasketPages::wholesale(on));
        row("site_off/l_Tools.htm", ListingPages::listingPage(off, 0));
        row("site_on/l_Tools.htm", ListingPages::listingPage(on, 0));
        row("site_off/complect.htm", ListingPages::combinedPage(on));
        row("site_off/index.htm", FramePages::startPage(off));
        row("site_off/index_contents.htm", FramePages::startPage(contents));
        row("site_off/fsecond.htm", FramePages::secondFrameset());
        row("site_off/banner.htm", FramePages::banner());
        row("site_off/mmenu.htm", FramePages::mainMenu());
        row("site_off/compinfo.htm", FramePages::companyPage());
        row("site_off/ols.htm", FramePages::storePage());
        row("site_off/m_products.htm", FramePages::productsMenu(off));
    }
    void writesExactText() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        COMPARE_EXPECTED(text.toUtf8(), "sitegen/expected/" + expected);
    }

    // The e-mail, cash on delivery and card pages take their form tags and
    // bodies from the settings and templates; only the weight pages that
    // ship charge by weight.
    void orderPagesTakeTheirTemplates() {
        const QStringList marks{"<M><wmail>", "<A><wgate>", "<M><plain>", "<A><plain>",
                                "<M><wcod>",  "<M><pcod>",  "<tail>",     "<pay>"};
        for (const bool weight : {true, false}) {
            SiteInput input = twoCategorySite(false);
            input.options.weight = weight;
            input.settings.emailFormTag = "<M>";
            input.settings.actionCode = "<A>";
            input.settings.tableTag.clear();
            input.templates = {"<wmail>", "<wgate>", "<plain>", "<wcod>",
                               "<pcod>",  "<tail>",  "<pay>"};
            QStringList shown;
            for (const NamedPage& page :
                 OrderPages::retailPages(input) + OrderPages::wholesalePages(input)) {
                shown << page.name;
                for (const QString& mark : marks)
                    if (page.text.endsWith(mark))
                        shown.last() += ' ' + mark;
                if (page.text.contains(OrderPages::weightShipping()))
                    shown.last() += '$';
            }
            QCOMPARE(shown.join(", "),
                     weight ? "order <M><wmail>$, order1 <tail>, order_cod <M><wcod>, order_cc "
                              "<A><wgate>$, select_payment <pay>, worder <M><wmail>$, worder_cod "
                              "<M><wcod>, worder_cc <A><wgate>$"
                            : "order <M><plain>, order1 <tail>, order_cod <M><pcod>, order_cc "
                              "<A><plain>, select_payment <pay>, worder <M><plain>, worder_cod "
                              "<M><pcod>, worder_cc <A><plain>");
        }
    }

    // Each form carries once every field the order reader takes from the
    // mailed orders.
    void formsCarryTheOrderFields() {
        const OrderTemplates t = OrderTemplates::defaults();
        const QString twin = "C1 NameB Adrs1B Adrs2B CityB StateB ZIPB NameS Adrs1S Adrs2S CityS "
                             "StateS ZIPS PhoneE PhoneD E_Mail1 E_Mail2 CCNumber CCExp";
        const QString tax = " T1 T2 R11 R12";
        const QString single = "Name Adrs1 Adrs2 City State ZIP Phone E_Mail1" + tax;
        const std::pair<QString, QString> forms[] = {
            {t.weightMailBody, twin + tax + " T3 T4 T5 T6 V1 V2 V3 V4 METHOD Note"},
            {t.weightGatewayBody, twin + tax + " T3 T4 T5 T6 V1 V2 V3 V4 METHOD Note"},
            {t.plainOrderBody, single + " METHOD CCNumber CCExp"},
            {t.plainCodBody, single},
            {t.weightCodBody, "NameB Adrs1B Adrs2B CityB StateB ZIPB PhoneE E_Mail1 Note" + tax},
            {t.order1Tail, twin + " AMOUNT DESCRIPTION State SalesTax Shipping ShippingCost "
                                  "ExtendedTotal TYPE LOGIN"}};
        for (const auto& [text, fields] : forms)
            for (const QString& field : fields.split(' '))
                QVERIFY2(text.count("name=\"" + field + '"') == 1, qPrintable(field));
    }
};

QTEST_GUILESS_MAIN(TestSitePages)
#include "test_site_pages.moc"
