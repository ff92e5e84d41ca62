// A shopper walks through the generated sample shop in a real browser engine:
// orders on two listing pages and on the build-your-own page, checks both
// baskets, removes an item, and works every order form, comparing each amount
// with what this test computes itself from the item data.

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
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QtTest>
#include <array>
#include <cmath>
#include <map>
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
using Charges = std::array<double, 4>; // cof, cof2, cof3, cof4

const int kTimeoutMs = 20000;

// ---------------------------------------------------------------------------
// The shop's arithmetic, computed here from the item data.
// ---------------------------------------------------------------------------

// Dollars, a point and two cent digits, rounded to the nearest cent.
QString money(double amount) {
    const qint64 cents = qint64(std::round(std::abs(amount) * 100));
    const QString sign = amount < 0 && cents > 0 ? QStringLiteral("-") : QString();
    return sign + QString::number(cents / 100) + QLatin1Char('.') +
           QStringLiteral("%1").arg(cents % 100, 2, 10, QLatin1Char('0'));
}

QString dollars(double amount) {
    return QStringLiteral("$ ") + money(amount);
}

// Shipping by total weight: over `from`, up to and including `to`.
struct WeightBracket {
    double from;
    double to;
    Charges charges;
};

const QList<WeightBracket> kWeightBrackets{
    {0, 1, {7.75, 8.25, 18.45, 20.00}},
    {1, 2, {8.70, 9.00, 20.70, 22.40}},
    {2, 3, {10.20, 10.40, 22.70, 24.30}},
    {3, 4, {11.50, 11.75, 24.70, 26.70}},
    {4, 5, {13.10, 13.35, 26.70, 28.80}},
    {5, 6, {15.25, 15.50, 28.95, 31.20}},
    {6, 7, {16.55, 16.80, 30.95, 33.35}},
    {7, 8, {18.45, 18.70, 32.95, 35.45}},
    {8, 9, {20.05, 20.30, 34.95, 37.60}},
    {9, 10, {21.10, 21.60, 36.95, 39.75}},
    {10, 11, {22.45, 22.95, 38.95, 42.15}},
    {11, 12, {23.75, 24.00, 40.95, 44.00}},
    {12, 13, {24.60, 25.35, 42.95, 46.15}},
    {13, 14, {26.20, 26.70, 44.70, 48.25}},
    {14, 15, {27.50, 28.00, 46.45, 50.15}},
    {15, 16, {28.40, 29.35, 47.70, 51.45}},
    {16, 17, {29.30, 30.70, 48.95, 53.05}},
    {17, 18, {30.20, 32.00, 50.45, 54.40}},
    {18, 19, {31.10, 33.60, 51.70, 55.75}},
    {19, 20, {32.00, 34.95, 52.95, 57.05}},
    {20, 1e300, {100.00, 100.00, 100.00, 100.00}},
};

// A weight in no bracket (0) leaves the charges as they were.
void shipByWeight(double weight, Charges& charges) {
    for (const WeightBracket& bracket : kWeightBrackets)
        if (bracket.from < weight && weight <= bracket.to)
            charges = bracket.charges;
}

// Shipping on order1.htm by products total: from `from` (included) up to
// the next bracket; Ground, 2nd Day and Next Day charges.
struct PriceBracket {
    double from;
    std::array<double, 3> charges;
};

const QList<PriceBracket> kPriceBrackets{
    {0.01, {5, 11, 29}}, {100, {7, 13, 31}},  {200, {9, 15, 33}},   {300, {11, 17, 35}},
    {400, {14, 20, 38}}, {500, {17, 23, 41}}, {1000, {20, 26, 44}},
};

void shipByPrice(double total, Charges& charges) {
    for (const PriceBracket& bracket : kPriceBrackets)
        if (total >= bracket.from)
            std::copy(bracket.charges.begin(), bracket.charges.end(), charges.begin());
}

// The shopper's quantities, as typed, by category position and 1-based
// item number; iterating gives the order in which the pages list them.
using Basket = std::map<std::pair<int, int>, QString>;

