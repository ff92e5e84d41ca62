// The texts the site generator writes and the way it writes them: script
// text conversions, the pages and the catalog script as the writers give them
// (without the CR LF the page-file writer adds after each page), the page-file
// writer, and the whole generation.

#include "SiteFixture.h"
#include "sitegen/BasketPages.h"
#include "sitegen/CatalogScript.h"
#include "sitegen/FramePages.h"
#include "sitegen/ListingPages.h"
#include "sitegen/OrderPages.h"
#include "sitegen/PageFileWriter.h"
#include "sitegen/SiteGenerator.h"
#include "text/ScriptText.h"

#include <QtTest>
#include <csignal>
#include <sys/resource.h>

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

// While it lives, the system refuses to let this process write a file
// beyond `bytes`, as a full disk refuses any write.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_old);
        const rlimit limit{bytes, m_old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

QStringList fileNames(const QStringList& paths) {
    QStringList names;
    for (const QString& path : paths)
        names << QFileInfo(path).fileName();
    return names;
}

const QStringList kAfterFrames{
    "l_Tools.htm",    "l_Paint.htm",   "basket.htm",   "wbasket.htm",        "order.htm",
    "order1.htm",     "order_cod.htm", "order_cc.htm", "select_payment.htm", "worder.htm",
    "worder_cod.htm", "worder_cc.htm", "complect.htm"};

} // namespace

