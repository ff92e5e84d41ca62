// A shopper walks through the generated sample shop in a real browser engine:
// orders on two listing pages and on the build-your-own page, checks both
// baskets, removes an item, and works every order form. The amounts expected
// were worked out by hand from the sample shop's items.

#include "platform/TextFile.h"
#include "project/ProjectFolder.h"
#include "sitegen/SiteGenerator.h"
#include "support/HttpFixture.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QtTest>
#include <memory>
#include <unistd.h>

// A shopper step returns an empty text on success, else what went wrong.
#define STEP(expression)                                                                           \
    do {                                                                                           \
        const QString problem_ = (expression);                                                     \
        QVERIFY2(problem_.isEmpty(), qPrintable(problem_));                                        \
    } while (false)

namespace {

using Rows = QList<QStringList>;

const int kTimeoutMs = 20000;

// The item IDs a basket or order page lists, then its last row.
QString summary(const Rows& rows) {
    QStringList ids;
    for (qsizetype i = 2; i + 1 < rows.size(); ++i)
        ids << rows.at(i).value(0);
    return ids.join(' ') + " / " + (rows.isEmpty() ? QString() : rows.last().join(" | "));
}

// Form fields as "NAME=value" lines, line feeds in values shown as \n.
QString describe(const QMap<QString, QString>& fields) {
    QStringList lines;
    for (auto it = fields.begin(); it != fields.end(); ++it)
        lines << it.key() + '=' + QString(it.value()).replace('\n', QStringLiteral("\\n"));
    return lines.join('\n');
}

// An order page, what it lists, and the shopper's steps on its form. A step
// is "ACTION ; FIELD=value ; ...": a radio button to click, a field to type
// "1" into ("T1") or a list and its option ("State=Texas"), then the fields
// it must leave; "(ticked)" names the ticked radio buttons.
struct OrderPage {
    QString name;
    QString listed;
    QStringList steps;
};

// The basket the forms are worked with: T100 x 2, G300 x 1, G400 x 5 and
// P200 x 4, 80.50 retail, 56.50 wholesale, 8 lb.
const QString kRetail = QStringLiteral("T100 G300 G400 P200 / Products Total | $ 80.50");
const QString kWholesale = QStringLiteral("T100 G300 G400 P200 / Products Total | $ 56.50");
const QString kRetailInfo = QStringLiteral("T100 ^ 2 ^ 12.50 ^ 25.00^\nG300 ^ 1 ^ 18.25 ^ 18.25^\n"
                                           "G400 ^ 5 ^ 2.05 ^ 10.25^\nP200 ^ 4 ^ 6.75 ^ 27.00^\n");
const QString kWholesaleInfo =
    QStringLiteral("T100 ^ 2 ^ 9.00 ^ 18.00^\nG300 ^ 1 ^ 13.50 ^ 13.50^\n"
                   "G400 ^ 5 ^ 1.40 ^ 7.00^\nP200 ^ 4 ^ 4.50 ^ 18.00^\n");

// order1.htm charges by products total (80.50: 5, 11 or 29) and by the
// State's tax rate (Texas 6.25%).
const OrderPage kOrder1{
    "order1.htm", kRetail,
    QStringList{"Shipping=2nd Day ; ShippingCost=$ 11.00 ; SalesTax=$ 0.00 ; "
                "ExtendedTotal=$$$ 91.50 ; DESCRIPTION=" +
                    kRetailInfo + "\n Total Price : $$$ 91.50",
                "State=Texas ; SalesTax=$ 5.03 ; ExtendedTotal=$$$ 96.53",
                "Shipping=Next Day ; ShippingCost=$ 29.00 ; ExtendedTotal=$$$ 114.53"}};

// Weight pages at 6% tax: 8 lb ships for 18.45, 18.70, 32.95 or 35.45.
QList<OrderPage> weightPages() {
    const QStringList mail{"R12 ; (ticked)=R12 V1 ; T2=$ 4.83 ; T3=$ 18.45 ; T6=$ 35.45 ; "
                           "T1=$$$ 103.78 ; DESCRIPTION=" +
                               kRetailInfo + "\n Total Price : $$$ 103.78",
                           "V3 ; (ticked)=R12 V3 ; T1=$$$ 118.28",
                           "R11 ; (ticked)=R11 V1 ; T2=$ 0.00 ; T1=$$$ 98.95",
                           "T1 ; (ticked)=V1 ; T2=$ 4.83 ; T1=$$$ 103.78"};
    // Cash on delivery ships nothing; its description ends with the products total.
    const QStringList cod{"R12 ; (ticked)=R12 ; T2=$ 4.83 ; T1=$$$ 85.33 ; AMOUNT=$$$ 85.33 ; "
                          "DESCRIPTION=" +
                              kRetailInfo + "\n Total Price : 80.50",
                          "R11 ; T2=$ 0.00 ; T1=$$$ 80.50",
                          "T1 ; (ticked)= ; T2=$ 4.83 ; T1=$$$ 85.33 ; AMOUNT=$$$ 85.33"};
    const QStringList wholesale{"R12 ; T2=$ 3.39 ; T1=$$$ 78.34 ; DESCRIPTION=" + kWholesaleInfo +
                                    "\n Total Price : $$$ 78.34",
                                "V3 ; T1=$$$ 92.84"};
    return {{"order.htm", kRetail, mail},
            {"order_cod.htm", kRetail, cod},
            {"order_cc.htm", kRetail, mail},
            {"worder.htm", kWholesale, wholesale},
            kOrder1};
}

// Pages without weight at 8.25% tax: no shipping charge.
QList<OrderPage> plainPages() {
    const QStringList retail{"R12 ; (ticked)=R12 ; T2=$ 6.64 ; T1=$$$ 87.14 ; DESCRIPTION=" +
                                 kRetailInfo + "\n Total Price : $$$ 87.14",
                             "R11 ; (ticked)=R11 ; T2=$ 0.00 ; T1=$$$ 80.50",
                             "T2 ; (ticked)= ; T2=$ 6.64 ; T1=$$$ 87.14"};
    return {{"order.htm", kRetail, retail},
            {"order_cod.htm", kRetail, retail},
            {"order_cc.htm", kRetail, retail},
            {"worder.htm", kWholesale, {"R12 ; T2=$ 4.66 ; T1=$$$ 61.16"}},
            kOrder1};
}

// ---------------------------------------------------------------------------
// The browser side: a page that keeps every script error, and a shopper
// who drives the shop's frames with small scripts.
// ---------------------------------------------------------------------------

class ShopPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;
    QStringList errors;

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int line, const QString& source) override {
        if (level == ErrorMessageLevel)
            errors << QStringLiteral("%1:%2: %3").arg(source).arg(line).arg(message);
    }
};

