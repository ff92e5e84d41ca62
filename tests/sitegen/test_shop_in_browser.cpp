// A shopper walks through the generated sample shop in a real browser
// engine, in the framed shop and in the shop without frames on a phone
// (by keys: the test's scripts reach the page on another way than input,
// so a tap computed from them can land where the page has since moved):
// orders on a listing page reach the catalog, and the payment choice leads
// to an order form whose tax button works. Both shops get the same basket
// (2 hammers at 12.50 and a tape measure at 7.25, 3.5 lb) and must show the
// same totals: 32.25 + 8.25% tax 2.66 + Saver shipping 11.50 = 46.41. The
// arithmetic of the pages is proved on their scripts alone.

#include "files/TextFile.h"
#include "orders/OrderIntake.h"
#include "orders/OrderStore.h"
#include "project/ProjectFolder.h"
#include "sitegen/SiteGenerator.h"
#include "support/ExpectedFile.h"
#include "support/HttpFixture.h"
#include "support/UserInput.h"

#include <QDesktopServices>
#include <QUrlQuery>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <QtTest>
#include <functional>
#include <unistd.h>

namespace {

const int kTimeoutMs = 20000;

// A page that keeps every script error.
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

const QString kMenu = "top.frames['main'].frames['c_ontents']";
const QString kMain = "top.frames['main'].frames['m_ain']";

// Runs `body` as a function with `doc` the frame's document; waits for
// its result. A thrown error becomes the page's script error.
QVariant run(ShopPage& page, const QString& frame, const QString& body) {
    const QString script =
        QStringLiteral("(function () { try { var win = %1; var doc = win.document;"
                       "\n%2\n} catch (e) { return 'error: ' + e; } })()")
            .arg(frame, body);
    // The answer may come after a time-out, when this call is over.
    const auto answer = std::make_shared<QVariant>();
    page.runJavaScript(script, [answer](const QVariant& value) {
        *answer = value.isValid() ? value : QVariant(QString());
    });
    for (QDeadlineTimer deadline(kTimeoutMs); !answer->isValid() && !deadline.hasExpired();)
        QTest::qWait(5);
    if (answer->toString().startsWith("error: "))
        page.errors << answer->toString();
    return *answer;
}

// Marks the page in `frame` as left, does `leave`, and waits until that
// frame shows `target`, loaded; gives the script errors, or what the
// frame shows instead.
QString leaveFor(ShopPage& page, const QString& frame, const QString& target,
                 const std::function<void()>& leave) {
    run(page, frame, "win.qmLeaving = true");
    leave();
    QString shown;
    for (QDeadlineTimer deadline(kTimeoutMs); shown.isEmpty() && !deadline.hasExpired();) {
        QTest::qWait(10);
        shown = run(page, frame,
                    "return !win.qmLeaving && doc.readyState == 'complete' ? "
                    "decodeURIComponent(win.location.pathname) : ''")
                    .toString();
    }
    return shown == '/' + target ? page.errors.join('\n') : target + " not shown: " + shown;
}

// Follows the link to `target` in a frame and waits until the frame
// `shows` has loaded it.
QString follow(ShopPage& page, const QString& frame, const QString& target,
               const QString& shows = kMain) {
    return leaveFor(page, shows, target, [&] {
        run(page, frame,
            "Array.from(doc.links).find(function (a) { return "
            "a.getAttribute('href') == '" +
                target + "' }).click()");
    });
}

QString generateSampleShop(const QString& path,
                           SiteSettings::Layout layout = SiteSettings::Layout::BannerAndContents) {
    QDirIterator files(QUILLMART_SAMPLE_SHOP, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString target =
            path + '/' + QDir(QUILLMART_SAMPLE_SHOP).relativeFilePath(files.next());
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(files.filePath(), target))
            return "cannot copy " + files.filePath();
    }
    const ProjectFolder project = ProjectFolder::at(path);
    const auto input =
        project.readSite(TextFile::readLines(project.projectFile()).value_or(QStringList()),
                         SiteSettings::defaults(), {true, true, true, true});
    if (!input)
        return input.error();
    SiteInput site = *input;
    site.settings.layout = layout;
    const GenerationResult result = SiteGenerator::generate(path, site);
    return (result.problems + result.failures).join('\n');
}