const ItemRecord& itemOf(const SiteInput& site, const std::pair<int, int>& at) {
    return site.categories.at(at.first).items.at(at.second - 1);
}

std::pair<int, int> locate(const SiteInput& site, const QString& itemId) {
    for (int k = 0; k < site.categories.size(); ++k)
        for (int n = 1; n <= site.categories.at(k).items.size(); ++n)
            if (site.categories.at(k).items.at(n - 1)[ItemRecord::ItemId] == itemId)
                return {k, n};
    qFatal("no item %s in the sample shop", qPrintable(itemId));
}

// What an order page's script lists and adds up, at retail or wholesale prices.
struct OrderSums {
    Rows rows;
    double total = 0;
    double weight = 0;
    QString info;
};

OrderSums orderSums(const SiteInput& site, const Basket& basket, bool wholesale) {
    const bool maker = site.options.manufacturer;
    OrderSums sums;
    sums.rows << QStringList{QStringLiteral("Contents of Basket")};
    sums.rows << QStringList{"Item ID", "Description", "WPrice", "Quantity", "Total"};
    if (maker)
        sums.rows.last().insert(3, QStringLiteral("Manufacturer"));
    for (const auto& [at, quantity] : basket) {
        const ItemRecord& item = itemOf(site, at);
        const QString& price = item[wholesale ? ItemRecord::WPrice : ItemRecord::ItemPrice];
        const double rowTotal = price.toDouble() * quantity.toDouble();
        sums.weight += item[ItemRecord::ItemW].toDouble() * quantity.toDouble();
        sums.info += item[ItemRecord::ItemId] + " ^ " + quantity + " ^ " + money(price.toDouble()) +
                     " ^ " + money(rowTotal) + "^\n";
        QStringList row{item[ItemRecord::ItemId], item[ItemRecord::ItemDesc],
                        dollars(price.toDouble()), quantity, dollars(rowTotal)};
        if (maker)
            row.insert(3, item[ItemRecord::ItemMan]);
        sums.rows << row;
        sums.total += rowTotal;
    }
    sums.rows << QStringList{QStringLiteral("Products Total"), dollars(sums.total)};
    return sums;
}

Rows retailBasketRows(const SiteInput& site, const Basket& basket) {
    const bool maker = site.options.manufacturer;
    Rows rows{{"Contents of Basket"},
              {"Item ID", "Description", "Price", "Quantity", "Total", "Remove"}};
    if (maker)
        rows.last().insert(3, QStringLiteral("Manufacturer"));
    double total = 0;
    for (const auto& [at, quantity] : basket) {
        const ItemRecord& item = itemOf(site, at);
        const double price = item[ItemRecord::ItemPrice].toDouble();
        const double rowTotal = price * quantity.toDouble();
        QStringList row{item[ItemRecord::ItemId], item[ItemRecord::ItemDesc],
                        dollars(price),           quantity,
                        dollars(rowTotal),        QString()};
        if (maker)
            row.insert(3, item[ItemRecord::ItemMan]);
        rows << row;
        total += rowTotal;
    }
    rows << QStringList{QStringLiteral("Products Total"), dollars(total)};
    return rows;
}

Rows wholesaleBasketRows(const SiteInput& site, const Basket& basket) {
    Rows rows{{"Contents of Basket"},
              {"Item ID", "Description", "RPTotal", "WPTotal", "Savings", "Quantity", "Remove"}};
    double retail = 0, wholesale = 0, savings = 0, quantities = 0;
    for (const auto& [at, quantity] : basket) {
        const ItemRecord& item = itemOf(site, at);
        const double rp = item[ItemRecord::ItemPrice].toDouble() * quantity.toDouble();
        const double wp = item[ItemRecord::WPrice].toDouble() * quantity.toDouble();
        rows << QStringList{item[ItemRecord::ItemId],
                            item[ItemRecord::ItemDesc],
                            dollars(rp),
                            dollars(wp),
                            dollars(rp - wp),
                            quantity,
                            QString()};
        retail += rp;
        wholesale += wp;
        savings += rp - wp;
        quantities += quantity.toDouble();
    }
    rows << QStringList{"Totals",
                        dollars(retail),
                        dollars(wholesale),
                        dollars(savings),
                        QString::number(quantities),
                        "Thanks!"};
    return rows;
}