// Waits in an event loop rather than sleeping: the browser engine does part
// of its work on this thread.
void pause(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

enum class Frame { Menu, Main };

class Shopper {
public:
    Shopper(SiteSettings::Layout layout, ShopPage& page) : m_layout(layout), m_page(page) {}

    // Loads the start page and checks that every frame shows its first page.
    QString open(const QUrl& startPage) {
        QSignalSpy loaded(&m_page, &QWebEnginePage::loadFinished);
        m_page.load(startPage);
        if (!loaded.wait(kTimeoutMs) || !loaded.first().first().toBool())
            return QStringLiteral("the start page did not load");
        const bool banner = m_layout == SiteSettings::Layout::BannerAndContents;
        const QString want = banner ? "/banner.htm /fsecond.htm /mmenu.htm /compinfo.htm"
                                    : "/mmenu.htm /compinfo.htm";
        const QVariant shown = run(QString(), QStringLiteral(R"(
            var names = top.frames['main'] ? [top.frames['header'], top.frames['main'],
                                              top.frames['main'].frames['c_ontents'],
                                              top.frames['main'].frames['m_ain']]
                                           : [top.frames['c_ontents'], top.frames['m_ain']];
            return names.map(function (w) { return w.location.pathname; }).join(' ');)"));
        return shown.toString() == want ? errors() : "frames show " + shown.toString();
    }

    // Follows a link of the menu frame; `lands` is the page expected to
    // load (in the menu frame itself when `inMenu`, else in the main frame).
    QString menu(const QString& linkText, const QString& lands, bool inMenu = false) {
        return actAndWait(Frame::Menu, inMenu ? Frame::Menu : Frame::Main, R"(
            var link = Array.from(doc.links).find(function (a) {
                return a.textContent.replace(/\s+/g, ' ').trim() == args[0]; });
            if (!link) throw 'no menu link ' + args[0];
            link.click();)",
                          {linkText}, lands);
    }
    // Follows the link to `page` on the page in the main frame.
    QString link(const QString& page) {
        return actAndWait(Frame::Main, Frame::Main, R"(
            var link = Array.from(doc.links).find(function (a) {
                return a.getAttribute('href') == args[0]; });
            if (!link) throw 'no link to ' + args[0];
            link.click();)",
                          {page}, page);
    }

    // The rows of the first table in the main frame, cell by cell.
    Rows table() {
        const QVariant rows = run(Frame::Main, R"(
            var table = doc.querySelector('table');
            if (!table) throw 'no table';
            return Array.from(table.rows).map(function (row) {
                return Array.from(row.cells).map(function (cell) {
                    return cell.textContent.replace(/\s+/g, ' ').trim(); }); });)");
        Rows result;
        for (const QVariant& row : rows.toList())
            result << row.toStringList();
        return result;
    }

    QString title() { return run(Frame::Main, "return doc.title;").toString(); }

    // On a listing page: types the quantity into the item's row and presses
    // Order. The page sets the box back to 0.
    QString orderOnListing(const QString& itemId, const QString& quantity) {
        const QVariant box = run(Frame::Main, R"(
            var row = Array.from(doc.querySelectorAll('tr')).find(function (r) {
                return Array.from(r.cells).some(function (c) { return c.textContent.trim() == args[0]; }); });
            if (!row) throw 'no row for ' + args[0];
            var box = row.querySelector("input[name='quantity']");
            box.value = args[1];
            row.querySelector("input[value='Order']").click();
            return box.value;)",
                                 {itemId, quantity});
        return box.toString() == QLatin1String("0") ? errors()
                                                    : "quantity box shows " + box.toString();
    }
    // On complect.htm: picks the item in category k's drop-down, types the
    // quantity and presses that form's Order.
    QString orderOnCombined(int k, const QString& description, const QString& quantity) {
        run(Frame::Main, R"(
            var form = doc.forms['a' + args[0]];
            var list = form.elements['D' + args[0]];
            var option = Array.from(list.options).find(function (o) { return o.text == args[1]; });
            if (!option) throw 'no option ' + args[1];
            list.value = option.value;
            list.dispatchEvent(new Event('change'));
            form.elements['quantity'].value = args[2];
            Array.from(form.elements).find(function (e) { return e.value == 'Order'; }).click();)",
            {QString::number(k + 1), description, quantity});
        return errors();
    }
    // On a basket page: presses Remove in the item's row; the retail basket loads.
    QString remove(const QString& itemId) {
        return actAndWait(Frame::Main, Frame::Main, R"(
            var row = Array.from(doc.querySelectorAll('tr')).find(function (r) {
                return r.cells.length > 1 && r.cells[0].textContent.trim() == args[0]; });
            row.querySelector("input[value='Remove']").click();)",
                          {itemId}, QStringLiteral("basket.htm"));
    }

    // An order form action: "R12" clicks a control, "T1" types "1" into a
    // field and leaves it, "State=Texas" chooses a list's option by its text.
    QString formAction(const QString& action) {
        run(Frame::Main, R"(
            var field = form().elements[args[0]];
            if (args[0][0] == 'T') field.value = '1';
            if (field.options) {
                var option = Array.from(field.options).find(function (o) { return o.text.trim() == args[1]; });
                if (!option) throw 'no option ' + args[1];
                field.selectedIndex = option.index;
            }
            if (field.options || args[0][0] == 'T') field.dispatchEvent(new Event('change'));
            if (args[0][0] != 'T') field.click();)",
            {action.section('=', 0, 0), action.section('=', 1)});
        return errors();
    }
    // The named fields of the order form and its ticked radio buttons, as describe() gives them.
    QString formFields(const QStringList& names, bool withTicked) {
        const QVariantMap values = run(Frame::Main, R"(
            var out = {};
            args[0].forEach(function (name) {
                var field = form().elements[name];
                out[name] = field ? field.value : '(no field)'; });
            if (args[1]) out['(ticked)'] = Array.from(form().elements).filter(function (e) {
                return e.type == 'radio' && e.checked; }).map(function (e) { return e.name; }).sort().join(' ');
            return out;)",
                                       {QJsonArray::fromStringList(names), withTicked})
                                       .toMap();
        QMap<QString, QString> fields;
        for (auto it = values.begin(); it != values.end(); ++it)
            fields[it.key()] = it.value().toString();
        return describe(fields);
    }

    // Script errors the pages reported so far, as one text; empty when none.
    QString errors() {
        QCoreApplication::processEvents(); // deliver console messages still on their way
        const QString all = (m_page.errors + m_runErrors).join('\n');
        return all.isEmpty() ? all : QStringLiteral("script errors:\n") + all;
    }

