#include "SiteFixture.h"
#include "sitegen/FolderPublisher.h"
#include "sitegen/RecordingPublisher.h"
#include "sitegen/SiteGenerator.h"
#include "sitegen/SitePublishing.h"
#include "support/ExpectedFile.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using Call = RecordingPublisher::Call;

namespace {

// The site's files in the order they go up: the catalog, the pages the
// menus link to, the frames' pages, the menus, the second frameset, the
// start page.
const QStringList kUploadOrder{
    "data1.js",           "basket.htm",   "order.htm",      "order1.htm",   "wbasket.htm",
    "worder.htm",         "order_cc.htm", "worder_cc.htm",  "complect.htm", "order_cod.htm",
    "worder_cod.htm",     "l_Tools.htm",  "l_Paint.htm",    "compinfo.htm", "ols.htm",
    "select_payment.htm", "banner.htm",   "m_products.htm", "mmenu.htm",    "fsecond.htm",
    "index.htm"};

QString lines(const QStringList& entries) {
    return entries.join('\n') + '\n';
}

QString inFolder(const QString& folder, const QStringList& names) {
    QStringList paths;
    for (const QString& name : names)
        paths << folder + '/' + name;
    return lines(paths);
}

} // namespace

class TestSitePublishing : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void callSequence_data();
    void callSequence();
    void updateSendsTheCatalogAlone();
    void publishesIntoAFolder();
    void aMissingServerFolderStopsBeforeSending();
    void namesOutsideTheWebStopBeforeAnything_data();
    void namesOutsideTheWebStopBeforeAnything();

private:
    PublishTarget target(const QString& server) const;
    void generate(SiteSettings::Layout layout);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_site;
};

void TestSitePublishing::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_site = m_dir->filePath("Shop");
    QVERIFY(QDir().mkpath(m_site));
}

PublishTarget TestSitePublishing::target(const QString& server) const {
    return {server, "merchant", "secret", "Shop", m_site};
}

void TestSitePublishing::generate(SiteSettings::Layout layout) {
    SiteInput input = twoCategorySite(false);
    input.settings.layout = layout;
    QVERIFY(SiteGenerator::generate(m_site, input).ok());
}

void TestSitePublishing::callSequence_data() {
    QTest::addColumn<bool>("webExists");
    QTest::newRow("first publish") << false;
    QTest::newRow("the web exists") << true;
}

void TestSitePublishing::callSequence() {
    QFETCH(bool, webExists);
    generate(SiteSettings::Layout::BannerAndContents);
    RecordingPublisher publisher(webExists);
    QSignalSpy progress(&publisher, &Publisher::documentHandled);
    const PublishReport report = SitePublishing::publishSite(publisher, target("www.shop.test"),
                                                             "index", {"Tools", "Paint"});

    QList<Call> expected{
        {"vtiDisableErrorDialogs", {"1"}},
        {"vtiOpenWebWithPassword", {"www.shop.test", "Shop", "merchant", "secret"}}};
    if (webExists)
        expected.append({"vtiRemoveWeb", {"/Shop", lines(kUploadOrder)}});
    expected.append({"vtiCreateWeb", {"http://www.shop.test", "Shop"}});
    expected.append({"vtiPutDocuments", {inFolder(m_site, kUploadOrder), lines(kUploadOrder)}});
    QCOMPARE(publisher.calls(), expected);
    QVERIFY(report.ok());
    QCOMPARE(report.published, 21);
    QCOMPARE(progress.size(), 21);
}

void TestSitePublishing::updateSendsTheCatalogAlone() {
    generate(SiteSettings::Layout::BannerAndContents);
    RecordingPublisher publisher(false);
    const PublishReport report =
        SitePublishing::publishCatalog(publisher, target("shop.test:8080"));
    const QList<Call> expected{
        {"vtiDisableErrorDialogs", {"1"}},
        {"vtiOpenWebWithPassword", {"shop.test:8080", "Shop", "merchant", "secret"}},
        {"vtiPutDocuments", {m_site + "/data1.js\n", "data1.js\n"}}};
    QCOMPARE(publisher.calls(), expected);
    QCOMPARE(report.published, 1);
}