// What a category's listing page shows: pictures as "<img SRC>" (with
// " broken" when the picture did not load), description links as "TEXT <HREF>".
Rows listingRows(const SiteInput& site, int k) {
    const SiteCategory& category = site.categories.at(k);
    const CatalogOptions& options = site.options;
    Rows rows{{category.name + QStringLiteral(" Listing")},
              {"Item ID", "Description", "Price", "Quantity", "Order"}};
    if (options.manufacturer)
        rows.last().insert(2, QStringLiteral("Manufacturer"));
    if (options.pictureUrl)
        rows.last().prepend(QStringLiteral("Item Pic"));
    for (const ItemRecord& item : category.items) {
        QString description = item[ItemRecord::ItemDesc];
        if (options.descriptionUrl)
            description += " <" + item[ItemRecord::DescUrl] + ">";
        QStringList row{item[ItemRecord::ItemId], description,
                        dollars(item[ItemRecord::ItemPrice].toDouble()), QString(), QString()};
        if (options.manufacturer)
            row.insert(2, item[ItemRecord::ItemMan]);
        if (options.pictureUrl)
            row.prepend("<img " + item[ItemRecord::PicUrl] + ">");
        rows << row;
    }
    return rows;
}

// The first row that differs, or an empty text when the tables agree.
QString compareRows(const Rows& shown, const Rows& expected, const QString& page) {
    for (qsizetype i = 0; i < std::max(shown.size(), expected.size()); ++i) {
        const QString a = i < shown.size() ? shown.at(i).join(" | ") : "(no row)";
        const QString e = i < expected.size() ? expected.at(i).join(" | ") : "(no row)";
        if (a != e)
            return QStringLiteral("%1, row %2:\n  shown:    %3\n  expected: %4")
                .arg(page)
                .arg(i)
                .arg(a, e);
    }
    return {};
}

// Tax rates of the order1.htm State list that the shopper picks.
const QMap<QString, QString> kStateRates{
    {"Alaska", "0"}, {"Arkansas", "0.04625"}, {"New York", "0.04"}, {"Texas", "0.0625"}};

// ---------------------------------------------------------------------------
// The order form, as its handlers should fill it after each of the
// shopper's actions.
// ---------------------------------------------------------------------------

class OrderFormModel {
public:
    enum class Body { WeightMail, Plain, WeightCod, Order1 };

    // `taxRate` is the "Sales Tax,%" setting, a fraction such as 0.0825.
    OrderFormModel(Body body, const OrderSums& sums, double taxRate)
        : m_body(body), m_sums(sums), m_rate(taxRate), m_tax(sums.total * taxRate) {}

    // R11 "Out of State", R12 "Within State", V1 to V4 the shipping methods.
    void click(const QString& control) {
        if (control == QLatin1String("R11") || control == QLatin1String("R12")) {
            const QString other = control == QLatin1String("R11") ? "R12" : "R11";
            m_checked.insert(control);
            m_checked.remove(other);
            taxRow(control == QLatin1String("R12"));
        } else {
            pickMethod(control.mid(1).toInt() - 1);
        }
    }
    // A typed change of Extended Total (T1) or Sales Tax (T2).
    void change(const QString& field) {
        m_checked.remove(QStringLiteral("R11"));
        if (m_body == Body::WeightCod && field == QLatin1String("T1"))
            codExtendedTotal();
        else
            taxRow(true);
    }
    // order1.htm: the State list (a tax rate) and the Shipping list.
    void pickState(const QString& rate) {
        m_stateRate = rate.toDouble();
        m_tax = m_sums.total * m_stateRate;
        m_fields["SalesTax"] = dollars(m_tax);
        setAmount(m_cof[3]); // the chosen method's charge, not always Ground's
        m_fields["ExtendedTotal"] = m_fields["AMOUNT"];
    }
    void pickShipping(const QString& method) {
        shipByPrice(m_sums.total, m_cof);
        m_cof[3] = method == QLatin1String("Ground")    ? m_cof[0]
                   : method == QLatin1String("2nd Day") ? m_cof[1]
                                                        : m_cof[2];
        m_tax = m_sums.total * m_stateRate;
        m_fields["ShippingCost"] = dollars(m_cof[3]);
        m_fields["SalesTax"] = dollars(m_tax);
        setAmount(m_cof[3]);
        m_fields["ExtendedTotal"] = m_fields["AMOUNT"];
    }

