#include "SiteFixture.h"
#include "sitegen/FolderPublisher.h"
#include "sitegen/RecordingPublisher.h"
#include "sitegen/SiteGenerator.h"
#include "sitegen/SitePublishing.h"

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

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) &&
            file.write(bytes) == bytes.size());
}

} // namespace

class TestSitePublishing : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    const QString m_site = m_dir.filePath("Shop");

    PublishTarget target(const QString& server) const {
        return {server, "merchant", "secret", "Shop", m_site};
    }
    PublishReport publish(Publisher& publisher, const QString& server,
                          const QString& start = "index", const QString& category = "Tools") {
        return SitePublishing::publishSite(publisher, target(server), start, {category, "Paint"});
    }
    void generate(SiteSettings::Layout layout) {
        SiteInput input = twoCategorySite(false);
        input.settings.layout = layout;
        QVERIFY(SiteGenerator::generate(m_site, input).ok());
    }

private Q_SLOTS:
    void init() {
        QDir(m_site).removeRecursively();
        QVERIFY(QDir().mkpath(m_site));
        generate(SiteSettings::Layout::BannerAndContents);
    }

    void callSequence() {
        const QString addresses = kUploadOrder.join('\n') + '\n';
        QStringList paths;
        for (const QString& name : kUploadOrder)
            paths << m_site + '/' + name;
        for (const bool webExists : {false, true}) {
            RecordingPublisher publisher(webExists);
            QSignalSpy progress(&publisher, &Publisher::documentHandled);
            const PublishReport report = publish(publisher, "www.shop.test");
            QList<Call> expected{
                {"vtiDisableErrorDialogs", {"1"}},
                {"vtiOpenWebWithPassword", {"www.shop.test", "Shop", "merchant", "secret"}}};
            if (webExists)
                expected.append({"vtiRemoveWeb", {"/Shop", addresses}});
            expected << Call{"vtiCreateWeb", {"http://www.shop.test", "Shop"}}
                     << Call{"vtiPutDocuments", {paths.join('\n') + '\n', addresses}};
            QCOMPARE(publisher.calls(), expected);
            QVERIFY(report.ok() && report.published == 21 && progress.size() == 21);
        }
        // An update sends the catalog alone.
        RecordingPublisher publisher(false);
        QCOMPARE(SitePublishing::publishCatalog(publisher, target("shop.test:8080")).published, 1);
        QCOMPARE(publisher.calls().last(),
                 (Call{"vtiPutDocuments", {m_site + "/data1.js\n", "data1.js\n"}}));
    }

    // A real folder as the server: a second publish after a layout change
    // removes the site's own stale page, keeps what others stored in the
    // web, and reports the page that was not there to send.
    void publishesIntoAFolder() {
        const QString server = m_dir.filePath("www");
        QVERIFY(QDir().mkpath(server));
        FolderPublisher publisher;
        QVERIFY(publish(publisher, server).ok());
        const QDir web(server + "/Shop");
        QCOMPARE(web.entryList(QDir::Files).size(), 21);
        QCOMPARE(fileBytes(web.filePath("order1.htm")), fileBytes(m_site + "/order1.htm"));
        writeFile(web.filePath("_private/distorders.htm"), "an order a shopper sent");
        QFile::remove(m_site + "/fsecond.htm");
        generate(SiteSettings::Layout::ContentsOnly);
        const PublishReport report = publish(publisher, "file://" + server);
        QCOMPARE(report.missing, QStringList{"fsecond.htm"});
        QVERIFY(!web.exists("fsecond.htm"));
        QCOMPARE(fileBytes(web.filePath("_private/distorders.htm")), "an order a shopper sent");
        QVERIFY(report.summary(target(server))
                    .contains("20 of 20 files were published to " + server + " (web \"Shop\")."));
        QVERIFY(
            report.summary(target(server))
                .contains(
                    "so not sent (use Generate first if they belong to the site):\nfsecond.htm"));
        const QString missing = m_dir.filePath("no such folder");
        QCOMPARE(publish(publisher, missing).summary(target(missing)),
                 "Nothing was published to " + missing + " (web \"Shop\").\nThe folder " + missing +
                     " does not exist.");
        QVERIFY(!QFileInfo::exists(missing));
    }

    // The web already there: nothing in it or beside it is removed, and
    // the message names the name.
    void namesOutsideTheWebStopBeforeAnything() {
        const QString server = m_dir.filePath("www"),
                      precious = m_dir.filePath("outside/precious.htm");
        writeFile(precious, "keep");
        writeFile(server + "/Shop/index.htm", "old");
        FolderPublisher publisher;
        const QString rows[][2] = {{"../../outside/precious", "Tools"}, {"index", "Tools/Hand"}};
        for (const auto& [start, category] : rows) {
            const QString summary =
                publish(publisher, server, start, category).summary(target(server));
            const QString named = start == "index" ? "l_" + category : start;
            QVERIFY2(summary.contains('"' + named + ".htm\" is not a plain file name") &&
                         summary.endsWith("Nothing was removed or sent."),
                     qPrintable(summary));
        }
        QCOMPARE(fileBytes(precious) + fileBytes(server + "/Shop/index.htm"), "keepold");
        // The back end on its own keeps to the web as well.
        QCOMPARE(publisher.vtiOpenWebWithPassword(server, "Shop", {}, {}), 1);
        QVERIFY(!publisher.vtiRemoveWeb("/Shop", "../../outside/precious.htm\n"));
        QVERIFY(!publisher.vtiPutDocuments(m_site + "/index.htm\n", "../../outside/precious.htm\n")
                     .first()
                     .isEmpty());
        QCOMPARE(fileBytes(precious), "keep");
    }
};

QTEST_GUILESS_MAIN(TestSitePublishing)
#include "test_site_publishing.moc"