// A real folder as the server: a second publish after a layout change
// removes the site's own stale page, keeps what others stored in the web,
// and reports the page that was not there to send.
void TestSitePublishing::publishesIntoAFolder() {
    const QString server = m_dir->filePath("www");
    QVERIFY(QDir().mkpath(server));
    generate(SiteSettings::Layout::BannerAndContents);
    FolderPublisher publisher;
    PublishReport report =
        SitePublishing::publishSite(publisher, target(server), "index", {"Tools", "Paint"});
    QVERIFY2(report.ok(), qPrintable(report.summary(target(server))));
    const QDir web(server + "/Shop");
    QCOMPARE(web.entryList(QDir::Files).size(), 21);
    QCOMPARE(fileBytes(web.filePath("order1.htm")), fileBytes(m_site + "/order1.htm"));

    QVERIFY(web.mkpath("_private"));
    QFile orders(web.filePath("_private/distorders.htm"));
    QVERIFY(orders.open(QIODevice::WriteOnly));
    orders.write("an order a shopper sent");
    orders.close();
    QFile::remove(m_site + "/fsecond.htm");
    generate(SiteSettings::Layout::ContentsOnly);
    report = SitePublishing::publishSite(publisher, target("file://" + server), "index",
                                         {"Tools", "Paint"});
    QVERIFY(report.ok());
    QCOMPARE(report.published, 20);
    QCOMPARE(report.missing, QStringList{"fsecond.htm"});
    QVERIFY(!web.exists("fsecond.htm"));
    QCOMPARE(fileBytes(web.filePath("_private/distorders.htm")), "an order a shopper sent");
    QVERIFY(report.summary(target(server))
                .contains("20 of 20 files were published to " + server + " (web \"Shop\")."));
    QVERIFY(report.summary(target(server))
                .contains("so not sent (use Generate first if they "
                          "belong to the site):\nfsecond.htm"));
}

void TestSitePublishing::aMissingServerFolderStopsBeforeSending() {
    generate(SiteSettings::Layout::BannerAndContents);
    FolderPublisher publisher;
    const QString server = m_dir->filePath("no such folder");
    const PublishReport report =
        SitePublishing::publishSite(publisher, target(server), "index", {"Tools", "Paint"});
    QVERIFY(!report.ok());
    QCOMPARE(report.summary(target(server)), "Nothing was published to " + server +
                                                 " (web \"Shop\").\nThe folder " + server +
                                                 " does not exist.");
    QVERIFY(!QFileInfo::exists(server));
}

void TestSitePublishing::namesOutsideTheWebStopBeforeAnything_data() {
    QTest::addColumn<QString>("startFile");
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("named");
    QTest::newRow("start file up two folders") << "../../outside/precious"
                                               << "Tools"
                                               << "\"../../outside/precious.htm\"";
    QTest::newRow("absolute start file") << "ROOT/outside/precious"
                                         << "Tools"
                                         << "\"ROOT/outside/precious.htm\"";
    QTest::newRow("category with a slash") << "index"
                                           << "Tools/Hand"
                                           << "\"l_Tools/Hand.htm\"";
}

// The real folder back end, the web already there: nothing in it or beside
// it is removed, and the message names the name.
void TestSitePublishing::namesOutsideTheWebStopBeforeAnything() {
    QFETCH(QString, startFile);
    QFETCH(QString, category);
    QFETCH(QString, named);
    startFile.replace("ROOT", m_dir->path());
    named.replace("ROOT", m_dir->path());
    const QString server = m_dir->filePath("www");
    const QString precious = m_dir->filePath("outside/precious.htm");
    QVERIFY(QDir().mkpath(server + "/Shop") && QDir().mkpath(m_dir->filePath("outside")));
    for (const QString& path : {precious, server + "/Shop/index.htm", m_site + "/new.htm"}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(path.toUtf8()) > 0);
    }
    FolderPublisher publisher;
    const PublishReport report =
        SitePublishing::publishSite(publisher, target(server), startFile, {category});
    QVERIFY(!report.ok());
    const QString summary = report.summary(target(server));
    QVERIFY2(summary.contains(named + " is not a plain file name") &&
                 summary.endsWith("Nothing was removed or sent."),
             qPrintable(summary));
    QCOMPARE(fileBytes(precious), precious.toUtf8());
    QCOMPARE(fileBytes(server + "/Shop/index.htm"), (server + "/Shop/index.htm").toUtf8());

    // The back end on its own keeps to the web as well.
    QCOMPARE(publisher.vtiOpenWebWithPassword(server, "Shop", {}, {}), 1);
    QVERIFY(!publisher.vtiRemoveWeb("/Shop", "../../outside/precious.htm\n"));
    QVERIFY(!publisher.vtiPutDocuments(m_site + "/new.htm\n", "../../outside/precious.htm\n")
                 .first()
                 .isEmpty());
    QCOMPARE(fileBytes(precious), precious.toUtf8());
}

QTEST_GUILESS_MAIN(TestSitePublishing)
#include "test_site_publishing.moc"
