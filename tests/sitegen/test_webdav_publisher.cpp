#include "publish/PublisherChoice.h"
#include "publish/WebDavPublisher.h"
#include "support/ExpectedFile.h"
#include "support/NginxFixture.h"
#include "support/Results.h"
#include "support/ServerRequired.h"

#include <QtTest>

namespace {

const QString kWeb = "Shop", kUser = "merchant", kPassword = "open sesame";
// The generated files, in list order; fsecond.htm was never generated.
const QStringList kAddresses = {"index.htm", "data1.js", "l_Hats #1 50%.htm", "fsecond.htm"};
const QString kList = kAddresses.join('\n') + '\n';

// A generated-looking project folder whose files name the given version.
struct LocalSite {
    QTemporaryDir dir;
    QString files;
    explicit LocalSite(const QByteArray& version) {
        for (const QString& address : kAddresses) {
            files += dir.filePath(address) + '\n';
            if (address != "fsecond.htm")
                writeBytes(dir.filePath(address), address.toUtf8() + " version " + version);
        }
    }
};

// Uploads the site; every generated file arrives as it is and the missing
// one is reported.
void putAndCheck(WebDavPublisher& publisher, const LocalSite& site, const QString& webFolder) {
    QSignalSpy handled(&publisher, &Publisher::documentHandled);
    const QStringList results = errorsOf(publisher.vtiPutDocuments(site.files, kList));
    QCOMPARE(handled.size(), 4);
    QCOMPARE(handled.last(), QVariantList({4, 4}));
    QCOMPARE(results.mid(0, 3), QStringList(3, QString()));
    QVERIFY2(results.value(3).contains("does not exist"), qPrintable(results.value(3)));
    QVERIFY(!QFile::exists(webFolder + "/fsecond.htm"));
    for (const QString& address : kAddresses.mid(0, 3))
        QCOMPARE(fileBytes(webFolder + '/' + address), fileBytes(site.dir.filePath(address)));
}

} // namespace

class TestWebDavPublisher : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QUILLMART_REQUIRE_SERVER(NginxFixture::missing()); }

    // One server session: refused openings store nothing; a second publish
    // removes the site's files and keeps what the site's forms stored in the
    // web; addresses outside the web are neither removed nor stored; a server
    // gone away gives every file the same reason.
    void publishSession() {
        NginxFixture server;
        QVERIFY2(server.start(kUser, kPassword), qPrintable(server.error()));
        const QString http = "http://" + server.serverName(), root = server.rootPath();
        WebDavPublisher publisher;
        QVERIFY(publisher.vtiOpenWebWithPassword("ftp://127.0.0.1", kWeb, {}, {})
                    .error()
                    .contains("is not a server name"));
        const std::pair<QString, QString> refused[] = {
            {http, "wrong user name or password"},
            {server.serverName(), "secure (https) connection"}};
        for (const auto& [text, reason] : refused) {
            const QString opening =
                publisher.vtiOpenWebWithPassword(text, kWeb, kUser, "open sesame!").error();
            QVERIFY2(opening.contains(reason), qPrintable(opening));
            QVERIFY2(opening.contains(server.serverName()), qPrintable(opening));
            QVERIFY(!publisher.vtiCreateWeb("http://" + text, kWeb));
            for (const QString& result :
                 errorsOf(publisher.vtiPutDocuments(LocalSite("1").files, kList)))
                QVERIFY2(result.contains(reason), qPrintable(result));
            QVERIFY(QDir(root).isEmpty());
        }
        const QString web = root + "/Shop";
        QCOMPARE(publisher.vtiOpenWebWithPassword(http, kWeb, kUser, kPassword).valueOr(true),
                 false);
        const Expected<void> created = publisher.vtiCreateWeb("http://" + http, kWeb);
        QVERIFY2(created, qPrintable(created.error()));
        putAndCheck(publisher, LocalSite("1"), web);
        writeBytes(web + "/_private/form_results.txt", "result 1\n");
        writeBytes(root + "/outside.htm", "keep");
        QCOMPARE(publisher.vtiOpenWebWithPassword(http, kWeb, kUser, kPassword).valueOr(false),
                 true);
        QVERIFY(publisher.vtiRemoveWeb("/Shop", "../outside.htm\n\n" + kList)
                    .error()
                    .startsWith("2 of 6"));
        QCOMPARE(fileBytes(root + "/outside.htm"), "keep");
        QVERIFY(!QFile::exists(web + "/index.htm"));
        QVERIFY(publisher.vtiCreateWeb("http://" + http, kWeb));
        putAndCheck(publisher, LocalSite("2"), web);
        QCOMPARE(fileBytes(web + "/_private/form_results.txt"), "result 1\n");
        // Another party made a folder where a site file should go.
        QVERIFY(QFile::remove(web + "/data1.js") && QDir(web).mkpath("data1.js/"));
        QStringList results = errorsOf(publisher.vtiPutDocuments(LocalSite("1").files, kList));
        QVERIFY2(results.value(1).contains("refused to store data1.js (HTTP "),
                 qPrintable(results.value(1)));
        QCOMPARE(results.value(0) + results.value(2), QString());
        // The folder the web should go into does not exist: MKCOL is refused.
        const QString conflict =
            publisher.vtiCreateWeb("http://" + http + "/missing/deeper", kWeb).error();
        QVERIFY2(conflict.contains("(HTTP 409 Conflict)"), qPrintable(conflict));
        server.stop();
        results = errorsOf(publisher.vtiPutDocuments(LocalSite("1").files, kList));
        QCOMPARE(results, QStringList(4, results.value(0)));
        QVERIFY2(results.value(0).contains("cannot be reached"), qPrintable(results.value(0)));
    }

    // Over http or ftp a password goes in clear; not over https or FTP over
    // TLS, and not when there is none.
    void passwordInClearIsNamed() {
        QVERIFY(PublisherChoice::passwordInClearWarning("http://www.shop.test", kPassword)
                    .contains("http://www.shop.test is not encrypted"));
        QVERIFY(PublisherChoice::passwordInClearWarning("ftp://www.shop.test", kPassword)
                    .contains("not encrypted (ftp://)"));
        QCOMPARE(PublisherChoice::passwordInClearWarning("https://www.shop.test", kPassword) +
                     PublisherChoice::passwordInClearWarning("ftps://www.shop.test", kPassword) +
                     PublisherChoice::passwordInClearWarning("http://www.shop.test", ""),
                 QString());
    }
};

QTEST_GUILESS_MAIN(TestWebDavPublisher)
#include "test_webdav_publisher.moc"
