// Also what a hostile page puts into the rows and pages the program
// writes: markup and quotes in its text and addresses stay text, and
// addresses that are not web addresses never become links or pictures.

#include "buffers/Catalogs.h"
#include "buffers/Mp3Buffer.h"
#include "buffers/PictureBuffer.h"
#include "harvest/Crawler.h"
#include "harvest/FullReport.h"
#include "harvest/HarvestState.h"
#include "harvest/LinkRow.h"
#include "harvest/ReportFile.h"
#include "harvest/ReportListing.h"
#include "harvest/ReportPages.h"
#include "harvest/ReportStepper.h"
#include "harvest/SummaryRows.h"
#include "support/ExpectedFile.h"
#include "support/ScriptedPrompts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using Kind = ScriptedPrompts::Kind;

// Three harvested links, as Get/Add all Links leaves them.
HarvestState threeLinks() {
    HarvestState state;
    state.reportBuffer = {"<a href='http://a.example/'>Alpha</a><br>",
                          "<a href='http://b.example/x'>Beta page</a><br>",
                          "<a href='http://c.example/'>http://c.example/</a><br>"};
    state.foundUrls = {"http://a.example/", "http://b.example/x", "http://c.example/"};
    state.linkList = state.foundUrls;
    return state;
}

QStringList expectedWrites(const QString& name) {
    return QString::fromUtf8(expectedFile("harvest/expected/" + name, false))
        .split('\n', Qt::SkipEmptyParts);
}

} // namespace

class TestReports : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void hostileTextStaysText_data();
    void hostileTextStaysText();
    void reportPages();
    void saveReport_data();
    void saveReport();
    void saveReportCancelOrFailureWritesNothing();
    void stepping();
    void listingAndFullReport();
};

void TestReports::hostileTextStaysText_data() {
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("expected");
    const QString quoted = QStringLiteral("http://pics.test/a'onerror='alert(1)'.jpg");
    const QString quotedTag = "<img src='http://pics.test/a&#39;onerror=&#39;alert(1)&#39;.jpg'>";
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
    QTest::newRow("keywords") << SummaryRows::keywordsRow("<b>")
                              << "<tr><td width='100%' bgcolor='#00FFFF'><small><font "
                                 "face='Arial'>KYEWORDS: &lt;b&gt;</font></small></td></tr>";
    QTest::newRow("e-mail with a quote in its address")
        << SummaryRows::emailRow("mailto:a'b@c.test", "<a@c.test>")
        << "<tr><td width='100%' bgcolor='#00FFFF'><font face='Arial'><small>"
           "<a href='mailto:a&#39;b@c.test'>&lt;a@c.test&gt;</small></font></td></tr>";
    QTest::newRow("pictures: quoted, local, data")
        << SummaryRows::imageRow({quoted, "file:///etc/hostname", "data:image/gif;base64,R0"})
        << "<tr><td width=100%> " + quotedTag +
               "file:///etc/hostnamedata:image/gif;base64,R0</td></tr>";
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
    QTest::newRow("picture buffer")
        << PictureBuffer::imageTags({quoted, "javascript:x.jpg"}) << quotedTag + "javascript:x.jpg";
    Catalogs catalogs;
    catalogs.addPicture(0, quoted);
    catalogs.addPicture(0, "https://pics.test/b.gif");
    QTest::newRow("catalog") << catalogs.at(0) << quotedTag + "<img src='https://pics.test/b.gif'>";
    // Stepping through the report shows a row's link text as the page had it.
    QTest::newRow("link text read back")
        << LinkRow::linkText(LinkRow::make("http://a.test/", "Fish &amp; <chips>"))
        << "Fish &amp; <chips>";
    QTest::newRow("script link text")
        << LinkRow::linkText(LinkRow::make("javascript:x", "It's")) << "It's";
    QTest::newRow("link text, no < after >") << LinkRow::linkText("<b>bold") << "bold";
    QTest::newRow("link text, no >") << LinkRow::linkText("plain <b") << "plain ";
}

void TestReports::hostileTextStaysText() {
    QFETCH(QString, written);
    QFETCH(QString, expected);
    QCOMPARE(written, expected);
}

void TestReports::reportPages() {
    HarvestState state;
    state.reportBuffer = expectedWrites("full_report.txt").mid(2, 2);
    QCOMPARE(ReportPages::viewReportWrites(state), expectedWrites("view_report.txt"));
    QCOMPARE(ReportPages::fullReportWrites(state), expectedWrites("full_report.txt"));
    // An empty buffer still gives the page frame.
    QCOMPARE(ReportPages::viewReportWrites(HarvestState{}).size(), 2);
}

void TestReports::saveReport_data() {
    QTest::addColumn<bool>("privateZone");
    QTest::addColumn<bool>("empty");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("expected");
    const QString html =
        "HTML file (*.htm;*.html)|*.htm;*.html|Text File (*.txt;*.rtf)|*.txt;*.rtf";
    QTest::newRow("three rows") << false << false << html << "save_report.htm";
    QTest::newRow("private zone") << true << false << "Private collection file (*.prv)|*.prv"
                                  << "save_report.htm";
    QTest::newRow("empty buffer") << false << true << html << "save_report_empty.htm";
}

