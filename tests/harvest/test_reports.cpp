// Also what a hostile page puts into the rows and pages the program
// writes: markup and quotes in its text and addresses stay text, and
// addresses that are not web addresses never become links.

#include "harvest/FullReport.h"
#include "harvest/HarvestState.h"
#include "harvest/LinkRow.h"
#include "harvest/ReportFile.h"
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
    void saveReport();
    void stepping();
    void fullReport();
};

void TestReports::hostileTextStaysText_data() {
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("expected");
    QTest::newRow("title") << SummaryRows::titleRow("http://a.test/p2", "P2 <script>x</script>")
                           << "<tr><td width='100%' bgcolor='#FFFF00'><strong><font face='Arial'>"
                              "<a href='http://a.test/p2'>P2 &lt;script&gt;x&lt;/script&gt;</a>"
                              "</font></strong></td></tr>";
    QTest::newRow("paragraph") << SummaryRows::paragraphRow("<i> & \"quotes\"")
                               << "<tr><td><p>&lt;i&gt; &amp; &quot;quotes&quot;</p></td></tr>";
    QTest::newRow("description")
        << SummaryRows::descriptionRow("a</font><img src=x>")
        << "<tr><td width='100%' bgcolor='#00FFFF'><small><font face='Arial'>DESCRIPTION: "
           "a&lt;/font&gt;&lt;img src=x&gt;</font></small></td></tr>";
    QTest::newRow("e-mail with a quote in its address")
        << SummaryRows::emailRow("mailto:a'b@c.test", "<a@c.test>")
        << "<tr><td width='100%' bgcolor='#00FFFF'><font face='Arial'><small>"
           "<a href='mailto:a&#39;b@c.test'>&lt;a@c.test&gt;</small></font></td></tr>";
    QTest::newRow("link text of a script link")
        << LinkRow::make("javascript:alert(document.cookie)", "Win <b>now</b>")
        << "<a>Win &lt;b&gt;now&lt;/b&gt;</a><br>";
    QTest::newRow("link address with a query")
        << LinkRow::make("ftp://f.test/a?x=1&y='2'", "F")
        << "<a href='ftp://f.test/a?x=1&amp;y=&#39;2&#39;'>F</a><br>";
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
}

// A longer file already there is replaced, not overwritten in part; a
// cancelled or failed save writes nothing and says so.
void TestReports::saveReport() {
    QTemporaryDir dir;
    const QString path = dir.filePath("report.htm");
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write(QByteArray(4000, 'x')) == 4000);
    old.close();
    const QString filter =
        "HTML file (*.htm;*.html)|*.htm;*.html|Text File (*.txt;*.rtf)|*.txt;*.rtf";
    ScriptedPrompts prompts;
    prompts.expect(Kind::SaveFile, filter, path).expect(Kind::SaveFile, {}, {}, true);
    const auto outcome = ReportFile::save(threeLinks(), false, prompts, dir.path());
    QCOMPARE(prompts.shown(), QStringList{filter});
    QVERIFY2(outcome.written && outcome.path == path, qPrintable(outcome.error));
    const QByteArray bytes = fileBytes(path);
    const QByteArray want = expectedFile("harvest/expected/save_report.htm");
    QVERIFY2(bytes == want, firstDifference(bytes, want).constData());

    QVERIFY(!ReportFile::save(threeLinks(), false, prompts, dir.path()).written);
    const QString unreachable = dir.filePath("no/such/folder/report.htm");
    prompts.expect(Kind::SaveFile, {}, unreachable);
    const auto failed = ReportFile::save(threeLinks(), false, prompts, dir.path());
    QVERIFY(!failed.written && !failed.error.isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList{"report.htm"});
}

// Next and Previous stop at both ends; the first Next after a reset skips
// entry 0. A new harvest with fewer links leaves the index past the end:
// the buttons go on from the new last entry instead of opening nothing.
void TestReports::stepping() {
    HarvestState state = threeLinks();
    ReportStepper stepper;
    QStringList steps;
    for (const bool next : {true, true, true, false, false, false}) {
        const auto step = next ? stepper.next(state) : stepper.previous(state);
        steps << step.url + ' ' + step.status;
    }
    QCOMPARE(
        steps,
        QStringList({"http://b.example/x --> Beta page", "http://c.example/ --> http://c.example/",
                     "http://c.example/ Page # End", "http://b.example/x Beta page <-- ",
                     "http://a.example/ Alpha <-- ", "http://a.example/ Page # Start"}));
    stepper.next(state);
    stepper.next(state);
    state.foundUrls.resize(2);
    const auto atEnd = stepper.next(state);
    QCOMPARE(atEnd.url + ' ' + atEnd.status, "http://b.example/x Page # End");
}

// A full report asks about pictures first, refuses without links, and
// queues only web pages.
void TestReports::fullReport() {
    HarvestState state;
    state.reportBuffer = {"row"};
    ScriptedPrompts prompts;
    prompts.expect(Kind::YesNo, "Would You like collect images ?", "no")
        .expectMessage("Get links ,Please");
    auto start = FullReport::start(state, prompts);
    QVERIFY(prompts.done() && !start.readPages);
    QCOMPARE(state.reportBuffer, QStringList{"row"});
    state = threeLinks();
    state.linkList << "javascript:alert(1)"
                   << "file:///etc/hostname";
    state.pageQueue = {"http://queued.example/"};
    prompts.expect(Kind::YesNo, {}, "yes");
    start = FullReport::start(state, prompts);
    QVERIFY(start.collectImages && start.readPages);
    QCOMPARE(state.pageQueue, QStringList{"http://queued.example/"} + threeLinks().linkList);
    QVERIFY(state.linkList.isEmpty() && state.reportBuffer.isEmpty());
}

QTEST_MAIN(TestReports)
#include "test_reports.moc"
