#include "sitegen/PublisherChoice.h"
#include "sitegen/WebDavPublisher.h"
#include "support/ExpectedFile.h"
#include "support/NginxFixture.h"
#include "support/ServerRequired.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kWeb = "Shop", kUser = "merchant", kPassword = "open sesame";
// The generated files, in list order; fsecond.htm was never generated.
const QStringList kAddresses = {"index.htm", "data1.js", "l_Hats #1 50%.htm", "fsecond.htm"};
const QString kList = kAddresses.join('\n') + '\n';

void writeFile(const QString& path, const QByteArray& bytes) {
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

// A generated-looking project folder whose files name the given version.
struct LocalSite {
    QTemporaryDir dir;
    QString files;
    explicit LocalSite(const QByteArray& version) {
        for (const QString& address : kAddresses) {
            files += dir.filePath(address) + '\n';
            if (address != "fsecond.htm")
                writeFile(dir.filePath(address), address.toUtf8() + " version " + version);
        }
    }
};

// Uploads the site; every generated file arrives as it is and the missing
// one is reported.
void putAndCheck(WebDavPublisher& publisher, const LocalSite& site, const QString& webFolder) {
    QSignalSpy handled(&publisher, &Publisher::documentHandled);
    const QStringList results = publisher.vtiPutDocuments(site.files, kList);
    QCOMPARE(handled.size(), 4);
    QCOMPARE(handled.last(), QVariantList({4, 4}));
    QCOMPARE(results.mid(0, 3), QStringList(3, QString()));
    QVERIFY2(results.value(3).contains("does not exist"), qPrintable(results.value(3)));
    QVERIFY(!QFile::exists(webFolder + "/fsecond.htm"));
    for (const QString& address : kAddresses.mid(0, 3))
        QCOMPARE(fileBytes(webFolder + '/' + address), fileBytes(site.dir.filePath(address)));
    QVERIFY(publisher.lastError().contains("fsecond.htm"));
}

} // namespace