private:
    QString frame(Frame which) const {
        const QString outer =
            m_layout == SiteSettings::Layout::BannerAndContents ? "top.frames['main']" : "top";
        return outer + (which == Frame::Menu ? ".frames['c_ontents']" : ".frames['m_ain']");
    }

    // Runs `body` as a function with `win` and `doc` of the frame, `form()`
    // for its order form and `args` from JSON; waits for its result.
    QVariant run(Frame which, const QString& body, const QJsonArray& args = {}) {
        return run(frame(which), body, args);
    }
    QVariant run(const QString& frameExpression, const QString& body, const QJsonArray& args = {}) {
        const QString script =
            QStringLiteral("(function () { try {\n var win = %1; var doc = win ? win.document : "
                           "document;\n var args = %2;\n var form = function () { return "
                           "doc.forms['FormOrder']; };\n return {value: (function () {%3\n})()};\n"
                           "} catch (e) { return {error: String(e)}; } })()")
                .arg(frameExpression.isEmpty() ? QStringLiteral("null") : frameExpression,
                     QString::fromUtf8(QJsonDocument(args).toJson(QJsonDocument::Compact)), body);
        // The answer may come after a time-out, when this call is over.
        struct Answer {
            QVariantMap result;
            bool done = false;
            QEventLoop loop;
        };
        const auto answer = std::make_shared<Answer>();
        m_page.runJavaScript(script, [answer](const QVariant& value) {
            answer->result = value.toMap();
            answer->done = true;
            answer->loop.quit();
        });
        QTimer::singleShot(kTimeoutMs, &answer->loop, &QEventLoop::quit);
        if (!answer->done)
            answer->loop.exec();
        const QVariantMap& result = answer->result;
        if (!answer->done)
            m_runErrors << QStringLiteral("no answer from the page");
        else if (result.contains(QStringLiteral("error")))
            m_runErrors << QStringLiteral("step failed: ") + result.value("error").toString();
        return result.value(QStringLiteral("value"));
    }

    // Runs `action` in one frame and waits until `target` has loaded `page`.
    QString actAndWait(Frame where, Frame target, const QString& action, const QJsonArray& args,
                       const QString& page) {
        run(where, QStringLiteral("%1.qmLeaving = true;\n").arg(frame(target)) + action, args);
        if (const QString problem = errors(); !problem.isEmpty())
            return problem;
        QString shown;
        QDeadlineTimer deadline(kTimeoutMs);
        while (!deadline.hasExpired()) {
            shown = run(target, R"(
                return !win.qmLeaving && doc.readyState == 'complete'
                    ? decodeURIComponent(win.location.pathname) : '';)")
                        .toString();
            if (!shown.isEmpty())
                break;
            pause(10);
        }
        const bool loaded = !shown.isEmpty();
        if (!loaded)
            return QStringLiteral("%1 did not load").arg(page);
        if (shown != QLatin1Char('/') + page)
            return QStringLiteral("%1 loaded instead of %2").arg(shown, page);
        return errors();
    }

    SiteSettings::Layout m_layout;
    ShopPage& m_page;
    QStringList m_runErrors;
};

