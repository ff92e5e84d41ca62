#include "SiteFixture.h"
#include "sitegen/CatalogScript.h"
#include "sitegen/ListingPages.h"
#include "support/ExpectedFile.h"

#include <QJSEngine>
#include <QTest>

// The expected files hold the page text as the page functions give it,
// without the extra CR LF the page-file writer adds after it.
namespace {

// The script block of the page's head.
QString headScript(const QString& page) {
    const QString open = QStringLiteral("<script>\r\n");
    const qsizetype from = page.indexOf(open) + open.size();
    return page.mid(from, page.indexOf(QStringLiteral("</script>\r\n</head>")) - from);
}

// The shop's top window as the pages see it: the catalog script, a document
// that collects what a page writes, and the head script of one page.
class ShopWindow {
public:
    ShopWindow(const SiteInput& input, const QString& page) {
        run(CatalogScript::write(input));
        run(QStringLiteral("var top = this; var written = '';"
                           "var document = {forms: [], write: function (s) { written += s }};"));
        run(headScript(page));
    }
    QJSValue run(const QString& script) {
        const QJSValue result = m_engine.evaluate(script);
        if (result.isError())
            QTest::qFail(qPrintable(result.toString()), __FILE__, __LINE__);
        return result;
    }

private:
    QJSEngine m_engine;
};

} // namespace

class TestListingPages : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writesExactText_data();
    void writesExactText();
    void oddCategoryNames_data();
    void oddCategoryNames();
    void emptyCatalogs();
};

void TestListingPages::writesExactText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    for (const bool on : {false, true}) {
        const SiteInput site = twoCategorySite(on);
        const QString folder = on ? QStringLiteral("site_on/") : QStringLiteral("site_off/");
        QTest::addRow("%s l_Tools", qPrintable(folder))
            << ListingPages::listingPage(site, 0) << folder + "l_Tools.htm";
        QTest::addRow("%s l_Paint", qPrintable(folder))
            << ListingPages::listingPage(site, 1) << folder + "l_Paint.htm";
        // The options do not change the combined page.
        QTest::addRow("%s complect", qPrintable(folder))
            << ListingPages::combinedPage(site) << "site_off/complect.htm";
    }
}

void TestListingPages::writesExactText() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const QByteArray actual = text.toUtf8();
    const QByteArray wanted = expectedFile(QStringLiteral("sitegen/expected/") + expected);
    QVERIFY2(actual == wanted, firstDifference(actual, wanted).constData());
}

void TestListingPages::oddCategoryNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("list");
    const char* const rows[][4] = {
        {"blank", "My Tools", "My Tools", "My_x20_ToolsList"},
        {"apostrophe", "Kid's", "Kid&#39;s", "Kid_x27_sList"},
        {"double quote", "12\" Pipes", "12&quot; Pipes", "_12_x22__x20_PipesList"},
        {"markup", "<Sale>", "&lt;Sale&gt;", "_x3c_Sale_x3e_List"}};
    for (const auto& row : rows)
        QTest::newRow(row[0]) << QString(row[1]) << QString(row[2]) << QString(row[3]);
}

// Both pages show the escaped name and reach the catalog array the catalog
// script defines; ordering stores the quantity in the chosen item.
void TestListingPages::oddCategoryNames() {
    QFETCH(QString, name);
    QFETCH(QString, shown);
    QFETCH(QString, list);
    SiteInput input = twoCategorySite(true);
    input.categories[0].name = name;
    input.categories[0].items[1].set(ItemRecord::ItemDesc,
                                     QStringLiteral("Tape \"Pro\" <5m> & Kid's"));

    const QString listing = ListingPages::listingPage(input, 0);
    QVERIFY(listing.contains("<title>" + shown + " List</title>"));
    QVERIFY(listing.contains("    top." + list + "[n].itemquantity = document.forms"));
    ShopWindow shop(input, listing);
    const QString written = shop.run(QStringLiteral("DisplayList(); written")).toString();
    QVERIFY(written.contains("<b>" + shown + " Listing</b>"));
    QVERIFY(written.contains(QStringLiteral("pics/tape.jpg")) && written.contains("Stanley"));
    shop.run("document.forms = [{}, {}, {quantity: {value: '4'}}]; OnOrderItem(2)");
    QCOMPARE(shop.run("top." + list + "[2].itemquantity").toString(), QStringLiteral("4"));
    QCOMPARE(shop.run(QStringLiteral("document.forms[2].quantity.value")).toInt(), 0);

    const QString combined = ListingPages::combinedPage(input);
    QVERIFY(combined.contains("<title>" + shown + " List</title>"));
    QVERIFY(combined.contains("<option value='2' value2='7.25'>Tape &quot;Pro&quot; &lt;5m&gt; "
                              "&amp; Kid&#39;s</option>"));
    ShopWindow shop2(input, combined);
    shop2.run("var a1 = {quantity: {value: '5'}}; OnOrderItem0('2')");
    QCOMPARE(shop2.run("top." + list + "[2].itemquantity").toString(), QStringLiteral("5"));
}

void TestListingPages::emptyCatalogs() {
    QCOMPARE(ListingPages::combinedPage(SiteInput{}),
             QStringLiteral("<html>\r\n\r\n<head>\r\n<title> List</title>\r\n"
                            "<meta name='GENERATED BY' content='Quillmart 2.0'>\r\n<script>\r\n"
                            "</script>\r\n</head><body><table width='663' height='4'>\r\n"
                            "</table></body></html>\r\n"));

    SiteInput input = twoCategorySite(false);
    input.categories[0].items.clear();
    QVERIFY(ListingPages::combinedPage(input).contains(
        QStringLiteral("<select name='D1' size='1'>\r\n</select></td>")));
    ShopWindow shop(input, ListingPages::listingPage(input, 0));
    const QString written = shop.run(QStringLiteral("DisplayList(); written")).toString();
    QVERIFY(written.endsWith(QStringLiteral(" Order </TD></TABLE>")));
}

QTEST_GUILESS_MAIN(TestListingPages)
#include "test_listing_pages.moc"
