// A shopper walks through the generated sample shop in a real browser
// engine: an order on a listing page reaches the catalog, and the payment
// choice leads to an order form whose tax button works
// (2 hammers, 3 lb: 25.00 + 8.25% tax + 10.20 shipping). The arithmetic of
// the pages is proved on their scripts alone.

#include "files/TextFile.h"
#include "project/ProjectFolder.h"
#include "sitegen/SiteGenerator.h"
#include "support/HttpFixture.h"

#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QtTest>
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

// Follows the link to `target` in a frame and waits until the frame
// `shows` has loaded it.
QString follow(ShopPage& page, const QString& frame, const QString& target,
               const QString& shows = kMain) {
    run(page, shows, "win.qmLeaving = true");
    run(page, frame,
        "Array.from(doc.links).find(function (a) { return "
        "a.getAttribute('href') == '" +
            target + "' }).click()");
    QString shown;
    for (QDeadlineTimer deadline(kTimeoutMs); shown.isEmpty() && !deadline.hasExpired();) {
        QTest::qWait(10);
        shown = run(page, shows,
                    "return !win.qmLeaving && doc.readyState == 'complete' ? "
                    "decodeURIComponent(win.location.pathname) : ''")
                    .toString();
    }
    return shown == '/' + target ? page.errors.join('\n') : target + " not shown: " + shown;
}

QString generateSampleShop(const QString& path) {
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
    const GenerationResult result = SiteGenerator::generate(path, *input);
    return (result.problems + result.failures).join('\n');
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
        QCOMPARE(
            run(page, kMain, R"(var row = Array.from(doc.querySelectorAll('tr')).find(function (r) {
                return Array.from(r.cells).some(function (c) { return c.textContent.trim() == 'T100' }) });
            row.querySelector("input[name='quantity']").value = '2';
            row.querySelector("input[value='Order']").click();
            return row.querySelector("input[name='quantity']").value)")
                .toString(),
            "0");
        QCOMPARE(follow(page, kMenu, "select_payment.htm"), QString());
        QCOMPARE(follow(page, kMain, "order.htm"), QString());
        QCOMPARE(run(page, kMain,
                     "doc.forms['FormOrder'].elements['R12'].click(); return "
                     "doc.forms['FormOrder'].elements['T1'].value"),
                 "$$$ 37.26");
        QCOMPARE(page.errors, QStringList());
        QCOMPARE(server.notFound(), QStringList());
    }
};

QTEST_MAIN(TestShopInBrowser)
#include "test_shop_in_browser.moc"