class TestSiteWriters : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void convertsText_data() {
        QTest::addColumn<char>("kind"); // i: identifier, s: string body, h: HTML, p: price
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        const auto row = [](char kind, const char* tag, const QString& text, const QString& out) {
            QTest::addRow("%c %s", kind, tag) << kind << text << out;
        };
        row('i', "leading digit, blank", "2 go", "_2_x20_go");
        row('i', "accent", "Café", "Caf_xe9_");
        row('i', "outside the BMP", QString::fromUtf8("A\xF0\x9F\x98\x80"), "A_x1f600_");
        row('i', "quote and dot", "a\".b", "a_x22__x2e_b");
        row('s', "plain", "Hammer, 9.5 & 'co' <b> a/b Müller €",
            "Hammer, 9.5 & 'co' <b> a/b Müller €");
        row('s', "quote and backslash", "12\" C:\\dir", "12\\\" C:\\\\dir");
        row('s', "CR LF", "a\r\nb", "a\\r\\nb");
        row('s', "controls", QString::fromUtf16(u"\t\u0001\u007f\u0085"), "\\x09\\x01\\x7f\\x85");
        row('s', "closing tag", "</script></b>", "<\\/script><\\/b>");
        row('h', "tags and ampersand", "Tom & <b>x</b>", "Tom &amp; &lt;b&gt;x&lt;/b&gt;");
        row('h', "quotes, reference", "\"a\" 'b' &amp;", "&quot;a&quot; &#39;b&#39; &amp;amp;");
        for (const char* good : {"12.5", ".5", "12."})
            row('p', good, good, "yes");
        for (const char* bad : {"", "12 ", ".", "1.2.3", "1,5", "-3"})
            row('p', bad, bad, "no");
    }
    void convertsText() {
        QFETCH(char, kind);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const QString out = kind == 'i'                 ? ScriptText::identifier(text)
                            : kind == 's'               ? ScriptText::stringBody(text)
                            : kind == 'h'               ? ScriptText::html(text)
                            : ScriptText::isPrice(text) ? "yes"
                                                        : "no";
        QCOMPARE(out, expected);
    }

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

    void writesPagesAndFiles() {
        QTemporaryDir dir;
        writeFile(dir.filePath("1.htm"), "an earlier, longer page text\r\n");
        PageFileWriter writer(dir.path());
        writer.writePage("1", "<html>\r\nPreis: 9 €</html>");
        writer.writeFile("data1.js", "a\r\n");
        QCOMPARE(fileBytes(dir.filePath("1.htm")), "<html>\r\nPreis: 9 \xE2\x82\xAC</html>\r\n");
        QCOMPARE(fileBytes(dir.filePath("data1.js")), "a\r\n");
        QCOMPARE(writer.written(), QStringList({dir.filePath("1.htm"), dir.filePath("data1.js")}));
        QVERIFY(writer.failures().isEmpty());
    }

    void refusesNamesOutsideTheFolder() {
        QTemporaryDir parent;
        QVERIFY(QDir(parent.path()).mkpath("site/sub"));
        for (const char* name : {"../escape.htm", "sub/page.htm", ".."}) {
            PageFileWriter writer(parent.filePath("site"));
            writer.writeFile(name, "x");
            QVERIFY(writer.written().isEmpty());
            QVERIFY2(writer.failures().value(0).startsWith("Could not write "), name);
        }
        QDirIterator files(parent.path(), QDir::Files, QDirIterator::Subdirectories);
        QVERIFY(!files.hasNext());
        const QString missing = parent.filePath("no such folder");
        PageFileWriter lost(missing);
        lost.writePage("1", "text");
        QVERIFY2(lost.failures().value(0).startsWith("Could not write " + missing + "/1.htm: "),
                 qPrintable(lost.failures().value(0)));
        QVERIFY(!QFileInfo::exists(missing));
    }

    void stopsAtTheFirstFailedWrite_data() {
        QTest::addColumn<int>("size");
        QTest::newRow("held back until the file is closed") << 6000;
        QTest::newRow("written at once") << 40000;
        QTest::newRow("the line end is refused") << 4096;
    }
    // The system's reason is given, the earlier file stays whole, and
    // nothing after the failure is written.
    void stopsAtTheFirstFailedWrite() {
        QFETCH(int, size);
        QTemporaryDir dir;
        const QString page = dir.filePath("b.htm");
        writeFile(page, "old page\r\n");
        PageFileWriter writer(dir.path());
        {
            const FileSizeLimit limit(4096);
            writer.writePage("a", "first");
            writer.writePage("b", QString(size, QLatin1Char('x')));
            writer.writePage("c", "third");
        }
        QCOMPARE(writer.written(), QStringList{dir.filePath("a.htm")});
        QCOMPARE(writer.failures(), QStringList{"Could not write " + page + ": File too large"});
        QCOMPARE(fileBytes(page), "old page\r\n");
        QVERIFY(!QFileInfo::exists(dir.filePath("c.htm")));
    }

    void writesTheSiteInItsOrder() {
        QTemporaryDir folder;
        writeFile(folder.filePath("fsecond.htm"), "from an earlier run");
        SiteInput input = twoCategorySite(true);
        input.settings.layout = SiteSettings::Layout::ContentsOnly;
        input.settings.startFileName = "shop";
        GenerationResult result = SiteGenerator::generate(folder.path(), input);
        QVERIFY2(result.ok(), qPrintable((result.problems + result.failures).join('\n')));
        QCOMPARE(fileNames(result.written),
                 QStringList({"data1.js", "shop.htm", "banner.htm", "mmenu.htm", "compinfo.htm",
                              "ols.htm", "m_products.htm"}) +
                     kAfterFrames);
        // The contents layout leaves an old second frameset alone.
        QCOMPARE(fileBytes(folder.filePath("fsecond.htm")), "from an earlier run");

        input.settings.layout = SiteSettings::Layout::BannerAndContents;
        input.categories[1].items.clear();
        result = SiteGenerator::generate(folder.path(), input);
        QCOMPARE(fileNames(result.written).mid(0, 4),
                 QStringList({"data1.js", "shop.htm", "fsecond.htm", "banner.htm"}));
        QVERIFY(fileNames(result.written).contains("l_Paint.htm"));
    }

    void refusesWhatWouldBreakTheSite_data() {
        QTest::addColumn<QString>("field"); // "tax", "start", or the item field's number
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        const char* const rows[][4] = {
            {"empty tax rate", "tax", "", "\"Sales Tax,%\" rate must be a number"},
            {"start file is the basket", "start", "basket", "another page"},
            {"start file in another folder", "start", "../index", "must not"},
            {"price with a comma", "2", "1,5", "Tools, item T100: price \"1,5\""},
            // Hand-edited item files may hold addresses the window's "Add" refuses.
            {"markup in a description link", "4", "a.htm\"><script>x()</script>",
             "Tools, item T100: picture \"pics/hammer.jpg\", description \"a.htm\"><script>"}};
        for (const auto& row : rows)
            QTest::newRow(row[0]) << QString(row[1]) << QString(row[2]) << QString(row[3]);
        QTest::newRow("two categories share a script name")
            << "category"
            << "Hand_x20_Tools"
            << "\"Hand Tools\" and \"Hand_x20_Tools\"";
    }
    // Nothing is written, and the message names the cause.
    void refusesWhatWouldBreakTheSite() {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, message);
        QTemporaryDir folder;
        SiteInput input = twoCategorySite(false);
        if (field == "tax")
            input.settings.salesTax = value;
        else if (field == "start")
            input.settings.startFileName = value;
        else if (field == "category")
            input.categories = {{"Hand Tools", {}}, {value, {}}};
        else
            input.categories[0].items[0].set(ItemRecord::Field(field.toInt()), value);
        const GenerationResult result = SiteGenerator::generate(folder.path(), input);
        QVERIFY(!result.ok());
        QVERIFY2(result.problems.join('\n').contains(message),
                 qPrintable(result.problems.join('\n')));
        QVERIFY(result.written.isEmpty());
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestSiteWriters)
#include "test_site_writers.moc"
