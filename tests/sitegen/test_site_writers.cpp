// The texts the site generator writes and the way it writes them: script
// text conversions, the pages and the catalog script as the writers give them
// (without the CR LF the page-file writer adds after each page), the shop's
// own texts, styles and pictures, the page-file writer, the whole generation
// and its publishing; and the shop's scripts run in a script engine.

#include "shop/PictureFile.h"
#include "sitegen/BasketPages.h"
#include "sitegen/CatalogScript.h"
#include "sitegen/FolderPublisher.h"
#include "sitegen/FramePages.h"
#include "sitegen/ListingPages.h"
#include "sitegen/OrderPages.h"
#include "sitegen/PageFileWriter.h"
#include "sitegen/PagesLayout.h"
#include "sitegen/PublishingLists.h"
#include "sitegen/RecordingPublisher.h"
#include "sitegen/SiteGenerator.h"
#include "sitegen/SitePublishing.h"
#include "support/ExpectedFile.h"
#include "text/ScriptText.h"

#include <QJSEngine>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using Call = RecordingPublisher::Call;
using Page = ShopIdentity::Page;

namespace {

constexpr auto item = &ItemRecord::fromLine;

// The two-category shop of the exact-text tests: "Tools" with two items and
// "Paint" with one, default settings (banner layout), and every catalog
// option either off or on.
SiteInput twoCategorySite(bool allOptionsOn) {
    SiteInput input;
    input.settings = SiteSettings::defaults();
    input.options = {allOptionsOn, allOptionsOn, allOptionsOn, allOptionsOn};
    input.makerSite = "www.dorvane.example";
    input.categories = {
        {"Tools",
         {item("T100^Claw hammer^12.50^pics/hammer.jpg^desc/hammer.htm^Acme^1.5^9.00^1^"),
          item("T200^Tape measure^7.25^pics/tape.jpg^desc/tape.htm^Stanley^0.5^5.10^1^")}},
        {"Paint",
         {item("P300^White paint 1 gal^21.00^pics/paint.jpg^desc/paint.htm^Dulux^4^15.75^1^")}},
    };
    return input;
}

// The first bytes of a picture of each type the shop takes.
const QByteArray kPng("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
const QByteArray kJpeg("\xFF\xD8\xFF\xE0\0\x10JFIF", 10);
const QByteArray kGif("GIF89a\x01\0\x01\0", 10);
const QByteArray kWebp("RIFF\x1a\0\0\0WEBPVP8L", 16);

// The pictures of identityShop, as files in `folder`.
void writePictures(const QString& folder) {
    writeBytes(folder + "/Logo.PNG", kPng);
    writeBytes(folder + "/sky.jpeg", kJpeg);
    writeBytes(folder + "/paper.gif", kGif);
    writeBytes(folder + "/wood.webp", kWebp);
}

// The two-category shop made the merchant's own: a banner text with
// quotes, an ampersand, angle brackets and letters beyond ASCII (one of
// them beyond 16 bits), a banner picture, company text in two paragraphs
// (one line break CR LF), and each page styled its own way. The pictures
// are in `pictures` (for the pages' text they need not exist).
SiteInput identityShop(const QString& pictures = "/pictures") {
    SiteInput input = twoCategorySite(false);
    ShopIdentity& identity = input.identity;
    identity.bannerText = "Zoë's \"Café\" & <Bäckerei> 😀";
    identity.bannerPicture = pictures + "/Logo.PNG";
    identity.companyText =
        "Zoë & Søn <since 1990>\r\n'Quality' \"tools\"\n\n\nOpen Monday–Friday\n";
    identity.style(Page::Banner) = {"#FFCC00", "#000080", pictures + "/sky.jpeg"};
    identity.style(Page::Menu).backgroundColour = "#e3e3e3";
    identity.style(Page::Main) = {"", "#333333", pictures + "/paper.gif"};
    identity.style(Page::StoreMenu).backgroundPicture = pictures + "/wood.webp";
    return input;
}

// The files of a folder and their bytes.
QMap<QString, QByteArray> folderContents(const QString& folder) {
    QMap<QString, QByteArray> contents;
    for (const QString& name : QDir(folder).entryList(QDir::Files))
        contents.insert(name, fileBytes(folder + '/' + name));
    return contents;
}

// While it lives, the system refuses to let this process write a file
// beyond `bytes`, as a full disk refuses any write.
// A refused write then fails with the system's reason instead of ending
// the test run.
struct FileSizeLimit {
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old);
        const rlimit limit{bytes, old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old); }
    rlimit old{};
};

// The names of a list kept in an expected file, one a line.
QStringList listed(const QString& file) {
    return QString::fromUtf8(expectedFile("sitegen/expected/" + file, false))
        .split('\n', Qt::SkipEmptyParts);
}