// A longer file already there is replaced, not overwritten in part.
void TestReports::saveReport() {
    QFETCH(bool, privateZone);
    QFETCH(bool, empty);
    QFETCH(QString, filter);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath("report.htm");
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write(QByteArray(4000, 'x')) == 4000);
    old.close();
    ScriptedPrompts prompts;
    prompts.expect(Kind::SaveFile, filter, path);
    const auto outcome =
        ReportFile::save(empty ? HarvestState{} : threeLinks(), privateZone, prompts, dir.path());
    QCOMPARE(prompts.shown(), QStringList{filter});
    QVERIFY2(outcome.written, qPrintable(outcome.error));
    QCOMPARE(outcome.path, path);
    const QByteArray bytes = fileBytes(path);
    const QByteArray want = expectedFile("harvest/expected/" + expected);
    QVERIFY2(bytes == want, firstDifference(bytes, want).constData());
}

void TestReports::saveReportCancelOrFailureWritesNothing() {
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    prompts.expect(Kind::SaveFile, {}, {}, true);
    const auto cancelled = ReportFile::save(threeLinks(), false, prompts, dir.path());
    QVERIFY(!cancelled.written && cancelled.path.isEmpty());
    QVERIFY(QDir(dir.path()).isEmpty());
    const QString unreachable = dir.filePath("no/such/folder/report.htm");
    prompts.expect(Kind::SaveFile, {}, unreachable);
    const auto failed = ReportFile::save(threeLinks(), false, prompts, dir.path());
    QVERIFY(!failed.written && !failed.error.isEmpty());
    QVERIFY(!QFile::exists(unreachable));
}

// Next and Previous stop at both ends; the first Next after a reset skips
// entry 0. Next waits for the link list, Previous for the found URLs.
void TestReports::stepping() {
    HarvestState state = threeLinks();
    ReportStepper stepper;
    QStringList steps;
    for (const bool next : {true, true, true, true, false, false, false, false}) {
        const auto step = next ? stepper.next(state) : stepper.previous(state);
        steps << (step.acted ? step.url + ' ' + step.status : "nothing");
    }
    QCOMPARE(
        steps,
        QStringList({"http://b.example/x --> Beta page", "http://c.example/ --> http://c.example/",
                     "http://c.example/ Page # End", "http://c.example/ Page # End",
                     "http://b.example/x Beta page <-- ", "http://a.example/ Alpha <-- ",
                     "http://a.example/ Page # Start", "http://a.example/ Page # Start"}));
    stepper.next(state);
    stepper.next(state);
    QCOMPARE(stepper.clearFoundUrls(state), "List is clear");
    QCOMPARE(stepper.index(), 0);
    QVERIFY(!stepper.previous(state).acted && !stepper.next(state).acted);
    state = threeLinks();
    state.linkList.clear();
    QVERIFY(!stepper.next(state).acted);
    QVERIFY(stepper.previous(state).acted);
    // A new harvest with fewer links leaves the index past the end: the
    // buttons go on from the new last entry instead of opening nothing.
    state = threeLinks();
    stepper.next(state);
    stepper.next(state);
    state.foundUrls.resize(2);
    const auto atEnd = stepper.next(state);
    QCOMPARE(atEnd.url + ' ' + atEnd.status, "http://b.example/x Page # End");
    state.foundUrls.resize(1);
    QCOMPARE(stepper.previous(state).status, "Page # Start");
}

// Clearing the report buffer leaves the crawl's and the stepping's lists.
// A full report asks about pictures first, refuses without links, and
// queues only web pages.
void TestReports::listingAndFullReport() {
    HarvestState state = threeLinks();
    ReportListing listing;
    QVERIFY(!listing.removeRow(state, -1) && !listing.removeRow(state, 3));
    QVERIFY(listing.removeRow(state, 1));
    QCOMPARE(state.reportBuffer,
             (QStringList{threeLinks().reportBuffer[0], threeLinks().reportBuffer[2]}));
    listing.show();
    QCOMPARE(listing.clearAllLinks(state), "Buffer is clear");
    QVERIFY(state.reportBuffer.isEmpty() && !listing.isVisible());
    QCOMPARE(state.linkList.size() + state.foundUrls.size(), 6);

    state = HarvestState();
    state.reportBuffer = {"row"};
    ScriptedPrompts prompts;
    prompts.expect(Kind::YesNo, "Would You like collect images ?", "no")
        .expectMessage("Get links ,Please");
    auto start = FullReport::start(state, prompts);
    QVERIFY(prompts.done());
    QVERIFY(!start.readPages && start.hideLinkList);
    QCOMPARE(state.reportBuffer, QStringList{"row"});
    state = threeLinks();
    state.linkList << "javascript:alert(1)"
                   << "file:///etc/hostname";
    state.pageQueue = {"http://queued.example/"};
    prompts.expect(Kind::YesNo, {}, "yes");
    start = FullReport::start(state, prompts);
    QVERIFY(start.collectImages && start.readPages);
    QCOMPARE(state.pageQueue, QStringList{"http://queued.example/"} + threeLinks().linkList);
    QCOMPARE(start.refused, QStringList({"javascript:alert(1)", "file:///etc/hostname"}));
    QVERIFY(state.linkList.isEmpty() && state.reportBuffer.isEmpty());
}

QTEST_MAIN(TestReports)
#include "test_reports.moc"