// The mail programs' stand-in: keeps the mailto: address an order form
// hands to the desktop.
class MailCatcher : public QObject {
    Q_OBJECT
public:
    QUrl mail;
public Q_SLOTS:
    void take(const QUrl& url) { mail = url; }
};

// A shopper on a phone: the shop without frames in a view of a phone's
// size, tapped and typed into through the platform's input.
class Phone {
public:
    explicit Phone(QWebEngineProfile* profile) : page(profile) {
        profile->settings()->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
        view.setPage(&page);
        view.resize(360, 740);
        view.show();
    }
    ~Phone() { view.setPage(nullptr); }

    QVariant run(const QString& body) { return ::run(page, QStringLiteral("window"), body); }

    // Loads the page, or with no address reloads the one shown, and waits
    // for it; gives what went wrong.
    QString load(const QUrl& url = {}) {
        QSignalSpy loaded(&page, &QWebEnginePage::loadFinished);
        if (url.isEmpty())
            page.triggerAction(QWebEnginePage::Reload);
        else
            page.load(url);
        const bool shown = loaded.wait(kTimeoutMs) && loaded.first().first().toBool();
        return shown ? QString() : "not loaded: " + page.url().toString();
    }

    // Taps the middle of the element, which is in view: the page is not
    // scrolled under the finger. Only a tap that leaves the page may go
    // unacknowledged (tapAndWait).
    void tap(const QString& selector) {
        const QVariantList at =
            run(QStringLiteral("var r = doc.querySelector(\"%1\").getBoundingClientRect(); "
                               "return r.top >= 0 && r.bottom <= win.innerHeight ? "
                               "[Math.round(r.left + r.width / 2), "
                               "Math.round(r.top + r.height / 2)] : []")
                    .arg(selector))
                .toList();
        if (at.isEmpty())
            page.errors << selector + " is not in view";
        else
            UserInput::click(&view, Qt::LeftButton,
                             QPoint(at.value(0).toInt(), at.value(1).toInt()));
    }

    // Presses keys and waits until the page has them: scripts the test runs
    // reach the page on another way than keys, and could overtake them.
    void press(Qt::Key key) {
        const int before = keysHandled();
        UserInput::press(&view, key);
        QTRY_VERIFY_WITH_TIMEOUT(keysHandled() > before, kTimeoutMs);
    }
    void type(const QString& text) {
        const int before = keysHandled();
        UserInput::type(&view, text);
        QTRY_VERIFY_WITH_TIMEOUT(keysHandled() >= before + text.size(), kTimeoutMs);
    }
    int keysHandled() { return handled(QStringLiteral("keyup")); }
    // How many events of the kind the page has had since the test first
    // asked.
    int handled(const QString& kind) {
        return run(QStringLiteral("var seen = win.qmSeen = win.qmSeen || {}; if (!('%1' in seen)) "
                                  "{ seen['%1'] = 0; win.addEventListener('%1', function () { "
                                  "seen['%1']++ }, true) } return seen['%1']")
                       .arg(kind))
            .toInt();
    }

    // Taps and waits until the page has had the click.
    void tapAndWait(const QString& selector) {
        const int before = handled(QStringLiteral("click"));
        tap(selector);
        QTRY_VERIFY_WITH_TIMEOUT(handled(QStringLiteral("click")) > before, kTimeoutMs);
    }

    // Presses Tab until the element has the focus; the page scrolls it into
    // view itself. False when it never gets the focus.
    bool tabTo(const QString& selector) {
        const QString focused =
            QStringLiteral("return doc.activeElement == doc.querySelector(\"%1\")").arg(selector);
        for (int presses = 0; presses < 60; ++presses) {
            press(Qt::Key_Tab);
            if (run(focused).toBool())
                return true;
        }
        return false;
    }