    QStringList fieldNames() const { return m_fields.keys(); }
    // The fields set so far and, except on order1.htm, the ticked radio buttons.
    QString expected() const {
        QMap<QString, QString> all = m_fields;
        if (m_body != Body::Order1) {
            QStringList ticked = m_checked.values();
            ticked.sort();
            all["(ticked)"] = ticked.join(' ');
        }
        return describe(all);
    }

    static QString describe(const QMap<QString, QString>& fields) {
        QStringList lines;
        for (auto it = fields.begin(); it != fields.end(); ++it)
            lines << it.key() + '=' + QString(it.value()).replace('\n', QStringLiteral("\\n"));
        return lines.join('\n');
    }

private:
    void taxRow(bool withinState) {
        m_tax = withinState ? m_sums.total * m_rate : 0;
        m_fields["T2"] = dollars(m_tax);
        switch (m_body) {
        case Body::WeightMail:
            pickMethod(0);
            break;
        case Body::Plain:
        case Body::Order1:
            setAmount(m_cof[0]);
            m_fields["T1"] = m_fields["AMOUNT"];
            break;
        case Body::WeightCod:
            setAmount(m_cof[0]);
            m_fields["T1"] = "$$$ " + money(m_sums.total + m_tax);
            m_fields["DESCRIPTION"] = m_sums.info + "\n Total Price : " + money(m_sums.total);
            break;
        }
    }
    void pickMethod(int method) {
        shipByWeight(m_sums.weight, m_cof);
        for (int v = 0; v < 4; ++v)
            m_checked.remove(QStringLiteral("V%1").arg(v + 1));
        m_checked.insert(QStringLiteral("V%1").arg(method + 1));
        setAmount(m_cof[method]);
        for (int v = 0; v < 4; ++v)
            m_fields[QStringLiteral("T%1").arg(v + 3)] = dollars(m_cof[v]);
        m_fields["T1"] = m_fields["AMOUNT"];
    }
    void codExtendedTotal() {
        m_tax = m_sums.total * m_rate;
        m_fields["T2"] = dollars(m_tax);
        setAmount(0);
        m_fields["T1"] = "$$$ " + money(m_sums.total + m_tax);
    }
    void setAmount(double shipping) {
        m_fields["AMOUNT"] = "$$$ " + money(m_sums.total + m_tax + shipping);
        m_fields["DESCRIPTION"] = m_sums.info + "\n Total Price : " + m_fields["AMOUNT"];
    }

