// The channel server's file formats read from text, the featured-pages
// rotation, and the channel downloads against a copy of the shipped channel
// server over HTTP, in one session: the cuts of long files, the Location2
// prefix, the locations kept for the next start, a country's lists and the
// retry of the private lists. (The window test checks that the shipped
// lists reach their menus.)

#include "browser/BrowserController.h"
#include "browser/ChannelDownloads.h"
#include "channels/ChannelText.h"
#include "channels/FeaturedPages.h"
#include "platform/HomeFolder.h"
#include "settings/StartupSettings.h"
#include "support/ExpectedFile.h"
#include "support/HttpFixture.h"
#include "support/RecordingLauncher.h"

#include <QtTest>

namespace {

const int kWaitMs = 10000;

QString lines(const QList<LinkRecord>& records) {
    QString text;
    for (const LinkRecord& record : records)
        text += record.caption + '|' + record.url + '\n';
    return text;
}

} // namespace

class TestChannels : public QObject {
    Q_OBJECT

private Q_SLOTS:

    // Link records up to a record missing its ">"; headed lists, line lists,
    // the private-zone table, the locations and error pages.
    void linkRecordsListsTableAndLocations() {
        QCOMPARE(
            ChannelText::linkRecords("One<http://one.example/>\r\nTwo<two.htm\r\nThree<t.htm>\r\n"),
            QList<LinkRecord>({{"One", "http://one.example/"}}));
        const QString text = "Computers\r\n Vantor<http://v.example/>\r\nPebble<p.htm>\r\n";
        // A search-toolbar file starts its records right after the first line;
        // a menu file skips one character more.
        QCOMPARE(
            ChannelText::headedList(text, false),
            (HeadedList{"Computers", {{" Vantor", "http://v.example/"}, {"Pebble", "p.htm"}}}));
        QCOMPARE(ChannelText::headedList(text, true).records.first().caption, "Vantor");
        // A last line without line end and empty lines are no entries.
        QCOMPARE(ChannelText::lineList(" Alvania\r\n\r\nBrenmark\r\nCo", true),
                 QStringList({"Alvania", "Brenmark"}));

        // A record missing its ">" ends the table.
        const auto rows = ChannelText::privateTable("pw1<http://s.example/s.txt><c.txt><p.htm>\r\n"
                                                    "pw2<s2.txt><c2.txt><p2.htm>\r\n"
                                                    "pw3<s3.txt><c3.txt\r\npw4<s4><c4><p4>\r\n");
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].password + rows[0].searchListUrl + rows[0].channelListUrl +
                     rows[0].startPageUrl + rows[1].startPageUrl,
                 "pw1http://s.example/s.txtc.txtp.htmp2.htm");

        using Pair = std::pair<QString, QString>;
        QCOMPARE(ChannelText::locations("http://a.example/v/\nhttp://b.example/v/"),
                 Pair("http://a.example/v/", "http://b.example/v/"));
        QVERIFY(!ChannelText::locations("http://a.example/v/\r\n\r\n"));
        QVERIFY(ChannelText::isErrorPage("x<TiTlE>404"));
        QVERIFY(!ChannelText::isErrorPage("Title<title.htm>\r\n"));
    }

    void featuredRotation() {
        QStringList seen = {"b"};
        FeaturedPages featured(seen);
        featured.append({"b", "a", "b", "c"});
        QCOMPARE(featured.step(), "a");
        QCOMPARE(seen, QStringList({"b", "a"}));
        QCOMPARE(featured.step(), "c");
        QCOMPARE(featured.step(), std::nullopt);
        // Everything seen: nothing is shown, and a restart forgets what was seen.
        featured.append({"a", "b"});
        QCOMPARE(featured.step(), std::nullopt);
        featured.restart();
        QVERIFY(seen.isEmpty());
        featured.append({"a"});
        QCOMPARE(featured.step(), "a");
    }

    // A record of 23 characters, then records of 42: the 12000th character
    // falls inside record 287, so 286 are read; "list5.txt" holds 2064 lines
    // of 31 characters in its 64000. Channel addresses take Location2 as
    // prefix; new locations wait for the next start. A country's lists replace
    // the server's, from Location2 when there is no Location1. The private
    // search list fails until the server has it; the retry timer asks again
    // for it alone.
    void cutsLocationsCountryAndRetry() {
        QTemporaryDir home;
        qputenv("QUILLMART_HOME", home.path().toUtf8());
        QVERIFY(HomeFolder::prepare().ok());
        const QString shipped = QStringLiteral(QUILLMART_TEST_DATA "/../../data/velgan");
        HttpFixture http(shipped);
        QVERIFY(http.start());
        QByteArray records = "Local<pages/news.htm>\r\n";
        QByteArray featured;
        for (int i = 1; i < 3000; ++i) {
            const QByteArray page =
                "http://site.example/" + QByteArray::number(i).rightJustified(5, '0');
            records += "Item" + page.right(5) + "<" + page + ".htm>\r\n";
            featured += page + ".htm\r\n";
        }
        for (const auto& [name, bytes] :
             {std::pair("pubsearch.txt", records), std::pair("pubchannels.txt", records),
              std::pair("list5.txt", featured),
              std::pair("locations.txt",
                        QByteArray("http://new.example/velgan/\r\nhttp://other.example/v/\r\n"))})
            http.setResponse(name, {200, "OK", "text/plain", bytes});
        RecordingLauncher launcher;
        StartupSettings settings;
        BrowserController controller(home.path(), launcher, settings);
        ChannelDownloads downloads(controller);
        QMap<QString, QString> sections; // what arrived, by target
        connect(&downloads, &ChannelDownloads::channelsArrived, this,
                [&](const QList<LinkRecord>& items) { sections["[channels]"] = lines(items); });
        connect(&downloads, &ChannelDownloads::searchListArrived, this,
                [&](const QList<LinkRecord>& items) { sections["[search]"] = lines(items); });
        const auto saved = [&](const QString& key) {
            return QSettings(home.filePath("Quillmart/Quillmart.conf"), QSettings::IniFormat)
                .value("Startup/" + key)
                .toString();
        };

        const QString location = http.url(QString()).toString();
        controller.setLocations(location, "http://second.example/velgan/");
        controller.startUp();
        QTRY_VERIFY_WITH_TIMEOUT(sections.contains("[search]") && sections.contains("[channels]") &&
                                     !saved("Location1").isEmpty() &&
                                     !downloads.featured().pending().isEmpty(),
                                 kWaitMs);
        QCOMPARE(sections["[search]"].split('\n', Qt::SkipEmptyParts).last(),
                 "Item00285|http://site.example/00285.htm");
        QVERIFY(sections["[channels]"].startsWith(
            "Local|http://second.example/velgan/pages/news.htm\n"));
        QCOMPARE(downloads.featured().pending().last(), "http://site.example/02064.htm");
        QCOMPARE(saved("Location1"), "http://new.example/velgan/");
        QCOMPARE(saved("Location2"), "http://other.example/v/");
        QCOMPARE(controller.location1(), location);

        controller.setLocations(QString(), location);
        downloads.chooseCountry("Brenmark");
        QTRY_VERIFY_WITH_TIMEOUT(sections["[channels]"].startsWith("Brenmark today|" + location +
                                                                   "intl/Brenmark_t.htm\n"),
                                 kWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(!downloads.retryTimer().isActive(), kWaitMs);

        sections.clear();
        http.setResponse("private/search.txt", {200, "OK", {}, {}, HttpFixture::Delivery::Fail});
        downloads.retryTimer().setInterval(50);
        Q_EMIT controller.privateListsWanted(http.url("private/search.txt").toString(),
                                             http.url("private/channels.txt").toString(), true);
        QTRY_VERIFY_WITH_TIMEOUT(http.requested().count("/private/search.txt") >= 3, kWaitMs);
        http.setResponse("private/search.txt",
                         {200, "OK", {}, fileBytes(shipped + "/private/search.txt")});
        QTRY_VERIFY_WITH_TIMEOUT(!downloads.retryTimer().isActive(), kWaitMs);
        QCOMPARE(sections["[search]"] +
                     QString::number(http.requested().count("/private/channels.txt")),
                 "Members search|http://members.lumenseek.example/\n"
                 "Private shops|http://private.quarrylane.example/\n1");
    }
};

QTEST_GUILESS_MAIN(TestChannels)
#include "test_channels.moc"
