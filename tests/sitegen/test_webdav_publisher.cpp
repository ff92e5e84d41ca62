#include "sitegen/PublisherChoice.h"
#include "sitegen/WebDavPublisher.h"
#include "support/ExpectedFile.h"
#include "support/NginxFixture.h"
#include "support/ServerRequired.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kWeb = QStringLiteral("Shop");
const QString kUser = QStringLiteral("merchant");
const QString kPassword = QStringLiteral("open sesame");
// The generated files, in list order; fsecond.htm was never generated.
const QStringList kAddresses = {QStringLiteral("index.htm"), QStringLiteral("data1.js"),
                                QStringLiteral("l_Hats #1 50%.htm"), QStringLiteral("fsecond.htm")};
const int kMissing = 3;

// Entries each followed by a line feed, as the publishing lists are made.
QString listText(const QStringList& entries) {
    QString text;
    for (const QString& entry : entries)
        text += entry + QLatin1Char('\n');
    return text;
}

// A generated-looking project folder whose files name the given version.
struct LocalSite {
    QTemporaryDir dir;

    void generate(const QByteArray& version) {
        for (int i = 0; i < kAddresses.size(); ++i) {
            if (i == kMissing)
                continue;
            QFile file(dir.filePath(kAddresses.at(i)));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("page " + kAddresses.at(i).toUtf8() + " version " + version + "\r\n");
        }
    }
    QString fileList() const {
        QStringList paths;
        for (const QString& address : kAddresses)
            paths << dir.filePath(address);
        return listText(paths);
    }
    QByteArray bytes(int i) const { return fileBytes(dir.filePath(kAddresses.at(i))); }
};

// The fixture's server speaks plain http, which has to be typed.
QString plainHttp(const NginxFixture& server) {
    return QStringLiteral("http://") + server.serverName();
}

QString inWeb(const NginxFixture& server, const QString& name) {
    return QDir(server.rootPath()).filePath(kWeb + QLatin1Char('/') + name);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Uploads the site and checks that every generated file arrived as it is
// and the missing one is reported.
void putAndCheck(WebDavPublisher& publisher, const LocalSite& site, const QString& webFolder) {
    QSignalSpy handled(&publisher, &Publisher::documentHandled);
    const QStringList results = publisher.vtiPutDocuments(site.fileList(), listText(kAddresses));
    QCOMPARE(results.size(), kAddresses.size());
    QCOMPARE(handled.size(), kAddresses.size());
    QCOMPARE(handled.last(), QVariantList({4, 4}));
    for (int i = 0; i < kAddresses.size(); ++i) {
        const QString arrived = QDir(webFolder).filePath(kAddresses.at(i));
        if (i == kMissing) {
            QVERIFY2(results.at(i).contains(QStringLiteral("does not exist")),
                     qPrintable(results.at(i)));
            QVERIFY(!QFile::exists(arrived));
        } else {
            QVERIFY2(results.at(i).isEmpty(), qPrintable(results.at(i)));
            QCOMPARE(fileBytes(arrived), site.bytes(i));
        }
    }
    QVERIFY(publisher.lastError().contains(QStringLiteral("fsecond.htm")));
}

} // namespace

class TestWebDavPublisher : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void publishesAndRepublishesKeepingOtherFiles();
    void serverTextForms_data();
    void serverTextForms();
    void openingFails_data();
    void openingFails();
    void serverGoesAwayWhileUploading();
    void refusalsAndForeignAddresses();
    void passwordInClearIsNamed_data();
    void passwordInClearIsNamed();
};

void TestWebDavPublisher::initTestCase() {
    QUILLMART_REQUIRE_SERVER(NginxFixture::missing());
}

void TestWebDavPublisher::publishesAndRepublishesKeepingOtherFiles() {
    NginxFixture server;
    QVERIFY2(server.start(kUser, kPassword), qPrintable(server.error()));
    LocalSite site;
    site.generate("1");
    WebDavPublisher publisher;

    QCOMPARE(publisher.vtiOpenWebWithPassword(plainHttp(server), kWeb, kUser, kPassword), 0);
    QVERIFY2(publisher.lastError().isEmpty(), qPrintable(publisher.lastError()));
    QVERIFY2(publisher.vtiCreateWeb(QStringLiteral("http://") + plainHttp(server), kWeb),
             qPrintable(publisher.lastError()));
    putAndCheck(publisher, site, inWeb(server, QString()));
    if (QTest::currentTestFailed())
        return;

    // Files the site's forms or another program left in the web.
    writeFile(inWeb(server, QStringLiteral("orders.txt")), "order 1\n");
    writeFile(inWeb(server, QStringLiteral("_private/form_results.txt")), "result 1\n");
    site.generate("2");

    QCOMPARE(publisher.vtiOpenWebWithPassword(plainHttp(server), kWeb, kUser, kPassword), 1);
    QVERIFY2(publisher.vtiRemoveWeb(QLatin1Char('/') + kWeb, listText(kAddresses)),
             qPrintable(publisher.lastError()));
    QVERIFY(!QFile::exists(inWeb(server, kAddresses.first())));
    QVERIFY2(publisher.vtiCreateWeb(QStringLiteral("http://") + plainHttp(server), kWeb),
             qPrintable(publisher.lastError()));
    putAndCheck(publisher, site, inWeb(server, QString()));
    QCOMPARE(fileBytes(inWeb(server, QStringLiteral("orders.txt"))), QByteArray("order 1\n"));
    QCOMPARE(fileBytes(inWeb(server, QStringLiteral("_private/form_results.txt"))),
             QByteArray("result 1\n"));
}