    Body m_body;
    OrderSums m_sums;
    double m_rate;
    double m_tax;
    double m_stateRate = 0; // the first State, Alaska
    Charges m_cof{0, 0, 0, 0};
    QMap<QString, QString> m_fields;
    QSet<QString> m_checked;
};

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
                    var text = cell.textContent.replace(/\s+/g, ' ').trim();
                    var img = cell.querySelector('img');
                    if (img) text = '<img ' + img.getAttribute('src') +
                                    (img.naturalWidth > 0 ? '' : ' broken') + '>';
                    var a = cell.querySelector('a');
                    if (a) text += ' <' + a.getAttribute('href') + '>';
                    return text; }); });)");
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

    // Order form actions: click a control, type into a field and leave it,
    // choose an option of a list by its text.
    QString click(const QString& name) {
        run(Frame::Main, "form().elements[args[0]].click();", {name});
        return errors();
    }
    QString change(const QString& name, const QString& value) {
        run(Frame::Main, R"(
            var field = form().elements[args[0]];
            field.value = args[1];
            field.dispatchEvent(new Event('change'));)",
            {name, value});
        return errors();
    }
    QString pick(const QString& name, const QString& optionText) {
        run(Frame::Main, R"(
            var list = form().elements[args[0]];
            var option = Array.from(list.options).find(function (o) { return o.text.trim() == args[1]; });
            if (!option) throw 'no option ' + args[1];
            list.selectedIndex = option.index;
            list.dispatchEvent(new Event('change'));
            list.click();)",
            {name, optionText});
        return errors();
    }
    // The named fields of the order form and its ticked radio buttons, in
    // the form OrderFormModel::expected() gives.
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
        return OrderFormModel::describe(fields);
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
    SiteInput site;

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
        QString error;
        const auto input =
            project.readSite(categories.value_or(QStringList()), settings, options, &error);
        if (!categories || !input)
            return QStringLiteral("cannot read the sample shop: ") + error;
        site = *input;
        const GenerationResult result = SiteGenerator::generate(path, site);
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

Basket basketOf(const SiteInput& site, const QList<std::pair<QString, QString>>& orders) {
    Basket basket;
    for (const auto& [itemId, quantity] : orders)
        basket[locate(site, itemId)] = quantity;
    return basket;
}

// Orders each item on its category's listing page, reached from the products menu.
QString orderOnListings(Shop& shop, const QList<std::pair<QString, QString>>& orders) {
    QString shown;
    for (const auto& [itemId, quantity] : orders) {
        const QString category = shop.site.categories.at(locate(shop.site, itemId).first).name;
        if (category != shown) {
            if (const QString problem = shop.shopper->menu(category, "l_" + category + ".htm");
                !problem.isEmpty())
                return problem;
            shown = category;
        }
        if (const QString problem = shop.shopper->orderOnListing(itemId, quantity);
            !problem.isEmpty())
            return problem;
    }
    return {};
}

using Body = OrderFormModel::Body;

Body bodyOf(const QString& page, bool weight) {
    if (page == QLatin1String("order1.htm"))
        return Body::Order1;
    if (!weight)
        return Body::Plain;
    return page.contains(QLatin1String("_cod")) ? Body::WeightCod : Body::WeightMail;
}

// The shopper's actions on each kind of order form: a radio button or a
// field typed into ("T1"), or a list and its option ("State=Texas").
QStringList formActions(Body body) {
    switch (body) {
    case Body::WeightMail:
        return {"R12", "V2", "V3", "V4", "V1", "R11", "V3", "T1"};
    case Body::Plain:
    case Body::WeightCod:
        return {"R12", "R11", "T1", "R11", "T2"};
    case Body::Order1:
        return {"Shipping=2nd Day", "State=Texas",    "Shipping=Next Day", "State=Arkansas",
                "Shipping=Ground",  "State=New York", "Shipping=2nd Day"};
    }
    return {};
}

QString act(Shopper& shopper, OrderFormModel& model, const QString& action) {
    const QString list = action.section('=', 0, 0);
    const QString option = action.section('=', 1);
    if (!option.isEmpty()) {
        if (list == QLatin1String("State"))
            model.pickState(kStateRates.value(option));
        else
            model.pickShipping(option);
        return shopper.pick(list, option);
    }
    if (action.startsWith('T')) {
        model.change(action);
        return shopper.change(action, QStringLiteral("1"));
    }
    model.click(action);
    return shopper.click(action);
}