class TestWebDavPublisher : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QUILLMART_REQUIRE_SERVER(NginxFixture::missing()); }

    // A second publish removes the site's files and keeps what the site's
    // forms or other programs stored in the web.
    void publishesAndRepublishesKeepingOtherFiles() {
        NginxFixture server;
        QVERIFY2(server.start(kUser, kPassword), qPrintable(server.error()));
        const QString http = "http://" + server.serverName(), web = server.rootPath() + "/Shop";
        WebDavPublisher publisher;
        QCOMPARE(publisher.vtiOpenWebWithPassword(http, kWeb, kUser, kPassword), 0);
        QVERIFY2(publisher.vtiCreateWeb("http://" + http, kWeb), qPrintable(publisher.lastError()));
        putAndCheck(publisher, LocalSite("1"), web);
        writeFile(web + "/_private/form_results.txt", "result 1\n");
        QCOMPARE(publisher.vtiOpenWebWithPassword(http, kWeb, kUser, kPassword), 1);
        QVERIFY2(publisher.vtiRemoveWeb("/Shop", kList), qPrintable(publisher.lastError()));
        QVERIFY(!QFile::exists(web + "/index.htm"));
        QVERIFY(publisher.vtiCreateWeb("http://" + http, kWeb));
        putAndCheck(publisher, LocalSite("2"), web);
        QCOMPARE(fileBytes(web + "/_private/form_results.txt"), "result 1\n");
    }

    // The create call gets "http://" before the typed text, blanks and all.
    void serverTextForms() {
        NginxFixture server;
        QVERIFY2(server.start(), qPrintable(server.error()));
        QVERIFY(QDir(server.rootPath()).mkpath("dav"));
        WebDavPublisher publisher;
        for (const QString typed : {"http://127.0.0.1:%1", "  HTTP://127.0.0.1:%1/dav  "}) {
            const QString text = typed.arg(server.port());
            QCOMPARE(publisher.vtiOpenWebWithPassword(text, kWeb, {}, {}), 0);
            QVERIFY2(publisher.vtiCreateWeb("http://" + text, kWeb),
                     qPrintable(publisher.lastError()));
            putAndCheck(publisher, LocalSite("1"),
                        server.rootPath() + (text.contains("dav") ? "/dav/Shop" : "/Shop"));
        }
        // The server goes away while uploading: the rest are not tried one
        // by one but carry the same reason.
        server.stop();
        const QStringList results = publisher.vtiPutDocuments(LocalSite("1").files, kList);
        QCOMPARE(results, QStringList(4, results.value(0)));
        QVERIFY2(results.value(0).contains("cannot be reached"), qPrintable(results.value(0)));
        QVERIFY(publisher.lastError().startsWith("4 of 4"));
    }

    // Wrong or missing credentials, a stopped server, and a bare host
    // (https) for a plain http server: every call fails with the reason and
    // nothing is stored.
    void openingFails_data() {
        QTest::addColumn<QString>("scheme");
        QTest::addColumn<QString>("password"); // "stopped": no server
        QTest::addColumn<QString>("expected");
        QTest::newRow("wrong password") << "http://"
                                        << "open sesame!"
                                        << "wrong user name or password";
        QTest::newRow("none given") << "http://"
                                    << ""
                                    << "asks for a user name and password";
        QTest::newRow("unreachable") << "http://"
                                     << "stopped"
                                     << "cannot be reached";
        QTest::newRow("bare host means https") << "" << kPassword << "secure (https) connection";
    }
    void openingFails() {
        QFETCH(QString, scheme);
        QFETCH(QString, password);
        QFETCH(QString, expected);
        NginxFixture server;
        QVERIFY2(server.start(kUser, kPassword), qPrintable(server.error()));
        if (password == "stopped")
            server.stop();
        const QString text = scheme + server.serverName();
        WebDavPublisher publisher;
        QCOMPARE(
            publisher.vtiOpenWebWithPassword(text, kWeb, password.isEmpty() ? "" : kUser, password),
            -1);
        QVERIFY(publisher.lastError().contains(expected) &&
                publisher.lastError().contains(server.serverName()));
        QVERIFY(!publisher.vtiCreateWeb("http://" + text, kWeb));
        QVERIFY2(publisher.lastError().contains(expected), qPrintable(publisher.lastError()));
        for (const QString& result : publisher.vtiPutDocuments(LocalSite("1").files, kList))
            QVERIFY2(result.contains(expected), qPrintable(result));
        QVERIFY(QDir(server.rootPath()).isEmpty());
    }

    void refusalsAndForeignAddresses() {
        NginxFixture server;
        QVERIFY2(server.start(), qPrintable(server.error()));
        const QString http = "http://" + server.serverName();
        WebDavPublisher publisher;
        QCOMPARE(publisher.vtiOpenWebWithPassword("ftp://127.0.0.1", kWeb, {}, {}), -1);
        QVERIFY(publisher.lastError().contains("is not a server name"));
        // The folder the web should go into does not exist: MKCOL is refused.
        QCOMPARE(publisher.vtiOpenWebWithPassword(http + "/missing/deeper", kWeb, {}, {}), 0);
        QVERIFY(!publisher.vtiCreateWeb("http://" + http + "/missing/deeper", kWeb));
        QVERIFY2(publisher.lastError().contains("(HTTP 409 Conflict)"),
                 qPrintable(publisher.lastError()));
        // Addresses that would reach outside the web, or the web itself, are
        // neither removed nor stored; the file after them still is.
        writeFile(server.rootPath() + "/outside.htm", "keep");
        writeFile(server.rootPath() + "/Shop/index.htm", "old");
        QCOMPARE(publisher.vtiOpenWebWithPassword(http, kWeb, {}, {}), 1);
        QVERIFY(!publisher.vtiRemoveWeb("/Shop", "../outside.htm\n\nindex.htm\n"));
        QVERIFY(publisher.lastError().startsWith("2 of 3"));
        QCOMPARE(fileBytes(server.rootPath() + "/outside.htm"), "keep");
        QVERIFY(!QFile::exists(server.rootPath() + "/Shop/index.htm"));
        // Another party made a folder where a site file should go.
        QVERIFY(QDir(server.rootPath()).mkpath("Shop/data1.js/"));
        const QStringList results = publisher.vtiPutDocuments(LocalSite("1").files, kList);
        QVERIFY2(results.value(1).contains("refused to store data1.js (HTTP "),
                 qPrintable(results.value(1)));
        QCOMPARE(results.value(0) + results.value(2), QString());
    }

    void passwordInClearIsNamed() {
        QCOMPARE(PublisherChoice::passwordInClearWarning("  HTTP://www.shop.test/dav", kPassword)
                     .contains("HTTP://www.shop.test/dav is not encrypted"),
                 true);
        for (const char* safe : {"www.shop.test", "https://www.shop.test", "/srv/www"})
            QCOMPARE(PublisherChoice::passwordInClearWarning(safe, kPassword), QString());
        QCOMPARE(PublisherChoice::passwordInClearWarning("http://www.shop.test", ""), QString());
    }
};

QTEST_GUILESS_MAIN(TestWebDavPublisher)
#include "test_webdav_publisher.moc"
