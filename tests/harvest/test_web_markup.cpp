// What a hostile page puts into the rows and pages the program writes:
// markup and quotes in its text and addresses stay text, and addresses that
// are not web addresses never become links or pictures. Ordinary text keeps
// its bytes (the expected report files check those).

#include "buffers/Catalogs.h"
#include "buffers/Mp3Buffer.h"
#include "buffers/PictureBuffer.h"
#include "harvest/Crawler.h"
#include "harvest/LinkRow.h"
#include "harvest/SummaryRows.h"

#include <QtTest>

class TestWebMarkup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void hostileTextStaysText_data();
    void hostileTextStaysText();
    void linkTextReadsBack();
};

void TestWebMarkup::hostileTextStaysText_data() {
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("expected");
    const QString quoted = QStringLiteral("http://pics.test/a'onerror='alert(1)'.jpg");
    QTest::newRow("title with a script")
        << SummaryRows::titleRow("http://a.test/p2", "P2 <script>x</script>")
        << "<tr><td width='100%' bgcolor='#FFFF00'><strong><font face='Arial'>"
           "<a href='http://a.test/p2'>P2 &lt;script&gt;x&lt;/script&gt;</a>"
           "</font></strong></td></tr>";
    QTest::newRow("paragraph showing a tag")
        << SummaryRows::paragraphRow("<i> & \"quotes\"")
        << "<tr><td><p>&lt;i&gt; &amp; &quot;quotes&quot;</p></td></tr>";
    QTest::newRow("description")
        << SummaryRows::descriptionRow("a</font><img src=x>")
        << "<tr><td width='100%' bgcolor='#00FFFF'><small><font face='Arial'>DESCRIPTION: "
           "a&lt;/font&gt;&lt;img src=x&gt;</font></small></td></tr>";
    QTest::newRow("keywords")
        << SummaryRows::keywordsRow("<b>")
        << "<tr><td width='100%' bgcolor='#00FFFF'><small><font face='Arial'>KYEWORDS: "
           "&lt;b&gt;</font></small></td></tr>";
    QTest::newRow("e-mail with a quote in its address")
        << SummaryRows::emailRow("mailto:a'b@c.test", "<a@c.test>")
        << "<tr><td width='100%' bgcolor='#00FFFF'><font face='Arial'><small>"
           "<a href='mailto:a&#39;b@c.test'>&lt;a@c.test&gt;</small></font></td></tr>";
    QTest::newRow("pictures: quoted, local, data")
        << SummaryRows::imageRow({quoted, "file:///etc/hostname", "data:image/gif;base64,R0"})
        << "<tr><td width=100%> <img src='http://pics.test/a&#39;onerror=&#39;alert(1)&#39;.jpg'>"
           "file:///etc/hostname"
           "data:image/gif;base64,R0</td></tr>";
    QTest::newRow("script link") << LinkRow::make("javascript:alert(document.cookie)",
                                                  "Win <b>now</b>")
                                 << "<a>Win &lt;b&gt;now&lt;/b&gt;</a><br>";
    QTest::newRow("ftp link with a query")
        << LinkRow::make("ftp://f.test/a?x=1&y='2'", "F")
        << "<a href='ftp://f.test/a?x=1&amp;y=&#39;2&#39;'>F</a><br>";
    QTest::newRow("crawl match")
        << Crawler::matchRow("http://m.test/?q=<x>")
        << "<font face='Arial'><small><a href='http://m.test/?q=&lt;x&gt;'>"
           "http://m.test/?q=&lt;x&gt;</a></small></font><br>";
    QTest::newRow("MP3 link in a data address")
        << Mp3Buffer::line("data:text/html,<script>x</script>.ram")
        << "<a>data:text/html,&lt;script&gt;x&lt;/script&gt;.ram</a><br>";
    QTest::newRow("picture buffer") << PictureBuffer::imageTags({quoted, "javascript:x.jpg"})
                                    << "<img src='http://pics.test/a&#39;onerror=&#39;alert(1)&#39;"
                                       ".jpg'>javascript:x.jpg";
    Catalogs catalogs;
    catalogs.addPicture(0, quoted);
    catalogs.addPicture(0, "https://pics.test/b.gif");
    QTest::newRow("catalog") << catalogs.at(0)
                             << "<img src='http://pics.test/a&#39;onerror=&#39;alert(1)&#39;.jpg'>"
                                "<img src='https://pics.test/b.gif'>";
}

void TestWebMarkup::hostileTextStaysText() {
    QFETCH(QString, written);
    QFETCH(QString, expected);
    QCOMPARE(written, expected);
}

// Stepping through the report shows a row's link text as the page had it.
void TestWebMarkup::linkTextReadsBack() {
    QCOMPARE(LinkRow::linkText(LinkRow::make("http://a.test/", "Fish &amp; <chips>")),
             QStringLiteral("Fish &amp; <chips>"));
    QCOMPARE(LinkRow::linkText(LinkRow::make("javascript:x", "It's")), QStringLiteral("It's"));
}

QTEST_MAIN(TestWebMarkup)
#include "test_web_markup.moc"