// Opens an order page from the payment choice page, checks its list of the
// basket, then works its form: after each action the form must show what
// the model computed.
QString checkOrderPage(Shop& shop, const Basket& basket, const QString& page,
                       QStringList actions = {}) {
    Shopper& shopper = *shop.shopper;
    const Body body = bodyOf(page, shop.site.options.weight);
    const OrderSums sums = orderSums(shop.site, basket, page.startsWith('w'));
    QString problem = shopper.menu("Order Form", "select_payment.htm");
    if (problem.isEmpty())
        problem = shopper.link(page);
    if (problem.isEmpty())
        problem = compareRows(shopper.table(), sums.rows, page);
    OrderFormModel model(body, sums, shop.site.settings.salesTax.toDouble());
    if (actions.isEmpty())
        actions = formActions(body);
    for (const QString& action : actions) {
        if (!problem.isEmpty())
            return problem;
        problem = act(shopper, model, action);
        const QString shown = shopper.formFields(model.fieldNames(), body != Body::Order1);
        if (problem.isEmpty() && shown != model.expected())
            problem = QStringLiteral("%1 after %2:\n shown:\n%3\n expected:\n%4")
                          .arg(page, action, shown, model.expected());
    }
    return problem;
}

const auto kBanner = SiteSettings::Layout::BannerAndContents;
const auto kContents = SiteSettings::Layout::ContentsOnly;

} // namespace

Q_DECLARE_METATYPE(SiteSettings::Layout)
Q_DECLARE_METATYPE(CatalogOptions)

using Orders = QList<std::pair<QString, QString>>;
Q_DECLARE_METATYPE(Orders)

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
    void shippingByWeight_data();
    void shippingByWeight();
    void shippingByPrice_data();
    void shippingByPrice();
};

// Options: manufacturer, description link, picture, weight. Every order page
// taxes at the "Sales Tax,%" setting, the weight COD page included.
void TestShopInBrowser::shopsAndOrders_data() {
    QTest::addColumn<SiteSettings::Layout>("layout");
    QTest::addColumn<CatalogOptions>("options");
    QTest::addColumn<QString>("salesTax");
    const QString usual = SiteSettings::defaults().salesTax;
    QTest::newRow("banner, every option")
        << kBanner << CatalogOptions{true, true, true, true} << usual;
    QTest::newRow("contents only, no option") << kContents << CatalogOptions{} << usual;
    QTest::newRow("banner, weight only")
        << kBanner << CatalogOptions{false, false, false, true} << usual;
    QTest::newRow("contents only, maker and links")
        << kContents << CatalogOptions{true, true, true, false} << usual;
    QTest::newRow("contents only, pictures and weight, tax 7%")
        << kContents << CatalogOptions{false, false, true, true} << QStringLiteral("0.07");
}

void TestShopInBrowser::shopsAndOrders() {
    QFETCH(SiteSettings::Layout, layout);
    QFETCH(CatalogOptions, options);
    QFETCH(QString, salesTax);
    Shop shop;
    STEP(shop.start(layout, options, salesTax));
    Shopper& shopper = *shop.shopper;
    const SiteInput& site = shop.site;

    STEP(shopper.menu("On-line Store", "m_products.htm", true));
    STEP(shopper.menu("Tools", "l_Tools.htm"));
    STEP(compareRows(shopper.table(), listingRows(site, 0), "l_Tools.htm"));
    STEP(shopper.orderOnListing("T100", "2"));
    STEP(shopper.orderOnListing("T200", "3"));
    if (options.descriptionUrl) {
        STEP(shopper.link("desc/hammer.htm"));
        QCOMPARE(shopper.title(), QStringLiteral("T100 Claw hammer"));
    }
    STEP(shopper.menu("Garden Tools", "l_Garden Tools.htm"));
    STEP(compareRows(shopper.table(), listingRows(site, 1), "l_Garden Tools.htm"));
    STEP(shopper.orderOnListing("G300", "1"));
    STEP(shopper.menu("Do Your self", "complect.htm"));
    STEP(shopper.orderOnCombined(2, "Paint roller", "4"));
    STEP(shopper.orderOnCombined(1, "Sunflower seeds", "5"));
    Basket basket =
        basketOf(site, {{"T100", "2"}, {"T200", "3"}, {"G300", "1"}, {"P200", "4"}, {"G400", "5"}});

    STEP(shopper.menu("Basket", "basket.htm"));
    STEP(compareRows(shopper.table(), retailBasketRows(site, basket), "basket.htm"));
    STEP(shopper.menu("WBasket", "wbasket.htm"));
    STEP(compareRows(shopper.table(), wholesaleBasketRows(site, basket), "wbasket.htm"));
    STEP(shopper.remove("T200"));
    basket.erase(locate(site, "T200"));
    STEP(compareRows(shopper.table(), retailBasketRows(site, basket), "basket.htm after Remove"));

    for (const QString page :
         {"order.htm", "order_cod.htm", "order_cc.htm", "worder.htm", "order1.htm"})
        STEP(checkOrderPage(shop, basket, page));
    STEP(shopper.errors());
    QCOMPARE(shop.missingFiles(), QStringList());
}

