#include "SiteFixture.h"
#include "sitegen/SiteGenerator.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

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

class TestSiteGenerator : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writesTheSiteInItsOrder() {
        QTemporaryDir folder;
        QFile old(folder.filePath("fsecond.htm"));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("from an earlier run") > 0);
        old.close();
        SiteInput input = twoCategorySite(true);
        input.settings.layout = SiteSettings::Layout::ContentsOnly;
        input.settings.startFileName = "shop";
        GenerationResult result = SiteGenerator::generate(folder.path(), input);
        QVERIFY2(result.ok(), qPrintable((result.problems + result.failures).join('\n')));
        QCOMPARE(fileNames(result.written),
                 QStringList({"data1.js", "shop.htm", "banner.htm", "mmenu.htm", "compinfo.htm",
                              "ols.htm", "m_products.htm"}) +
                     kAfterFrames);
        for (const QString& path : result.written)
            QVERIFY2(fileBytes(path).endsWith(path.endsWith(".js") ? "\r\n" : "</html>\r\n\r\n"),
                     qPrintable(path));
        // The contents layout leaves an old second frameset alone.
        QCOMPARE(fileBytes(old.fileName()), "from an earlier run");

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
             "Tools, item T100: picture \"pics/hammer.jpg\", description \"a.htm\"><script>"},
            {"quote in a picture link", "3", "h2.jpg' onload='x",
             "address with quotes, angle brackets"}};
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

QTEST_GUILESS_MAIN(TestSiteGenerator)
#include "test_site_generator.moc"