// One generated copy of the sample shop, served on 127.0.0.1 and open in
// its own off-the-record browser profile.
class Shop {
public:
    QString start(SiteSettings::Layout layout, const CatalogOptions& options,
                  const QString& salesTax = SiteSettings::defaults().salesTax) {
        if (!m_folder.isValid())
            return QStringLiteral("no temporary folder");
        const QString path = QDir(m_folder.path()).filePath(QStringLiteral("SampleShop"));
        if (const QString problem = copyFolder(QStringLiteral(QUILLMART_SAMPLE_SHOP), path);
            !problem.isEmpty())
            return problem;
        const ProjectFolder project = ProjectFolder::at(path);
        const auto categories = TextFile::readLines(project.projectFile());
        SiteSettings settings = SiteSettings::defaults();
        settings.layout = layout;
        settings.salesTax = salesTax;
        const auto input = project.readSite(categories.value_or(QStringList()), settings, options);
        if (!categories || !input)
            return QStringLiteral("cannot read the sample shop: ") + input.error();
        const GenerationResult result = SiteGenerator::generate(path, *input);
        if (!result.ok())
            return (result.problems + result.failures).join('\n');
        m_server = std::make_unique<HttpFixture>(path);
        if (!m_server->start())
            return QStringLiteral("the web server did not start");
        m_profile.settings()->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
        page = std::make_unique<ShopPage>(&m_profile);
        shopper = std::make_unique<Shopper>(layout, *page);
        return shopper->open(m_server->url(QStringLiteral("index.htm")));
    }

