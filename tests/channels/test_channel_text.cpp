// The channel server's file formats read from text: link records, headed
// lists, line lists, the private table, locations, error pages and the
// featured-pages rotation.

#include "channels/ChannelText.h"
#include "channels/FeaturedPages.h"

#include <QtTest>

using Records = QList<LinkRecord>;
using Row = PrivateZoneRow;

class TestChannelText : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void linkRecords_data();
    void linkRecords();
    void headedLists();
    void lineLists_data();
    void lineLists();
    void privateTable();
    void locationsAndErrorPages();
    void relativeAddresses();
    void featuredRotation();
};

void TestChannelText::linkRecords_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<Records>("records");
    const Records two = {{"One", "http://one.example/"}, {"Two", "two.htm"}};
    QTest::newRow("CR LF") << "One<http://one.example/>\r\nTwo<two.htm>\r\n" << two;
    QTest::newRow("LF") << "One<http://one.example/>\nTwo<two.htm>\n" << two;
    QTest::newRow("no line end after the last")
        << "One<http://one.example/>\r\nTwo<two.htm>" << two;
    QTest::newRow("a missing > ends the list")
        << "One<http://one.example/>\r\nTwo<two.htm\r\nThree<three.htm>\r\n"
        << Records{{"One", "http://one.example/"}};
    QTest::newRow("no record in the last four characters")
        << "One<http://one.example/>\r\nT<a>" << Records{{"One", "http://one.example/"}};
    QTest::newRow("a record just before them")
        << "One<http://one.example/>\r\nTw<a>\r\n"
        << Records{{"One", "http://one.example/"}, {"Tw", "a"}};
    QTest::newRow("blank caption") << "<x.htm>\r\nNext<y.htm>\r\n"
                                   << Records{{"", "x.htm"}, {"Next", "y.htm"}};
    QTest::newRow("empty") << "" << Records{};
}

void TestChannelText::linkRecords() {
    QFETCH(QString, text);
    QFETCH(Records, records);
    QCOMPARE(ChannelText::linkRecords(text), records);
}

void TestChannelText::headedLists() {
    const QString text =
        "Computers\r\n Vantor<http://v.example/?q=>\r\nPebble<http://p.example/>\r\n";
    // A search-toolbar file starts its records right after the first line.
    QCOMPARE(ChannelText::headedList(text, false),
             (HeadedList{"Computers",
                         {{" Vantor", "http://v.example/?q="}, {"Pebble", "http://p.example/"}}}));
    // A menu file skips one character more.
    QCOMPARE(ChannelText::headedList(text, true),
             (HeadedList{"Computers",
                         {{"Vantor", "http://v.example/?q="}, {"Pebble", "http://p.example/"}}}));
    QCOMPARE(ChannelText::headedList("Only a caption", true), (HeadedList{"Only a caption", {}}));
}

void TestChannelText::lineLists_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("skipFirst");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("country list skips its first character")
        << " Alvania\r\nBrenmark\r\n"
        << true << QStringList{"Alvania", "Brenmark"};
    QTest::newRow("featured list does not") << "a.htm\r\nb.htm\r\n"
                                            << false << QStringList{"a.htm", "b.htm"};
    QTest::newRow("a last line without line end is no entry")
        << "a.htm\r\nb.htm" << false << QStringList{"a.htm"};
    QTest::newRow("empty lines are no entries") << "a.htm\r\n\r\nb.htm\n"
                                                << false << QStringList{"a.htm", "b.htm"};
}

void TestChannelText::lineLists() {
    QFETCH(QString, text);
    QFETCH(bool, skipFirst);
    QFETCH(QStringList, entries);
    QCOMPARE(ChannelText::lineList(text, skipFirst), entries);
}

void TestChannelText::privateTable() {
    const QList<Row> rows =
        ChannelText::privateTable("pw1<http://s.example/s.txt><c.txt><http://p.example/>\r\n"
                                  "pw2<s2.txt><c2.txt><p2.htm>\r\n"
                                  "pw3<s3.txt><c3.txt\r\n"
                                  "pw4<s4.txt><c4.txt><p4.htm>\r\n");
    // A record missing its ">" ends the table.
    QCOMPARE(rows.size(), 2);
    const QStringList first = {rows[0].password, rows[0].searchListUrl, rows[0].channelListUrl,
                               rows[0].startPageUrl};
    QCOMPARE(first, QStringList({"pw1", "http://s.example/s.txt", "c.txt", "http://p.example/"}));
    QCOMPARE(rows[1].startPageUrl, "p2.htm");
}

void TestChannelText::locationsAndErrorPages() {
    using Pair = std::pair<QString, QString>;
    QCOMPARE(ChannelText::locations("http://a.example/v/\r\nhttp://b.example/v/\r\n"),
             Pair("http://a.example/v/", "http://b.example/v/"));
    QCOMPARE(ChannelText::locations("http://a.example/v/\nhttp://b.example/v/"),
             Pair("http://a.example/v/", "http://b.example/v/"));
    QVERIFY(!ChannelText::locations("http://a.example/v/"));
    QVERIFY(!ChannelText::locations("http://a.example/v/\r\n\r\n"));

    QVERIFY(ChannelText::isErrorPage("x<TiTlE>404"));
    QVERIFY(!ChannelText::isErrorPage("Title<title.htm>\r\n"));
}

void TestChannelText::relativeAddresses() {
    const QString base = "file:///srv/velgan/list5.txt";
    QCOMPARE(ChannelText::resolved(base, "pages/a.htm"), "file:///srv/velgan/pages/a.htm");
    QCOMPARE(ChannelText::resolved("http://h.example/v/pass.txt", "p/s.txt"),
             "http://h.example/v/p/s.txt");
    QCOMPARE(ChannelText::resolved(base, "http://x.example/a?b=c"), "http://x.example/a?b=c");
}

void TestChannelText::featuredRotation() {
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
    QVERIFY(featured.pending().isEmpty());
    featured.restart();
    QVERIFY(seen.isEmpty());
    featured.append({"a"});
    QCOMPARE(featured.step(), "a");
}

QTEST_GUILESS_MAIN(TestChannelText)
#include "test_channel_text.moc"
