// The channel downloads against a copy of the shipped channel server: all of
// it read as local files and over HTTP, then the cuts at 12000, 16000 and
// 64000 characters, the Location2 prefix, locations kept for the next start
// (in the program's own folder, the shipped folder's as a relative address),
// a country's lists and the retry timer.

#include "browser/BrowserController.h"
#include "browser/ChannelDownloads.h"
#include "browser/StartPages.h"
#include "platform/HomeFolder.h"
#include "platform/Launcher.h"
#include "support/ExpectedFile.h"
#include "support/HttpFixture.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>
#include <memory>

namespace {

const int kWaitMs = 10000;
using View = BrowserController::View;

class NoLauncher : public Launcher {
public:
    bool start(const QString&, const QStringList&) override { return false; }
};

void copyFolder(const QString& from, const QString& to) {
    QDirIterator files(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString source = files.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(source);
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(source, target);
    }
}

QString recordLines(const QList<LinkRecord>& records) {
    QString text;
    for (const LinkRecord& record : records)
        text += record.caption + QLatin1Char('|') + record.url + QLatin1Char('\n');
    return text;
}

// What the downloads handed on, by target.
struct Arrivals {
    QMap<QString, QString> sections;
    QStringList view1;
    QStringList shown;

    void watch(ChannelDownloads& downloads, BrowserController& controller) {
        QObject::connect(&downloads, &ChannelDownloads::channelsArrived,
                         [this](const QList<LinkRecord>& items) {
                             sections["[channels]"] = recordLines(items);
                         });
        QObject::connect(
            &downloads, &ChannelDownloads::searchListArrived,
            [this](const QList<LinkRecord>& items) { sections["[search]"] = recordLines(items); });
        QObject::connect(&downloads, &ChannelDownloads::menuArrived,
                         [this](int menu, const HeadedList& list) {
                             sections[QStringLiteral("[menu%1] ").arg(menu) + list.caption] =
                                 recordLines(list.records);
                         });
        QObject::connect(&downloads, &ChannelDownloads::searchButtonArrived,
                         [this](int position, const HeadedList& list) {
                             sections[QStringLiteral("[button %1] ").arg(position) + list.caption] =
                                 recordLines(list.records);
                         });
        QObject::connect(&downloads, &ChannelDownloads::searchButtonRefused, [this](int position) {
            sections[QStringLiteral("[button %1] hidden").arg(position)] = QString();
        });
        QObject::connect(&downloads, &ChannelDownloads::countriesArrived,
                         [this](const QStringList& countries) {
                             sections["[countries]"] = countries.join('\n') + '\n';
                         });
        QObject::connect(&controller, &BrowserController::navigateRequested,
                         [this, &controller](int view, const QString& url) {
                             (view == View::View1 ? view1 : shown) << url;
                             if (controller.isShown(View::View1) && view == View::View1)
                                 shown << url;
                         });
    }
};

} // namespace

class TestChannelDownloads : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void shippedFiles_data();
    void shippedFiles();
    void cutsAtTheirChunkSizes();
    void channelAddressesTakeLocation2AndLocationsWaitForNextStart();
    void countryReplacesTheLists();
    void retryUntilBothPrivateListsArrive();

private:
    // Location1 (and Location2) of the row's server: files or HTTP.
    QString base(const QString& server) const;
    void writeServerFile(const QString& name, const QByteArray& bytes) const;
    QString savedLocation(const QString& key) const;
    void waitForStartUp();

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<QTemporaryDir> m_server;
    std::unique_ptr<HttpFixture> m_http;
    NoLauncher m_launcher;
    std::unique_ptr<BrowserController> m_controller;
    std::unique_ptr<ChannelDownloads> m_downloads;
    Arrivals m_arrived;
};

void TestChannelDownloads::init() {
    m_home = std::make_unique<QTemporaryDir>();
    qputenv("QUILLMART_HOME", m_home->path().toUtf8());
    QCOMPARE(HomeFolder::prepare(), QString());
    m_server = std::make_unique<QTemporaryDir>();
    copyFolder(QStringLiteral(QUILLMART_TEST_DATA "/../../data/velgan"), m_server->path());
    m_http = std::make_unique<HttpFixture>(m_server->path());
    QVERIFY(m_http->start());
    m_controller = std::make_unique<BrowserController>(m_home->path(), m_launcher);
    m_downloads = std::make_unique<ChannelDownloads>(*m_controller);
    m_arrived = Arrivals();
    m_arrived.watch(*m_downloads, *m_controller);
}