// Total weights on the bracket edges: 0 is in no bracket (nothing to ship,
// the charges stay 0), 1 is the first bracket's top, 20 the twentieth's,
// and 20.5 is in the last, open bracket.
void TestShopInBrowser::shippingByWeight_data() {
    QTest::addColumn<SiteSettings::Layout>("layout");
    QTest::addColumn<Orders>("orders");
    QTest::addColumn<double>("weight");
    QTest::newRow("weight 0") << kBanner << Orders{{"T400", "1"}} << 0.0;
    QTest::newRow("weight 1") << kContents << Orders{{"P200", "1"}} << 1.0;
    QTest::newRow("weight 20") << kBanner << Orders{{"G200", "2"}} << 20.0;
    QTest::newRow("weight 20.5") << kContents << Orders{{"T200", "1"}, {"G200", "2"}} << 20.5;
}

void TestShopInBrowser::shippingByWeight() {
    QFETCH(SiteSettings::Layout, layout);
    QFETCH(Orders, orders);
    QFETCH(double, weight);
    Shop shop;
    STEP(shop.start(layout, CatalogOptions{false, false, false, true}));
    const Basket basket = basketOf(shop.site, orders);
    QCOMPARE(orderSums(shop.site, basket, false).weight, weight);
    STEP(shop.shopper->menu("On-line Store", "m_products.htm", true));
    STEP(orderOnListings(shop, orders));
    STEP(checkOrderPage(shop, basket, "order.htm", {"R12", "V2", "V3", "V4"}));
    STEP(checkOrderPage(shop, basket, "worder_cc.htm", {"V4", "R11"}));
    STEP(shop.shopper->errors());
}

// order1.htm's shipping by products total: 100.00 starts the second
// bracket and 1000.00 the last one.
void TestShopInBrowser::shippingByPrice_data() {
    QTest::addColumn<SiteSettings::Layout>("layout");
    QTest::addColumn<Orders>("orders");
    QTest::addColumn<double>("total");
    QTest::newRow("total 25.00") << kContents << Orders{{"T400", "1"}} << 25.0;
    QTest::newRow("total 100.00") << kBanner << Orders{{"T400", "4"}} << 100.0;
    QTest::newRow("total 1000.00") << kContents << Orders{{"T300", "8"}} << 1000.0;
}

void TestShopInBrowser::shippingByPrice() {
    QFETCH(SiteSettings::Layout, layout);
    QFETCH(Orders, orders);
    QFETCH(double, total);
    Shop shop;
    STEP(shop.start(layout, CatalogOptions{}));
    const Basket basket = basketOf(shop.site, orders);
    QCOMPARE(orderSums(shop.site, basket, false).total, total);
    STEP(shop.shopper->menu("On-line Store", "m_products.htm", true));
    STEP(orderOnListings(shop, orders));
    STEP(checkOrderPage(shop, basket, "order1.htm",
                        {"Shipping=Ground", "Shipping=2nd Day", "Shipping=Next Day", "State=Texas",
                         "Shipping=Ground"}));
    STEP(shop.shopper->errors());
}

QTEST_MAIN(TestShopInBrowser)
#include "test_shop_in_browser.moc"