    // Tabs to a field and types over what it holds.
    bool typeInto(const QString& selector, const QString& text) {
        if (!tabTo(selector))
            return false;
        press(Qt::Key_End);
        press(Qt::Key_Backspace);
        type(text);
        return true;
    }

    // Taps the link and waits until its page has loaded; gives the script
    // errors, or what the view shows instead.
    QString follow(const QString& selector, const QString& target) {
        return leaveFor(page, QStringLiteral("window"), target, [&] { tap(selector); });
    }
    // Tabs to the link and presses Enter.
    QString followByKeys(const QString& selector, const QString& target) {
        if (!tabTo(selector))
            return selector + " never has the focus";
        return leaveFor(page, QStringLiteral("window"), target,
                        [&] { UserInput::press(&view, Qt::Key_Return); });
    }
    // Goes back to the page before, as the browser's Back does.
    QString back(const QString& target) {
        return leaveFor(page, QStringLiteral("window"), target,
                        [&] { page.triggerAction(QWebEnginePage::Back); });
    }

    // Opens the folded menu and follows one of its entries.
    QString menu(const QString& target) {
        tapAndWait(QStringLiteral("#menu-button"));
        return follow(QStringLiteral("#shop-menu a[href='%1']").arg(target), target);
    }

    // A property of the element, such as "value" or "textContent".
    QVariant read(const QString& selector, const QString& property) {
        return run(QStringLiteral("return doc.querySelector(\"%1\").%2").arg(selector, property));
    }
    QString text(const QString& selector) { return read(selector, "textContent").toString(); }
    QString value(const QString& selector) { return read(selector, "value").toString(); }
    ShopPage page;
    QWebEngineView view;
};

// The sample shop without frames, served on 127.0.0.1 and open on a phone.
struct PhoneShop {
    QTemporaryDir folder;
    const QString path = folder.filePath("SampleShop");
    HttpFixture server{path};
    QWebEngineProfile profile; // off the record: no name, no storage on disk
    Phone phone{&profile};

    // Generates the shop and shows its page; gives what went wrong.
    QString open(const QString& page) {
        const QString problem = generateSampleShop(path, SiteSettings::Layout::Pages);
        if (!problem.isEmpty())
            return problem;
        if (!server.start())
            return QStringLiteral("the web server did not start");
        phone.view.activateWindow();
        if (!QTest::qWaitForWindowActive(&phone.view))
            return QStringLiteral("the phone's window is not active");
        return phone.load(server.url(page));
    }
};

// The order as the order intake stores it, from the mail the mail program
// would send for the mailto: address: "column=value" lines of the order
// (but its number and date), then one line per item, fields joined by "^".
QByteArray takenOrder(const QUrl& mailto, const QString& database) {
    const QUrlQuery query(mailto);
    const QString mail = "From: Ann Lee <ann@shop.test>\r\nTo: " + mailto.path() +
                         "\r\nSubject: " + query.queryItemValue("subject", QUrl::FullyDecoded) +
                         "\r\n\r\n" + query.queryItemValue("body", QUrl::FullyDecoded);
    OrderStore store;
    if (const Expected<void> opened = store.open(database); !opened)
        return opened.error().toUtf8();
    if (OrderIntake(store).take(mail).outcome != OrderIntake::Outcome::Stored)
        return "not stored";
    const StoredOrder order = store.orders().valueOr({}).value(0);
    const QStringList columns = OrderStore::orderColumns();
    QByteArray text;
    for (qsizetype c = 0; c < columns.size(); ++c) {
        if (columns[c] != "OrderID" && columns[c] != "OrderDate")
            text += (columns[c] + '=' + order.values.value(c) + '\n').toUtf8();
    }
    for (const QStringList& line : order.details)
        text += (line.mid(1).join('^') + '\n').toUtf8();
    return text;
}

} // namespace

