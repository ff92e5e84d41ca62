// The channel downloads against a copy of the shipped channel server over
// HTTP: the cuts of long files, the Location2 prefix, the locations kept
// for the next start, a country's lists and the retry timer. (The lists as
// shipped are compared whole in the window's channel menus.)

#include "browser/BrowserController.h"
#include "browser/ChannelDownloads.h"
#include "platform/HomeFolder.h"
#include "platform/Launcher.h"
#include "support/ExpectedFile.h"
#include "support/HttpFixture.h"

#include <QDirIterator>
#include <QMap>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

const int kWaitMs = 10000;

class NoLauncher : public Launcher {
public:
    bool start(const QString&, const QStringList&) override { return false; }
};

QString lines(const QList<LinkRecord>& records) {
    QString text;
    for (const LinkRecord& record : records)
        text += record.caption + '|' + record.url + '\n';
    return text;
}

} // namespace

class TestChannelDownloads : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void cutsLocation2AndKeptLocations();
    void countryAndPrivateListsRetry();

private:
    void writeServerFile(const QString& name, const QByteArray& bytes) const;
    QString saved(const QString& key) const {
        return QSettings(m_home->filePath("Quillmart/Quillmart.conf"), QSettings::IniFormat)
            .value("Startup/" + key)
            .toString();
    }

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<QTemporaryDir> m_server;
    std::unique_ptr<HttpFixture> m_http;
    NoLauncher m_launcher;
    std::unique_ptr<BrowserController> m_controller;
    std::unique_ptr<ChannelDownloads> m_downloads;
    QMap<QString, QString> m_sections; // what arrived, by target
    QStringList m_view1;               // the navigations asked of view 1
};

void TestChannelDownloads::init() {
    m_home = std::make_unique<QTemporaryDir>();
    qputenv("QUILLMART_HOME", m_home->path().toUtf8());
    QCOMPARE(HomeFolder::prepare(), QString());
    m_server = std::make_unique<QTemporaryDir>();
    const QString shipped = QStringLiteral(QUILLMART_TEST_DATA "/../../data/velgan");
    for (QDirIterator files(shipped, QDir::Files, QDirIterator::Subdirectories); files.hasNext();) {
        const QString source = files.next();
        const QString target = m_server->filePath(QDir(shipped).relativeFilePath(source));
        QDir().mkpath(QFileInfo(target).path());
        QVERIFY(QFile::copy(source, target));
    }
    m_http = std::make_unique<HttpFixture>(m_server->path());
    QVERIFY(m_http->start());
    m_controller = std::make_unique<BrowserController>(m_home->path(), m_launcher);
    m_downloads = std::make_unique<ChannelDownloads>(*m_controller);
    m_sections.clear();
    m_view1.clear();
    auto* d = m_downloads.get();
    connect(d, &ChannelDownloads::channelsArrived, this,
            [this](const QList<LinkRecord>& items) { m_sections["[channels]"] = lines(items); });
    connect(d, &ChannelDownloads::searchListArrived, this,
            [this](const QList<LinkRecord>& items) { m_sections["[search]"] = lines(items); });
    connect(m_controller.get(), &BrowserController::navigateRequested, this,
            [this](int view, const QString& url) {
                if (view == BrowserController::View::View1)
                    m_view1 << url;
            });
}

void TestChannelDownloads::cleanup() {
    m_downloads.reset();
    m_controller.reset();
    m_http.reset();
}

void TestChannelDownloads::writeServerFile(const QString& name, const QByteArray& bytes) const {
    QFile file(m_server->filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

// A record of 23 characters, then records of 42: the 12000th character
// falls inside record 287, so 286 are read; "list5.txt" holds 2064 lines of 31 characters in its
// 64000. Channel addresses take Location2 as prefix; new locations wait
// for the next start.
void TestChannelDownloads::cutsLocation2AndKeptLocations() {
    QByteArray records = "Local<pages/news.htm>\r\n";
    QByteArray featured;
    for (int i = 1; i < 3000; ++i) {
        const QByteArray page =
            "http://site.example/" + QByteArray::number(i).rightJustified(5, '0');
        records += "Item" + page.right(5) + "<" + page + ".htm>\r\n";
        featured += page + ".htm\r\n";
    }
    for (const char* name : {"pubsearch.txt", "pubchannels.txt"})
        writeServerFile(name, records);
    writeServerFile("list5.txt", featured);
    writeServerFile("locations.txt", "http://new.example/velgan/\r\nhttp://other.example/v/\r\n");
    const QString location = m_http->url(QString()).toString();
    m_controller->setLocations(location, "http://second.example/velgan/");
    m_controller->startUp();
    QTRY_VERIFY_WITH_TIMEOUT(m_sections.contains("[search]") && m_sections.contains("[channels]") &&
                                 !saved("Location1").isEmpty() && m_view1.size() == 2,
                             kWaitMs);
    const QStringList search = m_sections["[search]"].split('\n', Qt::SkipEmptyParts);
    QCOMPARE(search.last(), "Item00285|http://site.example/00285.htm");
    QVERIFY(
        m_sections["[channels]"].startsWith("Local|http://second.example/velgan/pages/news.htm\n"));
    QCOMPARE(m_downloads->featured().pending().last(), "http://site.example/02064.htm");
    QCOMPARE(saved("Location1") + ' ' + saved("Location2"),
             "http://new.example/velgan/ http://other.example/v/");
    QCOMPARE(m_controller->location1(), location);
}

// A country's lists replace the server's. The private search list fails
// until the server has it; the retry timer asks again for it alone.
void TestChannelDownloads::countryAndPrivateListsRetry() {
    const QString location = m_http->url(QString()).toString();
    m_controller->setLocations(QString(), location);
    m_downloads->chooseCountry("Brenmark");
    QTRY_VERIFY_WITH_TIMEOUT(
        m_sections["[channels]"].startsWith("Brenmark today|" + location + "intl/Brenmark_t.htm\n"),
        kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(!m_downloads->retryTimer().isActive(), kWaitMs);

    m_sections.clear();
    HttpFixture::Response fail;
    fail.delivery = HttpFixture::Delivery::Fail;
    m_http->setResponse("private/search.txt", fail);
    m_downloads->retryTimer().setInterval(50);
    Q_EMIT m_controller->privateListsWanted(m_http->url("private/search.txt").toString(),
                                            m_http->url("private/channels.txt").toString(), true);
    QTRY_VERIFY_WITH_TIMEOUT(m_http->requested().count("/private/search.txt") >= 3, kWaitMs);
    HttpFixture::Response served;
    served.body = fileBytes(m_server->filePath("private/search.txt"));
    m_http->setResponse("private/search.txt", served);
    QTRY_VERIFY_WITH_TIMEOUT(!m_downloads->retryTimer().isActive(), kWaitMs);
    QCOMPARE(m_sections["[search]"] +
                 QString::number(m_http->requested().count("/private/channels.txt")),
             "Members search|http://members.lumenseek.example/\n"
             "Private shops|http://private.quarrylane.example/\n1");
}

QTEST_GUILESS_MAIN(TestChannelDownloads)
#include "test_channel_downloads.moc"