// The shop's scripts run in a script engine as the shop's frames run them:
// `top` is the global object holding the catalog, document.write collects
// what a page writes and `location` records where a page sends its frame.
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
    // Loads an order page after `orders`, and makes its form from the page's
    // controls; their handlers run with the form in scope, as a browser runs
    // them.
    void openForm(const QString& page, const QString& orders) {
        m_page = page;
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
    // Takes the step "ACTION ; NAME=value ; ...": "R12" clicks a control, "T1"
    // types 1 into a field, "State=Texas" picks a list's option by its text;
    // then the control's handler runs. Gives the step back with the named
    // fields' values as they are now; "(ticked)" lists the ticked controls.
    QString step(const QString& step) {
        QStringList parts = step.split(" ; ");
        const QString name = parts[0].section('=', 0, 0), option = parts[0].section('=', 1);
        const QString field = "FormOrder." + name;
        if (!option.isEmpty())
            run(field + ".value = '" +
                QRegularExpression("value=\"([^\"]*)\">" + option + "<").match(m_page).captured(1) +
                "'");
        else
            run(field + (name.startsWith('T') ? ".value = '1'" : ".checked = true"));
        run("with (FormOrder) {" + m_handlers.value(name) + "\n}");
        for (qsizetype i = 1; i < parts.size(); ++i) {
            const QString shown = parts[i].section('=', 0, 0);
            parts[i] = shown + '=' +
                       run(shown == "(ticked)" ? "Object.keys(FormOrder).filter(function (k) { "
                                                 "return FormOrder[k].checked }).sort().join(' ')"
                                               : "FormOrder." + shown + ".value");
        }
        return parts.join(" ; ");
    }

private:
    QJSEngine m_engine;
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

class TestSiteWriters : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    const QString m_site = m_dir.filePath("Shop");
    const QString m_pictures = m_dir.filePath("pictures");

    PublishTarget target(const QString& server) const {
        return {server, "merchant", "secret", "Shop", m_site};
    }
    PublishReport publish(Publisher& publisher, const QString& server,
                          const QString& start = "index", const QString& category = "Tools") {
        return SitePublishing::publishSite(publisher, target(server), start,
                                           SiteSettings::Layout::BannerAndContents,
                                           {category, "Paint"});
    }
    // The site, generated anew into the folder "Shop".
    void generate(const SiteInput& input) {
        QVERIFY(QDir(m_site).removeRecursively() && QDir().mkpath(m_site));
        const GenerationResult result = SiteGenerator::generate(m_site, input);
        QVERIFY2(result.ok(), qPrintable((result.problems + result.failures).join('\n')));
    }
    // The two-category site.
    void generate(SiteSettings::Layout layout = SiteSettings::Layout::BannerAndContents) {
        SiteInput input = twoCategorySite(false);
        input.settings.layout = layout;
        generate(input);
    }

private Q_SLOTS:
    void convertsText_data() {
        // i: identifier, s: string body, h: HTML, p: price, m: merchant's
        // page text, c: colour
        QTest::addColumn<char>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        const auto row = [](char kind, const char* tag, const QString& text, const QString& out) {
            QTest::addRow("%c %s", kind, tag) << kind << text << out;
        };
        row('i', "leading digit, blank", "2 go", "_2_x20_go");
        row('i', "outside the BMP", QString::fromUtf8("A\xF0\x9F\x98\x80"), "A_x1f600_");
        row('s', "plain", "Hammer, 9.5 & 'co' <b> a/b Müller € \u00a0©–",
            "Hammer, 9.5 & 'co' <b> a/b Müller € \u00a0©–");
        row('s', "quote and backslash", "12\" C:\\dir", "12\\\" C:\\\\dir");
        row('s', "CR LF", "a\r\nb", "a\\r\\nb");
        row('s', "controls", QString::fromUtf16(u"\t\u0001\u007f\u0080\u0085\u009f"),
            "\\x09\\x01\\x7f\\x80\\x85\\x9f");
        row('s', "closing tag", "</script></b>", "<\\/script><\\/b>");
        row('s', "line separators", QString::fromUtf16(u"\u2028\u2029"), "\\u2028\\u2029");
        row('h', "tags and ampersand", "Tom & <b>x</b>", "Tom &amp; &lt;b&gt;x&lt;/b&gt;");
        row('h', "quotes, reference", "\"a\" 'b' &amp;", "&quot;a&quot; &#39;b&#39; &amp;amp;");
        for (const char* good : {"12.5", ".5", "12."})
            row('p', good, good, "yes");
        for (const char* bad : {"", "12 ", ".", "1.2.3", "1,5", "-3"})
            row('p', bad, bad, "no");
        row('m', "controls", QString::fromUtf16(u"a\tb\u0001\u007f\u0085\u0096c"), "a b    c");
        row('m', "lone surrogate", QString("x") + QChar(0xD800) + "y", "x&#65533;y");
        row('c', "mixed case", "#a1B2c3", "yes");
        for (const char* bad : {"", "#12345", "#1234567", "#12345g", "a1b2c3#", "red"})
            row('c', bad, bad, "no");
    }
    // String bodies and HTML also in their UTF-8 form, as the item fields take them.
    void convertsText() {
        QFETCH(char, kind);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const QByteArray utf8 = text.toUtf8();
        const bool yes = kind == 'c' ? ShopIdentity::isColour(text) : ScriptText::isPrice(utf8);
        const QString out = kind == 'i'   ? ScriptText::identifier(text)
                            : kind == 's' ? ScriptText::stringBody(text)
                            : kind == 'h' ? ScriptText::html(text)
                            : kind == 'm' ? FramePages::merchantText(text)
                            : yes         ? "yes"
                                          : "no";
        QCOMPARE(out, expected);
        if (kind == 's' || kind == 'h') {
            QByteArray appended = "kept ";
            const auto append = kind == 's' ? ScriptText::appendStringBody : ScriptText::appendHtml;
            append(appended, utf8);
            QCOMPARE(QString::fromUtf8(appended), "kept " + expected);
        }
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
        SiteInput three, tricky;
        three.options = {true, true, true, false};
        three.categories = {{"Tools",
                             {item("T1^Saw^12.5^saw.jpg^saw.htm^Bosch^3^10^a^"),
                              item("T2^Drill^.5^drill.jpg^drill.htm^Makita^1.2^0.4^b^")}},
                            {"Empty", {}},
                            {"Garden", {item("G1^Rake^7^rake.jpg^rake.htm^Fiskars^2^5^c^")}}};
        tricky.options.manufacturer = true;
        tricky.categories = {
            {"Power Tools", {item("P\"1^^19.99^^^Müller & Söhne^4^15^tab\there^")}}, {"Café", {}}};
        tricky.categories[0].items[0].set(ItemRecord::ItemDesc,
                                          u"12\" blade, C:\\saw\r\nsecond line</b>");
        row("options_111.js", CatalogScript::write(three));
        row("escaping.js", CatalogScript::write(tricky));
        row("order/script_off_retail.txt",
            OrderPages::orderScript(off, OrderPages::Prices::Retail));
        row("order/script_on_wholesale.txt",
            OrderPages::orderScript(on, OrderPages::Prices::Wholesale));
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
        row("site_off/banner.htm", FramePages::banner(off));
        row("site_off/mmenu.htm", FramePages::mainMenu(off));
        row("site_off/compinfo.htm", FramePages::companyPage(off));
        row("site_off/ols.htm", FramePages::storePage());
        row("site_off/m_products.htm", FramePages::productsMenu(off));
        // Without a maker site the credits stand, unlinked.
        SiteInput unlinked = off;
        unlinked.makerSite.clear();
        row("site_unlinked/mmenu.htm", FramePages::mainMenu(unlinked));
        row("site_unlinked/m_products.htm", FramePages::productsMenu(unlinked));
        const SiteInput shop = identityShop();
        SiteInput textBanner = shop;
        textBanner.identity.bannerPicture.clear();
        textBanner.identity.style(Page::Banner) = {"", "#000080", ""};
        row("site_identity/index.htm", FramePages::startPage(shop));
        row("site_pages/index.htm", PagesLayout::startPage(shop));
        row("site_pages/l_Paint.htm", PagesLayout::listingPage(off, 1));
        row("site_pages/wbasket.htm", PagesLayout::basketPage(off, OrderPages::Prices::Wholesale));
        row("site_identity/banner.htm", FramePages::banner(shop));
        row("site_identity/banner_text.htm", FramePages::banner(textBanner));
        row("site_identity/compinfo.htm", FramePages::companyPage(shop));
        row("site_identity/mmenu.htm", FramePages::mainMenu(shop));
        row("site_identity/m_products.htm", FramePages::productsMenu(shop));
    }
    void writesExactText() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const QByteArray wanted = expectedFile("sitegen/expected/" + expected);
        QVERIFY2(text.toUtf8() == wanted, firstDifference(text.toUtf8(), wanted).constData());
    }

    // A picture is taken by its first bytes (the four kinds pass in
    // copiesThePicturesWithThePages) and must be named as what it
    // is; the message names the file (%1 in `problem`). The file is padded
    // with zeros to `size` (unless -1); a kind other than 'f' makes a FIFO
    // ('p'), nothing ('m') or a file nobody may read ('u') instead.
    void checksPictureFiles_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<char>("kind");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QString>("problem");
        const auto row = [](const char* tag, const QString& name, const QByteArray& bytes,
                            const QString& problem, char kind = 'f', qint64 size = -1) {
            QTest::newRow(tag) << name << bytes << kind << size << problem;
        };
        const QString notPicture = "\"%1\" is not a PNG, JPEG, GIF or WebP picture.";
        row("largest", "big.png", kPng, "", 'f', PictureFile::kMostBytes);
        row("too large", "big.png", kPng,
            "The picture file \"%1\" is larger than 20 MB, too large for a shop's page.", 'f',
            PictureFile::kMostBytes + 1);
        row("jpeg named png", "photo.png", kJpeg,
            "\"%1\" holds a JPEG picture, so its name must end in \".jpg\" or \".jpeg\".");
        row("no ending", "logo", kPng,
            "\"%1\" holds a PNG picture, so its name must end in \".png\".");
        row("svg", "logo.svg",
            "<svg xmlns='http://www.w3.org/2000/svg'><script>alert(1)</script></svg>", notPicture);
        row("text named png", "notes.png", "\x89PNG is what this text is not", notPicture);
        row("riff sound", "sound.webp", "RIFF\x1a\0\0\0WAVEfmt ", notPicture);
        row("missing", "gone.png", {}, "The picture file \"%1\" does not exist.", 'm');
        row("fifo", "pipe.png", {},
            "\"%1\" is not a picture file: it is a folder, a device or a pipe.", 'p');
        row("unreadable", "locked.png", kPng,
            "The picture file \"%1\" cannot be read: Permission denied.", 'u');
    }
    void checksPictureFiles() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(char, kind);
        QFETCH(qint64, size);
        QFETCH(QString, problem);
        if (kind == 'u' && geteuid() == 0)
            QSKIP("root may read any file");
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        if (kind == 'p')
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind != 'm')
            writeBytes(path, bytes);
        if (size >= 0)
            QVERIFY(QFile::resize(path, size));
        if (kind == 'u')
            QVERIFY(QFile::setPermissions(path, {}));
        QCOMPARE(PictureFile::read(path).error(), problem.isEmpty() ? problem : problem.arg(path));
    }

    // The e-mail, cash on delivery and card pages take their form tags and
    // bodies from the settings and templates; only the weight pages that
    // ship charge by weight.
    void orderPagesTakeTheirTemplates() {
        // The form tag and the template a page ends with.
        static const QRegularExpression ending("(<[AM]>)?<[a-z]+>$");
        QStringList shown; // the weight pages, then the others
        for (const bool weight : {true, false}) {
            SiteInput input = twoCategorySite(false);
            input.options.weight = weight;
            input.settings.emailFormTag = "<M>";
            input.settings.actionCode = "<A>";
            input.settings.tableTag.clear();
            input.templates = {"<wmail>", "<wgate>", "<plain>", "<wcod>",
                               "<pcod>",  "<tail>",  "<pay>"};
            for (const NamedPage& page :
                 OrderPages::retailPages(input) + OrderPages::wholesalePages(input))
                shown << page.name + ' ' + ending.match(page.text).captured() +
                             (page.text.contains(OrderPages::weightShipping()) ? "$" : "");
        }
        QCOMPARE(shown.join('\n') + '\n',
                 expectedFile("sitegen/expected/order/page_endings.txt", false));
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

    // The shop without frames orders through the framed shop's own order
    // pages: each is that page byte for byte once this layout's head, menu
    // and footer are taken out again.
    void pagesWithoutFramesKeepTheOrderPages() {
        SiteInput framed = twoCategorySite(true);
        SiteInput pages = framed;
        pages.settings.layout = SiteSettings::Layout::Pages;
        const QStringList added{
            "<!DOCTYPE html>\r\n",
            "<meta charset='utf-8'>",
            "<meta name='viewport' content='width=device-width, initial-scale=1'>",
            "<link rel='stylesheet' href='shop.css'>",
            "<script src='data1.js'></script>",
            "<script src='shop.js'></script>"};
        generate(pages);
        const QMap<QString, QByteArray> withoutFrames = folderContents(m_site);
        generate(framed);
        const QMap<QString, QByteArray> withFrames = folderContents(m_site);
        for (const QString name :
             {"order.htm", "order1.htm", "order_cod.htm", "order_cc.htm", "select_payment.htm",
              "worder.htm", "worder_cod.htm", "worder_cc.htm"}) {
            QString page = QString::fromUtf8(withoutFrames.value(name));
            QVERIFY2(page.contains("<script src='shop.js'></script>"), qPrintable(name));
            for (const QString& line : added)
                page.remove(line);
            page.remove(QRegularExpression("\r\n<script>var shopCategories = [^\r]*"));
            page.remove(QRegularExpression("\r\n<header class='shop-header'>.*<div "
                                           "id='shop-notices' role='status'></div>",
                                           QRegularExpression::DotMatchesEverythingOption));
            page.remove(QRegularExpression("<footer class='shop-footer'>.*</footer>\r\n"));
            page.remove(QRegularExpression("(?<=<head>)(\r\n)+"));
            page.replace("<head>", "<head>\r\n");
            QCOMPARE(page, QString::fromUtf8(withFrames.value(name)));
        }
    }

    void basketSurvivesANewCatalog_data() {
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("quantities");
        QTest::addColumn<QStringList>("notices");
        const QString tape = "{list: 'ToolsList', n: 2, id: 'T200', desc: 'Tape measure', price: "
                             "'7.25', wprice: '5.10', q: %1}";
        const QStringList gone{
            "\u201cTape measure\u201d is no longer sold: it was taken out of your basket."};
        QTest::newRow("unchanged") << tape.arg(3) << "0 3 0" << QStringList();
        QTest::newRow("moved") << tape.arg(3).replace("n: 2", "n: 1") << "0 3 0" << QStringList();
        QTest::newRow("new price")
            << tape.arg(3).replace("'7.25'", "'6.00'") << "0 3 0"
            << QStringList{"The price of \u201cTape measure\u201d is now $ 7.25 (it was $ 6.00)."};
        QTest::newRow("new wholesale price")
            << tape.arg(1).replace("'5.10'", "'5'") << "0 1 0"
            << QStringList{"The wholesale price of \u201cTape measure\u201d is now $ 5.10 (it was "
                           "$ 5.00)."};
        QTest::newRow("no longer sold") << tape.arg(2).replace("T200", "T999") << "0 0 0" << gone;
        QTest::newRow("a category gone")
            << tape.arg(2).replace("ToolsList", "toString") << "0 0 0" << gone;
        QTest::newRow("a place that is no item")
            << tape.arg(2).replace("n: 2", "n: '__proto__'").replace("'T200'", "'undefined'")
            << "0 0 0" << gone;
        for (const char* bad : {"-1", "'2x'", "10000", "1.5", "null"})
            QTest::addRow("quantity %s", bad) << tape.arg(bad) << "0 0 0" << QStringList();
    }
    // A basket kept from an older catalog is put into the new one by the
    // items' IDs; the shopper is told what is gone or costs another price,
    // and quantities no shopper could have typed are dropped.
    void basketSurvivesANewCatalog() {
        QFETCH(QString, kept);
        QFETCH(QString, quantities);
        QFETCH(QStringList, notices);
        QJSEngine engine;
        engine.evaluate(CatalogScript::write(twoCategorySite(false)));
        engine.evaluate(QString::fromUtf8(PagesLayout::basketScript()));
        const QJSValue told =
            engine.evaluate("var shopCategories = [{name: 'Tools', list: 'ToolsList'}, {name: "
                            "'Paint', list: 'PaintList'}]; var lists = "
                            "ShopBasket.catalogLists(shopCategories, this); "
                            "ShopBasket.restore([" +
                            kept + "], lists)");
        QVERIFY2(!told.isError(), qPrintable(told.toString()));
        QCOMPARE(qjsvalue_cast<QStringList>(told), notices);
        QCOMPARE(engine
                     .evaluate("[ToolsList[1], ToolsList[2], PaintList[1]].map(function (i) { "
                               "return i.itemquantity }).join(' ')")
                     .toString(),
                 quantities);
    }

    // An item's picture and description addresses are followed only when
    // they lead within the shop or are web addresses.
    void basketFollowsOnlyWebAddresses() {
        QJSEngine engine;
        engine.evaluate(QString::fromUtf8(PagesLayout::basketScript()));
        const auto follows = [&engine](const QString& address) {
            return engine.globalObject()
                .property("ShopBasket")
                .property("isWebAddress")
                .call({address})
                .toBool();
        };
        for (const char* good :
             {"desc/hammer.htm", "http://shop.test/a", "HTTPS://shop.test/a", "pics/a:b.png"})
            QVERIFY2(follows(good), good);
        for (const char* bad : {"javascript:alert(1)", " JavaScript:alert(1)", "java\tscr\nipt:x",
                                "data:text/html,<b>", "file:///etc/passwd", ""})
            QVERIFY2(!follows(bad), bad);
    }

    // A FIFO in a page's place is replaced by the page, not waited on.
    void writesPagesAndFiles() {
        QTemporaryDir dir;
        writeBytes(dir.filePath("1.htm"), "an earlier, longer page text\r\n");
        writeBytes(dir.filePath("data1.js"), "b\r\n"); // as long as the new text
        QCOMPARE(mkfifo(QFile::encodeName(dir.filePath("2.htm")).constData(), 0600), 0);
        PageFileWriter writer(dir.path());
        writer.write({PageFileWriter::page("1", "<html>\r\nPreis: 9 €</html>"),
                      PageFileWriter::file("data1.js", "a\r\n"), PageFileWriter::page("2", "")});
        QCOMPARE(fileBytes(dir.filePath("1.htm")), "<html>\r\nPreis: 9 \xE2\x82\xAC</html>\r\n");
        QCOMPARE(fileBytes(dir.filePath("data1.js")), "a\r\n");
        QVERIFY(QFileInfo(dir.filePath("2.htm")).isFile());
        QCOMPARE(
            writer.written() + writer.failures(),
            QStringList({dir.filePath("1.htm"), dir.filePath("data1.js"), dir.filePath("2.htm")}));
    }

    void refusesNamesOutsideTheFolder() {
        QTemporaryDir parent;
        QVERIFY(QDir(parent.path()).mkpath("site/sub"));
        for (const char* name : {"../escape.htm", "sub/page.htm", ".."}) {
            PageFileWriter writer(parent.filePath("site"));
            writer.write({PageFileWriter::file(name, "x")});
            QVERIFY(writer.written().isEmpty());
            QVERIFY2(writer.failures().value(0).startsWith("Could not write "), name);
        }
        QDirIterator files(parent.path(), QDir::Files, QDirIterator::Subdirectories);
        QVERIFY(!files.hasNext());
        const QString missing = parent.filePath("no such folder");
        PageFileWriter lost(missing);
        lost.write({PageFileWriter::page("1", "text")});
        QVERIFY2(lost.failures().value(0).startsWith("Could not write " + missing + "/1.htm: "),
                 qPrintable(lost.failures().value(0)));
        QVERIFY(!QFileInfo::exists(missing));
    }

    // A page held back until its file is closed, one written at once, and
    // one whose line end is refused: the system's reason is given, the
    // earlier file stays whole, and nothing after the failure is written.
    void stopsAtTheFirstFailedWrite() {
        for (const int size : {6000, 40000, 4096}) {
            QTemporaryDir dir;
            const QString page = dir.filePath("b.htm");
            writeBytes(page, "old page\r\n");
            PageFileWriter writer(dir.path());
            {
                const FileSizeLimit limit(4096);
                writer.write({PageFileWriter::page("a", "first"),
                              PageFileWriter::page("b", QString(size, QLatin1Char('x'))),
                              PageFileWriter::page("c", "third")});
            }
            QCOMPARE(writer.written(), QStringList{dir.filePath("a.htm")});
            QCOMPARE(writer.failures(),
                     QStringList{"Could not write " + page + ": File too large"});
            QCOMPARE(fileBytes(page), "old page\r\n");
            QVERIFY(!QFileInfo::exists(dir.filePath("c.htm")));
        }
    }

    void writesTheSiteInItsOrder() {
        QTemporaryDir folder;
        writeBytes(folder.filePath("fsecond.htm"), "from an earlier run");
        SiteInput input = twoCategorySite(true);
        input.settings.layout = SiteSettings::Layout::ContentsOnly;
        input.settings.startFileName = "shop";
        GenerationResult result = SiteGenerator::generate(folder.path(), input);
        QVERIFY2(result.ok(), qPrintable((result.problems + result.failures).join('\n')));
        QCOMPARE(result.written.replaceInStrings(folder.path() + '/', ""),
                 listed("written_contents_layout.txt"));
        // The contents layout leaves an old second frameset alone.
        QCOMPARE(fileBytes(folder.filePath("fsecond.htm")), "from an earlier run");

        input.settings.layout = SiteSettings::Layout::BannerAndContents;
        const QStringList written = SiteGenerator::generate(folder.path(), input)
                                        .written.replaceInStrings(folder.path() + '/', "");
        QCOMPARE(written.mid(0, 4),
                 QStringList({"data1.js", "shop.htm", "fsecond.htm", "banner.htm"}));
    }

    // An empty tax rate, a start file that is the basket or in another
    // folder, a price with a comma, markup in a description link (hand-edited
    // item files may hold what the window's "Add" refuses), two categories
    // sharing a script name: nothing is written, and the message names the
    // cause. The field is "tax", "start", "category" or the item field's
    // number.
    void refusesWhatWouldBreakTheSite() {
        const char* const rows[][3] = {
            {"tax", "", "\"Sales Tax,%\" rate must be a number"},
            {"start", "basket", "another page"},
            {"start", "../index", "must not"},
            {"2", "1,5", "Tools, item T100: price \"1,5\""},
            {"4", "a.htm\"><script>x()</script>",
             "Tools, item T100: picture \"pics/hammer.jpg\", description \"a.htm\"><script>"},
            {"category", "Hand_x20_Tools", "\"Hand Tools\" and \"Hand_x20_Tools\""}};
        for (const auto& row : rows) {
            const QString field = row[0], value = row[1], message = row[2];
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
            QVERIFY2(result.problems.join('\n').contains(message),
                     qPrintable(result.problems.join('\n')));
            QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList());
        }
    }

    // The pictures are copied under their names in the site, before the
    // pages that show them. A refused picture or a colour that is not
    // "#rrggbb" stops the next Generate before anything changes, and such a
    // colour never reaches a page.
    void copiesThePicturesWithThePages() {
        writePictures(m_pictures);
        SiteInput input = identityShop(m_pictures);
        QVERIFY(QDir().mkpath(m_site));
        GenerationResult result = SiteGenerator::generate(m_site, input);
        QVERIFY(result.ok());
        QCOMPARE(
            result.written.replaceInStrings(m_site + '/', "").mid(0, 6),
            QStringList({"data1.js", "banner_picture.png", "banner_background.jpg",
                         "compinfo_background.gif", "m_products_background.webp", "index.htm"}));
        QCOMPARE(fileBytes(m_site + "/banner_picture.png"), kPng);
        QCOMPARE(fileBytes(m_site + "/banner_background.jpg"), kJpeg);
        QCOMPARE(fileBytes(m_site + "/compinfo_background.gif"), kGif);
        QCOMPARE(fileBytes(m_site + "/m_products_background.webp"), kWebp);

        const QMap<QString, QByteArray> before = folderContents(m_site);
        writeBytes(m_pictures + "/wood.webp", "<svg/>");
        input.identity.style(Page::Menu).textColour = "navy";
        input.identity.bannerText = "Another shop";
        const GenerationResult refused = SiteGenerator::generate(m_site, input);
        QCOMPARE(refused.problems,
                 QStringList({"The text colour of the \"Menu\" page style must be # and six "
                              "hexadecimal digits, such as #ffcc00, not \"navy\".",
                              '"' + m_pictures +
                                  "/wood.webp\" is not a PNG, JPEG, GIF or WebP "
                                  "picture."}));
        QVERIFY(folderContents(m_site) == before);
        QVERIFY(FramePages::mainMenu(input).contains("\r\n<body bgcolor='#e3e3e3'>\r\n"));
    }

    // The site's files go up in this order: the catalog, the pages the menus
    // link to, the pictures (before the pages that show them), the frames'
    // pages, the menus, the second frameset, the start page. The pictures
    // are among the site's own files that a publish removes first.
    void callSequence() {
        writePictures(m_pictures);
        const SiteInput input = identityShop(m_pictures);
        generate(input);
        QStringList pictures;
        for (const SitePicture& picture : input.identity.pictures())
            pictures << picture.siteName;
        const QStringList uploadOrder = listed("upload_order_pictures.txt");
        const QString addresses = uploadOrder.join('\n') + '\n',
                      paths = m_site + '/' + uploadOrder.join('\n' + m_site + '/') + '\n';
        for (const bool webExists : {false, true}) {
            RecordingPublisher publisher(webExists);
            QSignalSpy progress(&publisher, &Publisher::documentHandled);
            const PublishReport report = SitePublishing::publishSite(
                publisher, target("www.shop.test"), "index",
                SiteSettings::Layout::BannerAndContents, {"Tools", "Paint"}, pictures);
            QList<Call> expected{
                {"vtiDisableErrorDialogs", {"1"}},
                {"vtiOpenWebWithPassword", {"www.shop.test", "Shop", "merchant", "secret"}}};
            if (webExists)
                expected.append({"vtiRemoveWeb", {"/Shop", addresses}});
            expected << Call{"vtiCreateWeb", {"http://www.shop.test", "Shop"}}
                     << Call{"vtiPutDocuments", {paths, addresses}};
            QCOMPARE(publisher.calls(), expected);
            QVERIFY(report.ok() && report.published == 25 && progress.size() == 25);
        }
        // An update sends the catalog alone.
        RecordingPublisher publisher(false);
        QCOMPARE(SitePublishing::publishCatalog(publisher, target("shop.test:8080")).published, 1);
        QCOMPARE(publisher.calls().last(),
                 (Call{"vtiPutDocuments", {m_site + "/data1.js\n", "data1.js\n"}}));
    }

    // Pages without frames have no frame pages to send: the catalog goes
    // up first with the style sheet and script every page uses, the start
    // page last. A publish over an existing web names them all for removal.
    void uploadOrderWithoutFrames() {
        RecordingPublisher publisher(true);
        SitePublishing::publishSite(publisher, target("www.shop.test"), "index",
                                    SiteSettings::Layout::Pages, {"Tools", "Paint"},
                                    {"banner_picture.png", "compinfo_background.gif"});
        const QString addresses = listed("upload_order_pages.txt").join('\n') + '\n';
        QCOMPARE(publisher.calls().value(2), (Call{"vtiRemoveWeb", {"/Shop", addresses}}));
    }

    // A real folder as the server: a second publish after a layout change
    // removes the site's own stale page, keeps what others stored in the
    // web, and reports the page that was not there to send. A start page or
    // category whose page leads out of the web stops a publish before
    // anything in the web or beside it is removed, and the message names the
    // name.
    void publishesIntoAFolder() {
        generate();
        const QString server = m_dir.filePath("www");
        QVERIFY(QDir().mkpath(server));
        FolderPublisher publisher;
        QVERIFY(publish(publisher, server).ok());
        const QDir web(server + "/Shop");
        QCOMPARE(web.entryList(QDir::Files).size(), 21);
        QCOMPARE(fileBytes(web.filePath("order1.htm")), fileBytes(m_site + "/order1.htm"));
        writeBytes(web.filePath("_private/distorders.htm"), "an order a shopper sent");
        generate(SiteSettings::Layout::ContentsOnly);
        QCOMPARE(publish(publisher, "file://" + server).summary(target(server)),
                 "20 of 20 files were published to " + server +
                     " (web \"Shop\").\nNot in the project folder, so not sent (use Generate "
                     "first if they belong to the site):\nfsecond.htm");
        QVERIFY(!web.exists("fsecond.htm"));
        QCOMPARE(fileBytes(web.filePath("_private/distorders.htm")), "an order a shopper sent");
        const QString missing = m_dir.filePath("no such folder");
        QCOMPARE(publish(publisher, missing).summary(target(missing)),
                 "Nothing was published to " + missing + " (web \"Shop\").\nThe folder " + missing +
                     " does not exist.");
        QVERIFY(!QFileInfo::exists(missing));

        const QString precious = m_dir.filePath("outside/precious.htm");
        writeBytes(precious, "keep");
        writeBytes(web.filePath("index.htm"), "old");
        const QString rows[][2] = {{"../../outside/precious", "Tools"}, {"index", "Tools/Hand"}};
        for (const auto& [start, category] : rows) {
            const QString summary =
                publish(publisher, server, start, category).summary(target(server));
            const QString named = start == "index" ? "l_" + category : start;
            QVERIFY2(summary.contains('"' + named + ".htm\" is not a plain file name") &&
                         summary.endsWith("Nothing was removed or sent."),
                     qPrintable(summary));
        }
        QCOMPARE(fileBytes(web.filePath("index.htm")), "old");
        // The back end on its own keeps to the web as well; the page beside
        // the web is as it was.
        QCOMPARE(publisher.vtiOpenWebWithPassword(server, "Shop", {}, {}).valueOr(false), true);
        QVERIFY(!publisher.vtiRemoveWeb("/Shop", "../../outside/precious.htm\n"));
        QVERIFY(!publisher.vtiPutDocuments(m_site + "/index.htm\n", "../../outside/precious.htm\n")
                     .first());
        QCOMPARE(fileBytes(precious), "keep");
    }

    // Over one bound, up to and including the next; order1.htm charges by
    // the products total, from exactly 100.00 and 1000.00 on as well.
    void shippingPicksTheBracket() {
        const SiteInput input = basketShop(true, "0");
        const QString charges = "function (t) { totalW = totalPrice = t; cof = cof2 = cof3 = cof4 "
                                "= 0; UpdateShipping(); return [cof, cof2, cof3, cof4].map("
                                "function (c) { return c.toFixed(2) }).join(' ') }";
        Shop weight(input), total(input);
        weight.openForm(OrderPages::retailPages(input).at(0).text, "");
        QCOMPARE(weight.run("[0, 1, 1.01, 20, 20.5].map(" + charges + ").join(', ')"),
                 "0.00 0.00 0.00 0.00, 7.75 8.25 18.45 20.00, 8.70 9.00 20.70 22.40, "
                 "32.00 34.95 52.95 57.05, 100.00 100.00 100.00 100.00");
        total.openForm(OrderPages::retailPages(input).at(1).text, "");
        QCOMPARE(total.run("[99.99, 100, 999.99, 1000].map(" + charges + ").join(', ')"),
                 "5.00 11.00 29.00 0.00, 7.00 13.00 31.00 0.00, 17.00 23.00 41.00 0.00, "
                 "20.00 26.00 44.00 0.00");
    }

    void orderFormsComputeTheTotals_data() {
        QTest::addColumn<bool>("weight");
        QTest::addColumn<int>("page"); // 0: order, 1: order1, 2: order_cod
        QTest::addColumn<QStringList>("steps");
        // At 6% tax 8 lb ship for 18.45, 18.70, 32.95 or 35.45.
        const QStringList mail{
            "R12 ; (ticked)=R12 V1 ; T2=$ 4.83 ; T3=$ 18.45 ; T6=$ 35.45 ; T1=$$$ 103.78 ; "
            "DESCRIPTION=" +
                kRetail + "$$$ 103.78",
            "V3 ; (ticked)=R12 V3 ; T1=$$$ 118.28",
            "R11 ; (ticked)=R11 V1 ; T2=$ 0.00 ; T1=$$$ 98.95",
            "T1 ; (ticked)=V1 ; T2=$ 4.83 ; T1=$$$ 103.78"};
        QTest::newRow("weight order") << true << 0 << mail;
        // Cash on delivery ships nothing; its description ends with the products total.
        QTest::newRow("weight cod")
            << true << 2
            << QStringList{"R12 ; (ticked)=R12 ; T2=$ 4.83 ; T1=$$$ 85.33 ; "
                           "AMOUNT=$$$ 85.33 ; DESCRIPTION=" +
                               kRetail + "80.50",
                           "R11 ; T2=$ 0.00 ; T1=$$$ 80.50"};
        // By products total (80.50: 5, 11 or 29) and the State's rate (Texas 6.25%).
        QTest::newRow("order1")
            << true << 1
            << QStringList{"Shipping=2nd Day ; ShippingCost=$ 11.00 ; SalesTax=$ 0.00 ; "
                           "ExtendedTotal=$$$ 91.50 ; DESCRIPTION=" +
                               kRetail + "$$$ 91.50",
                           "State=Texas ; SalesTax=$ 5.03 ; ExtendedTotal=$$$ 96.53",
                           "Shipping=Next Day ; ShippingCost=$ 29.00 ; ExtendedTotal=$$$ 114.53"};
        // Without weight at 8.25%: no shipping charge.
        const QStringList plain{
            "R12 ; (ticked)=R12 ; T2=$ 6.64 ; T1=$$$ 87.14 ; DESCRIPTION=" + kRetail + "$$$ 87.14",
            "R11 ; (ticked)=R11 ; T2=$ 0.00 ; T1=$$$ 80.50"};
        QTest::newRow("plain order") << false << 0 << plain;
    }
    void orderFormsComputeTheTotals() {
        QFETCH(bool, weight);
        QFETCH(int, page);
        QFETCH(QStringList, steps);
        const SiteInput input = basketShop(weight, weight ? "0.06" : "0.0825");
        Shop form(input);
        form.openForm(OrderPages::retailPages(input).at(page).text, kOrders);
        for (const QString& step : steps)
            QCOMPARE(form.step(step), step);
    }

    // Whatever the category is called and whatever quotes the merchant's
    // tags hold, the pages order into the catalog, the basket shows the
    // items and their totals, and Remove empties one and loads the basket
    // (the wholesale basket's script is compared whole, as text).
    void oddNamesAndTagsStillWork() {
        SiteInput input = twoCategorySite(true);
        input.categories[0].name = "Joe's \"12\" <b>";
        input.settings.fontTag = "<font face=\"Arial\">";
        input.settings.tableTag = "<table summary=\"</script>\">";
        const QString list = "top.Joe_x27_s_x20__x22_12_x22__x20__x3c_b_x3e_List";
        Shop listing(input);
        QCOMPARE(listing.run("[0.05, 12.999, -2.5, 1e6, -0.001].map(moneyFormat).join(' ')"),
                 "0.05 13.00 -2.50 1000000.00 0.00");
        listing.load(ListingPages::listingPage(input, 0));
        QVERIFY(listing.run("DisplayList(); written")
                    .contains("<b>Joe&#39;s &quot;12&quot; &lt;b&gt; Listing</b>"));
        listing.run("document.forms = [{}, {}, {quantity: {value: '4'}}]; OnOrderItem(2)");
        QCOMPARE(listing.run(list + "[2].itemquantity + document.forms[2].quantity.value"), "40");
        Shop shop(input);
        shop.load(BasketPages::retail(input));
        const QString shown = shop.run(list + "[1].itemquantity = 2; PaintList[1].itemquantity "
                                              "= '1'; displayBasket(); written")
                                  .remove(input.settings.fontTag);
        QVERIFY(shown.startsWith("<CENTER><BR><table summary=\"</script>\"><TR>"));
        QCOMPARE(shown.count("<TR VALIGN='top'>"), 2);
        QVERIFY2(shown.contains("<TD>T100</TD><TD>Claw hammer</TD><TD>$ 12.50</TD><TD>Acme</TD>"
                                "<TD>2</TD><TD>$ 25.00") &&
                     shown.endsWith("<TR><TH COLSPAN=5>Products Total</TH><TD>$ 46.00</TD></TR>"
                                    "</TABLE></CENTER>"),
                 qPrintable(shown));
        QCOMPARE(shop.run("RemoveFromJoe_x27_s_x20__x22_12_x22__x20__x3c_b_x3e_(1);" + list +
                          "[1].itemquantity + location.href"),
                 "0basket.htm");
        QCOMPARE(shop.run("written = ''; displayBasket(); written").count("<TR VALIGN='top'>"), 1);
    }
};

QTEST_GUILESS_MAIN(TestSiteWriters)
#include "test_site_writers.moc"
