#include "SiteFixture.h"
#include "sitegen/SiteGenerator.h"
#include "support/ExpectedFile.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

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
    void writesTheSiteInItsOrder_data();
    void writesTheSiteInItsOrder();
    void contentsLayoutLeavesAnOldSecondFramesetAlone();
    void writesShopsWithoutCategoriesOrItems();
    void refusesSettingsThatWouldBreakTheSite_data();
    void refusesSettingsThatWouldBreakTheSite();
    void refusesItemAddressesThatCarryMarkup();
    void refusesCategoriesThatShareAScriptName();
};

void TestSiteGenerator::writesTheSiteInItsOrder_data() {
    QTest::addColumn<int>("layout");
    QTest::addColumn<QString>("startFile");
    QTest::addColumn<QStringList>("frames");
    QTest::newRow("banner and contents")
        << int(SiteSettings::Layout::BannerAndContents) << "index"
        << QStringList{"data1.js",  "index.htm",    "fsecond.htm", "banner.htm",
                       "mmenu.htm", "compinfo.htm", "ols.htm",     "m_products.htm"};
    QTest::newRow("contents only, own start file")
        << int(SiteSettings::Layout::ContentsOnly) << "shop"
        << QStringList{"data1.js",     "shop.htm", "banner.htm",    "mmenu.htm",
                       "compinfo.htm", "ols.htm",  "m_products.htm"};
}

void TestSiteGenerator::writesTheSiteInItsOrder() {
    QFETCH(int, layout);
    QFETCH(QString, startFile);
    QFETCH(QStringList, frames);
    QTemporaryDir folder;
    SiteInput input = twoCategorySite(true);
    input.settings.layout = SiteSettings::Layout(layout);
    input.settings.startFileName = startFile;
    const GenerationResult result = SiteGenerator::generate(folder.path(), input);
    QVERIFY2(result.ok(), qPrintable((result.problems + result.failures).join('\n')));
    QCOMPARE(fileNames(result.written), frames + kAfterFrames);
    for (const QString& path : result.written)
        QVERIFY2(fileBytes(path).endsWith(path.endsWith(".js") ? "\r\n" : "</html>\r\n\r\n"),
                 qPrintable(path));
}

void TestSiteGenerator::contentsLayoutLeavesAnOldSecondFramesetAlone() {
    QTemporaryDir folder;
    const QString old = QDir(folder.path()).filePath("fsecond.htm");
    QFile file(old);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("from an earlier run");
    file.close();
    SiteInput input = twoCategorySite(false);
    input.settings.layout = SiteSettings::Layout::ContentsOnly;
    QVERIFY(SiteGenerator::generate(folder.path(), input).ok());
    QCOMPARE(fileBytes(old), QByteArray("from an earlier run"));
}

void TestSiteGenerator::writesShopsWithoutCategoriesOrItems() {
    QTemporaryDir folder;
    SiteInput input = twoCategorySite(false);
    input.categories[1].items.clear();
    GenerationResult result = SiteGenerator::generate(folder.path(), input);
    QVERIFY(result.ok());
    QVERIFY(fileNames(result.written).contains("l_Paint.htm"));

    input.categories.clear();
    result = SiteGenerator::generate(folder.path(), input);
    QVERIFY(result.ok());
    QCOMPARE(fileNames(result.written).filter(QRegularExpression("^l_")).size(), 0);
    QCOMPARE(result.written.size(), 8 + kAfterFrames.size() - 2);
}

void TestSiteGenerator::refusesSettingsThatWouldBreakTheSite_data() {
    QTest::addColumn<QString>("salesTax");
    QTest::addColumn<QString>("startFile");
    QTest::addColumn<QString>("message");
    const char* const rows[][4] = {
        {"empty tax rate", "", "index", "\"Sales Tax,%\" rate must be a number"},
        {"tax as a percentage", "8.25%", "index", "not \"8.25%\""},
        {"tax with script", "0;alert(1)", "index", "must be a number"},
        {"start file is the basket", "0.0825", "basket", "another page"},
        {"start file is a listing page", "0.0825", "l_Tools", "another page"},
        {"start file in another folder", "0.0825", "../index", "must not"},
        {"no start file", "0.0825", "", "must not be empty"}};
    for (const auto& row : rows)
        QTest::newRow(row[0]) << QString(row[1]) << QString(row[2]) << QString(row[3]);
}

void TestSiteGenerator::refusesSettingsThatWouldBreakTheSite() {
    QFETCH(QString, salesTax);
    QFETCH(QString, startFile);
    QFETCH(QString, message);
    QTemporaryDir folder;
    SiteInput input = twoCategorySite(false);
    input.settings.salesTax = salesTax;
    input.settings.startFileName = startFile;
    const GenerationResult result = SiteGenerator::generate(folder.path(), input);
    QVERIFY(!result.ok());
    QVERIFY2(result.problems.join('\n').contains(message), qPrintable(result.problems.join('\n')));
    QVERIFY(result.written.isEmpty());
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList());
}

void TestSiteGenerator::refusesItemAddressesThatCarryMarkup() {
    QTemporaryDir folder;
    SiteInput input = twoCategorySite(false);
    input.categories.first().items.first().set(ItemRecord::DescUrl,
                                               u"a.htm\"><script>x()</script>");
    const GenerationResult result = SiteGenerator::generate(folder.path(), input);
    QVERIFY(result.problems.join('\n').contains("address with quotes, angle brackets"));
    QVERIFY(result.written.isEmpty());
}

void TestSiteGenerator::refusesCategoriesThatShareAScriptName() {
    QTemporaryDir folder;
    SiteInput input = twoCategorySite(false);
    input.categories[0].name = QStringLiteral("Hand Tools");
    input.categories[1].name = QStringLiteral("Hand_x20_Tools");
    const GenerationResult result = SiteGenerator::generate(folder.path(), input);
    QVERIFY(result.problems.join('\n').contains("\"Hand Tools\" and \"Hand_x20_Tools\""));
    QVERIFY(result.written.isEmpty());
}

QTEST_GUILESS_MAIN(TestSiteGenerator)
#include "test_site_generator.moc"