void TestWebDavPublisher::serverTextForms_data() {
    QTest::addColumn<QString>("serverText"); // %1 is the port
    QTest::addColumn<QString>("folder");     // where the web lands below the served folder
    QTest::newRow("host and port") << "http://127.0.0.1:%1" << QString();
    QTest::newRow("upper-case scheme, a folder")
        << "HTTP://127.0.0.1:%1/dav/" << QStringLiteral("dav/");
    // The create call gets "http://" before the typed text, blanks and all.
    QTest::newRow("scheme after blanks") << "  HTTP://127.0.0.1:%1/dav  " << QStringLiteral("dav/");
}

void TestWebDavPublisher::serverTextForms() {
    QFETCH(QString, serverText);
    QFETCH(QString, folder);
    NginxFixture server;
    QVERIFY2(server.start(), qPrintable(server.error()));
    QVERIFY(QDir(server.rootPath()).mkpath(QStringLiteral("dav")));
    serverText = serverText.arg(server.port());
    LocalSite site;
    site.generate("1");
    WebDavPublisher publisher;

    QCOMPARE(publisher.vtiOpenWebWithPassword(serverText, kWeb, QString(), QString()), 0);
    QVERIFY2(publisher.vtiCreateWeb(QStringLiteral("http://") + serverText, kWeb),
             qPrintable(publisher.lastError()));
    putAndCheck(publisher, site, server.rootPath() + QLatin1Char('/') + folder + kWeb);
}

// Wrong or missing credentials, a stopped server, and a bare host (https)
// for a plain http server: every call fails with the reason and nothing is stored;
// a server that answers takes the right credentials afterwards.
void TestWebDavPublisher::openingFails_data() {
    QTest::addColumn<bool>("withAuth");
    QTest::addColumn<bool>("stopped");
    QTest::addColumn<QString>("scheme");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("expected");
    QTest::newRow("wrong password") << true << false << "http://"
                                    << "open sesame!"
                                    << "wrong user name or password";
    QTest::newRow("none given") << true << false << "http://"
                                << ""
                                << "asks for a user name and password";
    QTest::newRow("unreachable") << false << true << "http://" << kPassword << "cannot be reached";
    QTest::newRow("bare host means https")
        << false << false << "" << kPassword << "secure (https) connection";
}

void TestWebDavPublisher::openingFails() {
    QFETCH(bool, withAuth);
    QFETCH(bool, stopped);
    QFETCH(QString, scheme);
    QFETCH(QString, password);
    QFETCH(QString, expected);
    NginxFixture server;
    QVERIFY2(withAuth ? server.start(kUser, kPassword) : server.start(),
             qPrintable(server.error()));
    if (stopped)
        server.stop();
    const QString serverText = scheme + server.serverName();
    const QString user = password.isEmpty() ? QString() : kUser;
    LocalSite site;
    site.generate("1");
    WebDavPublisher publisher;

    QCOMPARE(publisher.vtiOpenWebWithPassword(serverText, kWeb, user, password), -1);
    QVERIFY2(publisher.lastError().contains(expected), qPrintable(publisher.lastError()));
    QVERIFY(publisher.lastError().contains(server.serverName()));
    // The create call gets "http://" in front of the typed text.
    QVERIFY(!publisher.vtiCreateWeb(QStringLiteral("http://") + serverText, kWeb));
    QVERIFY2(publisher.lastError().contains(expected), qPrintable(publisher.lastError()));
    for (const QString& result : publisher.vtiPutDocuments(site.fileList(), listText(kAddresses)))
        QVERIFY2(result.contains(expected), qPrintable(result));
    QVERIFY(QDir(server.rootPath()).isEmpty());
    if (!stopped)
        QCOMPARE(publisher.vtiOpenWebWithPassword(plainHttp(server), kWeb, kUser, kPassword), 0);
}

