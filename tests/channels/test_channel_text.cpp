// The channel server's file formats read from text, and the featured-pages
// rotation.

#include "channels/ChannelText.h"
#include "channels/FeaturedPages.h"

#include <QtTest>

using Records = QList<LinkRecord>;

class TestChannelText : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void linkRecords_data();
    void linkRecords();
    void listsTableAndLocations();
    void featuredRotation();
};

void TestChannelText::linkRecords_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<Records>("records");
    const Records one = {{"One", "http://one.example/"}};
    const Records two = one + Records{{"Two", "two.htm"}};
    QTest::newRow("CR LF") << "One<http://one.example/>\r\nTwo<two.htm>\r\n" << two;
    QTest::newRow("a missing > ends the list")
        << "One<http://one.example/>\r\nTwo<two.htm\r\nThree<three.htm>\r\n"
        << one;
    QTest::newRow("no record in the last four characters")
        << "One<http://one.example/>\r\nT<a>" << one;
    QTest::newRow("a record just before them") << "One<http://one.example/>\r\nTw<a>\r\n"
                                               << one + Records{{"Tw", "a"}};
}

void TestChannelText::linkRecords() {
    QFETCH(QString, text);
    QFETCH(Records, records);
    QCOMPARE(ChannelText::linkRecords(text), records);
}

void TestChannelText::listsTableAndLocations() {
    const QString text = "Computers\r\n Vantor<http://v.example/>\r\nPebble<p.htm>\r\n";
    // A search-toolbar file starts its records right after the first line;
    // a menu file skips one character more.
    QCOMPARE(ChannelText::headedList(text, false),
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
    QCOMPARE(QStringList({rows[0].password, rows[0].searchListUrl, rows[0].channelListUrl,
                          rows[0].startPageUrl}),
             QStringList({"pw1", "http://s.example/s.txt", "c.txt", "p.htm"}));
    QCOMPARE(rows[1].startPageUrl, "p2.htm");

    using Pair = std::pair<QString, QString>;
    QCOMPARE(ChannelText::locations("http://a.example/v/\nhttp://b.example/v/"),
             Pair("http://a.example/v/", "http://b.example/v/"));
    QVERIFY(!ChannelText::locations("http://a.example/v/\r\n\r\n"));
    QVERIFY(ChannelText::isErrorPage("x<TiTlE>404"));
    QVERIFY(!ChannelText::isErrorPage("Title<title.htm>\r\n"));
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
    featured.restart();
    QVERIFY(seen.isEmpty());
    featured.append({"a"});
    QCOMPARE(featured.step(), "a");
}

QTEST_GUILESS_MAIN(TestChannelText)
#include "test_channel_text.moc"