class TestShopInBrowser : public QObject {
    Q_OBJECT

public:
    static void initMain() {
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        if (geteuid() == 0) // the browser engine's sandbox refuses to run as root
            qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }

private Q_SLOTS:
    void shopsAndOrders() {
        QTemporaryDir folder;
        const QString problem = generateSampleShop(folder.filePath("SampleShop"));
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        HttpFixture server(folder.filePath("SampleShop"));
        QVERIFY(server.start());
        QWebEngineProfile profile; // off the record: no name, no storage on disk
        profile.settings()->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
        ShopPage page(&profile);
        QSignalSpy loaded(&page, &QWebEnginePage::loadFinished);
        page.load(server.url("index.htm"));
        QVERIFY(loaded.wait(kTimeoutMs) && loaded.first().first().toBool());
        QCOMPARE(follow(page, kMenu, "m_products.htm", kMenu), QString());
        QCOMPARE(follow(page, kMenu, "l_Tools.htm"), QString());
        for (const auto& [id, quantity] : {std::pair{"T100", "2"}, std::pair{"T200", "1"}})
            QCOMPARE(run(page, kMain,
                         QStringLiteral(
                             R"(var row = Array.from(doc.querySelectorAll('tr')).find(function (r) {
                return Array.from(r.cells).some(function (c) { return c.textContent.trim() == '%1' }) });
            row.querySelector("input[name='quantity']").value = '%2';
            row.querySelector("input[value='Order']").click();
            return row.querySelector("input[name='quantity']").value)")
                             .arg(id, quantity))
                         .toString(),
                     "0");
        QCOMPARE(follow(page, kMenu, "select_payment.htm"), QString());
        QCOMPARE(follow(page, kMain, "order.htm"), QString());
        QCOMPARE(run(page, kMain,
                     "doc.forms['FormOrder'].elements['R12'].click(); return "
                     "doc.forms['FormOrder'].elements['T1'].value"),
                 "$$$ 46.41");
        QCOMPARE(page.errors, QStringList());
        QCOMPARE(server.notFound(), QStringList());
    }

    // Two items ordered on a phone stay in the basket through a reload; the
    // order page shows the framed shop's totals, and its mail, once sent,
    // is an order the intake takes in whole. No page scrolls sideways.
    void phoneShopperKeepsBasketAndOrders() {
        PhoneShop shop;
        QCOMPARE(shop.open("index.htm"), QString());
        Phone& phone = shop.phone;
        QCOMPARE(phone.run("return getComputedStyle(doc.getElementById('shop-menu')).display"),
                 "none");
        QCOMPARE(phone.menu("l_Tools.htm"), QString());
        QVERIFY(phone.read("#quantity-1", "offsetHeight").toInt() >= 44);
        QVERIFY(phone.read("#quantity-1 ~ button", "offsetHeight").toInt() >= 44);
        QVERIFY(phone.typeInto("#quantity-1", "2"));
        phone.press(Qt::Key_Return);
        QVERIFY(phone.typeInto("#quantity-2", "1"));
        QVERIFY(phone.tabTo("#quantity-2 ~ button"));
        phone.press(Qt::Key_Space);
        QTRY_COMPARE(phone.text("#basket-total"), "Basket: $ 32.25");
        QCOMPARE(phone.read("html", "scrollWidth"), phone.read("html", "clientWidth"));

        QCOMPARE(phone.load(), QString());
        QCOMPARE(phone.value("#quantity-1"), "2");
        QCOMPARE(phone.value("#quantity-2"), "1");
        QCOMPARE(phone.text("#basket-total"), "Basket: $ 32.25");

        QCOMPARE(phone.menu("basket.htm"), QString());
        QCOMPARE(phone.text(".totals"), "Products Total: $ 32.25");
        QCOMPARE(phone.read("html", "scrollWidth"), phone.read("html", "clientWidth"));
        QCOMPARE(phone.menu("wbasket.htm"), QString());
        QCOMPARE(phone.text(".totals"),
                 "Retail total: $ 32.25Wholesale total: $ 23.25Savings: $ 9.00Quantity: 3");
        QCOMPARE(phone.followByKeys("a.next", "select_payment.htm"), QString());
        QCOMPARE(phone.follow("a[href='order.htm']", "order.htm"), QString());
        QVERIFY(phone.tabTo("input[name='R12']"));
        phone.press(Qt::Key_Space);
        QTRY_COMPARE(phone.value("input[name='T1']"), "$$$ 46.41");
        QCOMPARE(phone.value("input[name='T2']"), "$ 2.66");
        QCOMPARE(phone.value("input[name='T3']"), "$ 11.50");
        QCOMPARE(phone.value("input[name='T4']"), "$ 11.75");
        QCOMPARE(phone.value("input[name='T5']"), "$ 24.70");
        QCOMPARE(phone.value("input[name='T6']"), "$ 26.70");
        QCOMPARE(phone.read("html", "scrollWidth"), phone.read("html", "clientWidth"));
        phone.view.resize(320, 740); // the narrowest phone
        QTRY_COMPARE(phone.run("return win.innerWidth").toInt(), 320);
        QCOMPARE(phone.read("html", "scrollWidth"), phone.read("html", "clientWidth"));

        QVERIFY(phone.typeInto("input[name='NameB']", "Ann Lee"));
        QVERIFY(phone.typeInto("input[name='E_Mail1']", "ann@shop.test"));
        MailCatcher mailProgram;
        QDesktopServices::setUrlHandler("mailto", &mailProgram, "take");
        const auto unset = qScopeGuard([] { QDesktopServices::unsetUrlHandler("mailto"); });
        QVERIFY(phone.tabTo("input[name='B1']"));
        phone.press(Qt::Key_Space);
        QTRY_VERIFY_WITH_TIMEOUT(!mailProgram.mail.isEmpty(), kTimeoutMs);
        QTRY_COMPARE(phone.text("#basket-total"), "Basket: $ 0.00");
        QCOMPARE(phone.page.errors, QStringList());
        QCOMPARE(shop.server.notFound(), QStringList());
        QCOMPARE(takenOrder(mailProgram.mail, shop.folder.filePath("orders.sqlite")),
                 expectedFile("sitegen/expected/phone_order.txt", false));
    }

    // "Do Your self" orders from a choice of each category's items; the
    // basket's "Clear" empties it, also for the page Back brings back and
    // for the next page.
    void phoneShopperChoosesAndClears() {
        PhoneShop shop;
        QCOMPARE(shop.open("complect.htm"), QString());
        Phone& phone = shop.phone;
        QVERIFY(phone.tabTo("#item-0"));
        phone.press(Qt::Key_Down);
        QCOMPARE(phone.value("#item-0"), "2");
        QVERIFY(phone.typeInto("#quantity-0", "3"));
        phone.press(Qt::Key_Return);
        QTRY_COMPARE(phone.text("#basket-total"), "Basket: $ 21.75");

        QCOMPARE(phone.menu("basket.htm"), QString());
        QCOMPARE(phone.text(".totals"), "Products Total: $ 21.75");
        QVERIFY(phone.tabTo("#shop-basket > button"));
        phone.press(Qt::Key_Space);
        QTRY_COMPARE(phone.text("#shop-basket"), "Your basket is empty.");
        QCOMPARE(phone.text("#basket-total"), "Basket: $ 0.00");
        QCOMPARE(phone.back("complect.htm"), QString());
        QCOMPARE(phone.text("#basket-total"), "Basket: $ 0.00");
        QCOMPARE(phone.menu("basket.htm"), QString());
        QCOMPARE(phone.load(), QString());
        QCOMPARE(phone.text("#shop-basket"), "Your basket is empty.");
        QCOMPARE(phone.page.errors, QStringList());
    }
};

QTEST_MAIN(TestShopInBrowser)
#include "test_shop_in_browser.moc"