    // Files the pages asked for that the site does not have.
    QStringList missingFiles() const { return m_server ? m_server->notFound() : QStringList(); }

private:
    static QString copyFolder(const QString& from, const QString& to) {
        QDirIterator files(from, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString source = files.next();
            const QString target = QDir(to).filePath(QDir(from).relativeFilePath(source));
            if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(source, target))
                return QStringLiteral("cannot copy %1").arg(source);
        }
        return {};
    }

    QTemporaryDir m_folder;
    std::unique_ptr<HttpFixture> m_server;
    QWebEngineProfile m_profile; // off the record: no name, no storage on disk

public:
    std::unique_ptr<ShopPage> page; // declared after the profile: deleted first
    std::unique_ptr<Shopper> shopper;
};

// Opens an order page from the payment choice page, checks its list of the
// basket, then works its form step by step.
QString checkOrderPage(Shopper& shopper, const OrderPage& page) {
    QString problem = shopper.menu("Order Form", "select_payment.htm");
    if (problem.isEmpty())
        problem = shopper.link(page.name);
    const QString listed = summary(shopper.table());
    if (problem.isEmpty() && listed != page.listed)
        problem = QStringLiteral("%1 lists %2, not %3").arg(page.name, listed, page.listed);
    for (const QString& step : page.steps) {
        if (!problem.isEmpty())
            return problem;
        QStringList parts = step.split(QStringLiteral(" ; "));
        const QString action = parts.takeFirst();
        QMap<QString, QString> wanted;
        for (const QString& part : parts)
            wanted[part.section('=', 0, 0)] = part.section('=', 1);
        QStringList names = wanted.keys();
        const bool ticked = names.removeAll(QStringLiteral("(ticked)")) > 0;
        problem = shopper.formAction(action);
        const QString shown = shopper.formFields(names, ticked);
        if (problem.isEmpty() && shown != describe(wanted))
            problem = QStringLiteral("%1 after %2:\n shown:\n%3\n expected:\n%4")
                          .arg(page.name, action, shown, describe(wanted));
    }
    return problem;
}