void TestChannelDownloads::cleanup() {
    m_downloads.reset();
    m_controller.reset();
    m_http.reset();
}

QString TestChannelDownloads::base(const QString& server) const {
    if (server == "http")
        return m_http->url(QString()).toString();
    if (server == "shipped")
        return StartPages::folderUrl();
    return QUrl::fromLocalFile(m_server->path() + '/').toString();
}

void TestChannelDownloads::writeServerFile(const QString& name, const QByteArray& bytes) const {
    QFile file(m_server->path() + '/' + name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QString TestChannelDownloads::savedLocation(const QString& key) const {
    const QString file = m_home->filePath("Quillmart/Quillmart.conf");
    return QSettings(file, QSettings::IniFormat).value("Startup/" + key).toString();
}

void TestChannelDownloads::waitForStartUp() {
    QTRY_COMPARE_WITH_TIMEOUT(m_arrived.sections.size(), 15, kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(!savedLocation("Location1").isEmpty(), kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(!m_controller->zone().privateZoneTable().isEmpty(), kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(m_arrived.view1.size() == 2, kWaitMs);
}

void TestChannelDownloads::shippedFiles_data() {
    QTest::addColumn<QString>("server");
    QTest::newRow("local files") << "file";
    QTest::newRow("http") << "http";
    QTest::newRow("shipped folder") << "shipped";
}

void TestChannelDownloads::shippedFiles() {
    QFETCH(QString, server);
    const QString location = base(server);
    m_controller->setLocations(location, location);
    m_controller->startUp();
    waitForStartUp();
    QVERIFY(!m_downloads->retryTimer().isActive());

    QString dump;
    for (auto section = m_arrived.sections.cbegin(); section != m_arrived.sections.cend();
         ++section)
        dump += section.key() + '\n' + section.value();
    dump += "[private table]\n";
    for (const auto& row : std::as_const(m_controller->zone().privateZoneTable()))
        dump +=
            QStringList{row.password, row.searchListUrl, row.channelListUrl, row.startPageUrl}.join(
                '|') +
            '\n';
    // The start pages, then the first featured page.
    dump += "[view 1]\n" + m_arrived.view1.last() + '\n';
    dump += "[saved locations]\n" + savedLocation("Location1") + '|' + savedLocation("Location2") +
            '\n';

    QByteArray expected = expectedFile("channels/expected/shipped_lists.txt", false);
    expected.replace("{base}", location.toUtf8());
    expected.replace("{kept}", server == "shipped" ? "./" : location.toUtf8());
    // The expected file lists the sections in the order a reader expects;
    // the map holds them sorted.
    QStringList wanted = ("\n" + QString::fromUtf8(expected)).split("\n[");
    QStringList got = ("\n" + dump).split("\n[");
    std::sort(wanted.begin(), wanted.end());
    std::sort(got.begin(), got.end());
    QCOMPARE(got.join("\n["), wanted.join("\n["));
}

// Records of 42 characters: the 12000th character falls inside record 286,
// which has no ">" left, so 285 records are read. The menu file's 16000
// characters hold a 6-character head and 380 records; "list5.txt" holds 2064
// lines of 31 characters in its 64000.
void TestChannelDownloads::cutsAtTheirChunkSizes() {
    QByteArray records;
    QByteArray lines;
    for (int i = 0; i < 3000; ++i) {
        const QByteArray number = QByteArray::number(i).rightJustified(5, '0');
        records += "Item" + number + "<http://site.example/" + number + ".htm>\r\n";
        lines += "http://site.example/" + number + ".htm\r\n";
    }
    writeServerFile("pubsearch.txt", records);
    writeServerFile("menu1.txt", "Big\r\n " + records);
    writeServerFile("list5.txt", lines);
    const QString location = base("http");
    m_controller->setLocations(location, location);
    m_controller->startUp();
    waitForStartUp();

    const QStringList search = m_arrived.sections["[search]"].split('\n', Qt::SkipEmptyParts);
    QCOMPARE(search.size(), 285);
    QCOMPARE(search.last(), "Item00284|http://site.example/00284.htm");
    const QStringList menu = m_arrived.sections["[menu1] Big"].split('\n', Qt::SkipEmptyParts);
    QCOMPARE(menu.size(), 380);
    QCOMPARE(menu.last(), "Item00379|http://site.example/00379.htm");
    // One featured page was shown; the rest wait.
    QCOMPARE(m_arrived.view1.last(), "http://site.example/00000.htm");
    QCOMPARE(m_downloads->featured().pending().last(), "http://site.example/02063.htm");
}

void TestChannelDownloads::channelAddressesTakeLocation2AndLocationsWaitForNextStart() {
    writeServerFile(
        "pubchannels.txt",
        "Local<pages/news.htm>\r\nFar<http://far.example/>\r\nSecure<https://s.example/>\r\n");
    writeServerFile("locations.txt", "http://new.example/velgan/\r\nhttp://other.example/v/\r\n");
    const QString location = base("file");
    const QString second = QStringLiteral("http://second.example/velgan/");
    m_controller->setLocations(location, second);
    m_controller->startUp();
    QTRY_VERIFY_WITH_TIMEOUT(m_arrived.sections.contains("[channels]"), kWaitMs);
    QCOMPARE(m_arrived.sections["[channels]"], "Local|" + second +
                                                   "pages/news.htm\n"
                                                   "Far|http://far.example/\n"
                                                   "Secure|https://s.example/\n");
    QTRY_COMPARE_WITH_TIMEOUT(savedLocation("Location1"), "http://new.example/velgan/", kWaitMs);
    QCOMPARE(savedLocation("Location2"), "http://other.example/v/");
    // This run keeps its addresses: the next files still come from here.
    QCOMPARE(m_controller->location1(), location);
    QCOMPARE(m_controller->location2(), second);
}

void TestChannelDownloads::countryReplacesTheLists() {
    const QString location = base("http");
    m_controller->setLocations(QString(), location);
    m_downloads->chooseCountry("Brenmark");
    QVERIFY(m_downloads->retryTimer().isActive());
    QCOMPARE(m_arrived.shown.last(), location + "intl/Brenmark_t.htm");
    QTRY_COMPARE_WITH_TIMEOUT(m_arrived.sections.size(), 9, kWaitMs);
    QCOMPARE(m_arrived.sections["[channels]"], "Brenmark today|" + location +
                                                   "intl/Brenmark_t.htm\n"
                                                   "Brenmark market|http://market.bm.example/\n");
    QVERIFY(m_arrived.sections.contains("[button 8] Auctions Brenmark"));
    QTRY_VERIFY_WITH_TIMEOUT(!m_downloads->retryTimer().isActive(), kWaitMs);
}

// The private search list fails until the server has it; the retry timer
// asks again for it alone and stops once it arrived.
void TestChannelDownloads::retryUntilBothPrivateListsArrive() {
    HttpFixture::Response fail;
    fail.delivery = HttpFixture::Delivery::Fail;
    m_http->setResponse("private/search.txt", fail);
    m_downloads->retryTimer().setInterval(50);
    const QString search = m_http->url("private/search.txt").toString();
    const QString channels = m_http->url("private/channels.txt").toString();
    Q_EMIT m_controller->privateListsWanted(search, channels, true);
    QVERIFY(m_downloads->retryTimer().isActive());
    QTRY_VERIFY_WITH_TIMEOUT(m_arrived.sections.contains("[channels]"), kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(m_http->requested().count("/private/search.txt") >= 3, kWaitMs);
    QVERIFY(m_downloads->retryTimer().isActive());
    QVERIFY(!m_arrived.sections.contains("[search]"));

    HttpFixture::Response served;
    served.contentType = "text/plain";
    served.body = fileBytes(m_server->path() + "/private/search.txt");
    m_http->setResponse("private/search.txt", served);
    QTRY_VERIFY_WITH_TIMEOUT(m_arrived.sections.contains("[search]"), kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(!m_downloads->retryTimer().isActive(), kWaitMs);
    QCOMPARE(m_arrived.sections["[search]"], "Members search|http://members.lumenseek.example/\n"
                                             "Private shops|http://private.quarrylane.example/\n");
    QCOMPARE(m_http->requested().count("/private/channels.txt"), 1);

    // The blocked-access login wants the lists without the timer.
    Q_EMIT m_controller->privateListsWanted(search, channels, false);
    QVERIFY(!m_downloads->retryTimer().isActive());
}

QTEST_GUILESS_MAIN(TestChannelDownloads)
#include "test_channel_downloads.moc"