void TestWebDavPublisher::serverGoesAwayWhileUploading() {
    NginxFixture server;
    QVERIFY2(server.start(), qPrintable(server.error()));
    LocalSite site;
    site.generate("1");
    WebDavPublisher publisher;
    QCOMPARE(publisher.vtiOpenWebWithPassword(plainHttp(server), kWeb, QString(), QString()), 0);
    QVERIFY(publisher.vtiCreateWeb(QStringLiteral("http://") + plainHttp(server), kWeb));
    server.stop();

    QSignalSpy handled(&publisher, &Publisher::documentHandled);
    const QStringList results = publisher.vtiPutDocuments(site.fileList(), listText(kAddresses));
    QCOMPARE(handled.size(), kAddresses.size());
    QVERIFY2(results.first().contains(QStringLiteral("cannot be reached")),
             qPrintable(results.first()));
    // The rest are not tried one by one but carry the same reason.
    QCOMPARE(results, QStringList(kAddresses.size(), results.first()));
    QVERIFY(publisher.lastError().startsWith(QStringLiteral("4 of 4")));
}

void TestWebDavPublisher::refusalsAndForeignAddresses() {
    NginxFixture server;
    QVERIFY2(server.start(), qPrintable(server.error()));
    WebDavPublisher publisher;

    // "http://" before a bare host, as the create call gets it, still means https.
    QVERIFY(!publisher.vtiCreateWeb(QStringLiteral("http://") + server.serverName(), kWeb));
    QVERIFY2(publisher.lastError().contains(QStringLiteral("secure (https) connection")),
             qPrintable(publisher.lastError()));

    QCOMPARE(publisher.vtiOpenWebWithPassword(QStringLiteral("ftp://127.0.0.1"), kWeb, QString(),
                                              QString()),
             -1);
    QVERIFY(publisher.lastError().contains(QStringLiteral("is not a server name")));

    // The folder the web should go into does not exist: MKCOL is refused.
    const QString deep = plainHttp(server) + QStringLiteral("/missing/deeper");
    QCOMPARE(publisher.vtiOpenWebWithPassword(deep, kWeb, QString(), QString()), 0);
    QVERIFY(!publisher.vtiCreateWeb(QStringLiteral("http://") + deep, kWeb));
    QVERIFY2(publisher.lastError().contains(QStringLiteral("(HTTP 409 Conflict)")),
             qPrintable(publisher.lastError()));

    // Addresses that would reach outside the web, or the web itself, are
    // neither removed nor stored; the file after them still is.
    writeFile(QDir(server.rootPath()).filePath(QStringLiteral("outside.htm")), "keep");
    writeFile(inWeb(server, QStringLiteral("index.htm")), "old");
    const QStringList addresses = {QStringLiteral("../outside.htm"), QString(),
                                   QStringLiteral("index.htm")};
    QCOMPARE(publisher.vtiOpenWebWithPassword(plainHttp(server), kWeb, QString(), QString()), 1);
    QVERIFY(!publisher.vtiRemoveWeb(QLatin1Char('/') + kWeb, listText(addresses)));
    QVERIFY(publisher.lastError().startsWith(QStringLiteral("2 of 3")));
    QCOMPARE(fileBytes(QDir(server.rootPath()).filePath(QStringLiteral("outside.htm"))),
             QByteArray("keep"));
    QVERIFY(QFileInfo(inWeb(server, QString())).isDir());
    QVERIFY(!QFile::exists(inWeb(server, QStringLiteral("index.htm"))));

    // Another party made a folder where a site file should go.
    LocalSite site;
    site.generate("1");
    QVERIFY(QDir(server.rootPath()).mkpath(kWeb + QStringLiteral("/data1.js/")));
    const QStringList results = publisher.vtiPutDocuments(site.fileList(), listText(kAddresses));
    QVERIFY2(results.at(1).contains(QStringLiteral("refused to store data1.js (HTTP ")),
             qPrintable(results.at(1)));
    QVERIFY(results.at(0).isEmpty());
    QVERIFY(results.at(2).isEmpty());
}

void TestWebDavPublisher::passwordInClearIsNamed_data() {
    QTest::addColumn<QString>("serverText");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("inClear");
    QTest::newRow("bare host") << "www.shop.test" << kPassword << false;
    QTest::newRow("typed http") << "  HTTP://www.shop.test/dav" << kPassword << true;
    QTest::newRow("typed https") << "https://www.shop.test" << kPassword << false;
    QTest::newRow("http without a password") << "http://www.shop.test" << QString() << false;
    QTest::newRow("a folder") << "/srv/www" << kPassword << false;
}

void TestWebDavPublisher::passwordInClearIsNamed() {
    QFETCH(QString, serverText);
    QFETCH(QString, password);
    QFETCH(bool, inClear);
    const QString warning = PublisherChoice::passwordInClearWarning(serverText, password);
    QCOMPARE(warning.contains(QStringLiteral("HTTP://www.shop.test/dav is not encrypted")),
             inClear);
    QCOMPARE(warning.isEmpty(), !inClear);
}

QTEST_GUILESS_MAIN(TestWebDavPublisher)
#include "test_webdav_publisher.moc"