const auto kBanner = SiteSettings::Layout::BannerAndContents;
const auto kContents = SiteSettings::Layout::ContentsOnly;

} // namespace

Q_DECLARE_METATYPE(SiteSettings::Layout)
Q_DECLARE_METATYPE(CatalogOptions)
Q_DECLARE_METATYPE(QList<OrderPage>)

class TestShopInBrowser : public QObject {
    Q_OBJECT

public:
    static void initMain() {
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        if (geteuid() == 0) // the browser engine's sandbox refuses to run as root
            qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }

private Q_SLOTS:
    void shopsAndOrders_data();
    void shopsAndOrders();
};

// Options: manufacturer, description link, picture, weight. Every order page
// taxes at the "Sales Tax,%" setting, the weight COD page included.
void TestShopInBrowser::shopsAndOrders_data() {
    QTest::addColumn<SiteSettings::Layout>("layout");
    QTest::addColumn<CatalogOptions>("options");
    QTest::addColumn<QString>("salesTax");
    QTest::addColumn<QList<OrderPage>>("orderPages");
    QTest::newRow("banner, every option, tax 6%")
        << kBanner << CatalogOptions{true, true, true, true} << QStringLiteral("0.06")
        << weightPages();
    QTest::newRow("contents only, no option")
        << kContents << CatalogOptions{} << QStringLiteral("0.0825") << plainPages();
}

void TestShopInBrowser::shopsAndOrders() {
    QFETCH(SiteSettings::Layout, layout);
    QFETCH(CatalogOptions, options);
    QFETCH(QString, salesTax);
    QFETCH(QList<OrderPage>, orderPages);
    Shop shop;
    STEP(shop.start(layout, options, salesTax));
    Shopper& shopper = *shop.shopper;

    STEP(shopper.menu("On-line Store", "m_products.htm", true));
    STEP(shopper.menu("Tools", "l_Tools.htm"));
    STEP(shopper.orderOnListing("T100", "2"));
    STEP(shopper.orderOnListing("T200", "3"));
    if (options.descriptionUrl) {
        STEP(shopper.link("desc/hammer.htm"));
        QCOMPARE(shopper.title(), QStringLiteral("T100 Claw hammer"));
    }
    STEP(shopper.menu("Garden Tools", "l_Garden Tools.htm"));
    STEP(shopper.orderOnListing("G300", "1"));
    STEP(shopper.menu("Do Your self", "complect.htm"));
    STEP(shopper.orderOnCombined(2, "Paint roller", "4"));
    STEP(shopper.orderOnCombined(1, "Sunflower seeds", "5"));

    STEP(shopper.menu("Basket", "basket.htm"));
    QCOMPARE(summary(shopper.table()), "T100 T200 G300 G400 P200 / Products Total | $ 102.25");
    STEP(shopper.menu("WBasket", "wbasket.htm"));
    QCOMPARE(summary(shopper.table()),
             "T100 T200 G300 G400 P200 / Totals | $ 102.25 | $ 72.25 | $ 30.00 | 15 | Thanks!");
    STEP(shopper.remove("T200"));
    QCOMPARE(summary(shopper.table()), kRetail);

    for (const OrderPage& page : orderPages)
        STEP(checkOrderPage(shopper, page));
    STEP(shopper.errors());
    QCOMPARE(shop.missingFiles(), QStringList());
}

QTEST_MAIN(TestShopInBrowser)
#include "test_shop_in_browser.moc"
