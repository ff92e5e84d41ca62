#include "harvest/FullReport.h"
#include "harvest/HarvestState.h"
#include "harvest/ReportFile.h"
#include "harvest/ReportListing.h"
#include "harvest/ReportPages.h"
#include "harvest/ReportStepper.h"
#include "support/ExpectedFile.h"
#include "support/ScriptedPrompts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kTitleRow =
    QStringLiteral("<tr><td width='100%' bgcolor='#FFFF00'><strong><font face='Arial'>"
                   "<a href='http://shop.example/a.htm'>Shop A</a></font></strong></td></tr>");
const QString kMailRow =
    QStringLiteral("<tr><td width='100%' bgcolor='#00FFFF'><font face='Arial'><small>"
                   "<a href='mailto:owner@shop.example'>Write us</small></font></td></tr>");

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
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

class TestReports : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void reportPagesWriteFrameAndEachRow();
    void saveReportWritesFourLines_data();
    void saveReportWritesFourLines();
    void saveReportCancelOrFailureWritesNothing();
    void steppingAtBothEnds();
    void steppingButtonsGuardTheirLists();
    void reportListingEditor();
    void createFullReport();
};

void TestReports::reportPagesWriteFrameAndEachRow() {
    HarvestState state;
    state.reportBuffer = {kTitleRow, kMailRow};
    QCOMPARE(ReportPages::viewReportWrites(state), expectedWrites("view_report.txt"));
    QCOMPARE(ReportPages::fullReportWrites(state), expectedWrites("full_report.txt"));
    // An empty buffer still gives the page frame.
    QCOMPARE(ReportPages::viewReportWrites(HarvestState{}).size(), 2);
}

void TestReports::saveReportWritesFourLines_data() {
    QTest::addColumn<bool>("privateZone");
    QTest::addColumn<bool>("empty");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("expected");
    const QString htmlFilter =
        "HTML file (*.htm;*.html)|*.htm;*.html|Text File (*.txt;*.rtf)|*.txt;*.rtf";
    QTest::newRow("three rows") << false << false << htmlFilter << "save_report.htm";
    QTest::newRow("private zone") << true << false << "Private collection file (*.prv)|*.prv"
                                  << "save_report.htm";
    QTest::newRow("empty buffer") << false << true << htmlFilter << "save_report_empty.htm";
}

void TestReports::saveReportWritesFourLines() {
    QFETCH(bool, privateZone);
    QFETCH(bool, empty);
    QFETCH(QString, filter);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath("report.htm");
    // A longer file already there is replaced, not overwritten in part.
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(4000, 'x'));
    old.close();

    const HarvestState state = empty ? HarvestState{} : threeLinks();
    ScriptedPrompts prompts;
    prompts.expect(ScriptedPrompts::Kind::SaveFile, filter, path);
    const auto outcome = ReportFile::save(state, privateZone, prompts, dir.path());
    QVERIFY(prompts.done());
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
    prompts.expect(ScriptedPrompts::Kind::SaveFile, {}, {}, true);
    const auto cancelled = ReportFile::save(threeLinks(), false, prompts, dir.path());
    QVERIFY(!cancelled.written);
    QVERIFY(cancelled.path.isEmpty());
    QVERIFY(QDir(dir.path()).isEmpty());

    const QString unreachable = dir.filePath("no/such/folder/report.htm");
    prompts.expect(ScriptedPrompts::Kind::SaveFile, {}, unreachable);
    const auto failed = ReportFile::save(threeLinks(), false, prompts, dir.path());
    QVERIFY(!failed.written);
    QVERIFY(!failed.error.isEmpty());
    QVERIFY(!QFile::exists(unreachable));
}

void TestReports::steppingAtBothEnds() {
    const HarvestState state = threeLinks();
    ReportStepper stepper;
    struct Press {
        bool next;
        QString url;
        QString status;
    };
    const QList<Press> presses = {
        // The first Next after a reset skips entry 0.
        {true, "http://b.example/x", "--> Beta page"},
        {true, "http://c.example/", "--> http://c.example/"},
        {true, "http://c.example/", "Page # End"},
        {true, "http://c.example/", "Page # End"},
        {false, "http://b.example/x", "Beta page <-- "},
        {false, "http://a.example/", "Alpha <-- "},
        {false, "http://a.example/", "Page # Start"},
        {false, "http://a.example/", "Page # Start"},
    };
    for (const Press& press : presses) {
        const auto step = press.next ? stepper.next(state) : stepper.previous(state);
        QVERIFY(step.acted);
        QCOMPARE(step.url, press.url);
        QCOMPARE(step.status, press.status);
    }
}

void TestReports::steppingButtonsGuardTheirLists() {
    HarvestState state = threeLinks();
    ReportStepper stepper;
    stepper.next(state);
    stepper.next(state);
    QCOMPARE(stepper.index(), 2);

    // Button 23 empties the found-URL list: Previous has nothing to show,
    // and neither has Next, though links remain to be crawled.
    QCOMPARE(stepper.clearFoundUrls(state), "List is clear");
    QVERIFY(state.foundUrls.isEmpty());
    QCOMPARE(stepper.index(), 0);
    QVERIFY(!stepper.previous(state).acted);
    QVERIFY(!stepper.next(state).acted);

    // Next waits for the link list, not the found-URL list.
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
    QCOMPARE(atEnd.url, "http://b.example/x");
    QCOMPARE(atEnd.status, "Page # End");
    state.foundUrls.resize(1);
    QCOMPARE(stepper.previous(state).status, "Page # Start");
}

void TestReports::reportListingEditor() {
    HarvestState state = threeLinks();
    ReportListing listing;
    QVERIFY(!listing.removeRow(state, -1));
    QVERIFY(!listing.removeRow(state, 3));
    QVERIFY(listing.removeRow(state, 1));
    QCOMPARE(state.reportBuffer,
             (QStringList{threeLinks().reportBuffer[0], threeLinks().reportBuffer[2]}));
    listing.show();
    QCOMPARE(listing.clearAllLinks(state), "Buffer is clear");
    QVERIFY(state.reportBuffer.isEmpty());
    QVERIFY(!listing.isVisible());
    // Only the report buffer goes: the crawl and the stepping keep their lists.
    QCOMPARE(state.linkList.size(), 3);
    QCOMPARE(state.foundUrls.size(), 3);
}

void TestReports::createFullReport() {
    // An empty link list: the picture question comes first, then the refusal.
    HarvestState state;
    state.reportBuffer = {kTitleRow};
    ScriptedPrompts prompts;
    prompts.expect(ScriptedPrompts::Kind::YesNo, "Would You like collect images ?", "no");
    prompts.expectMessage("Get links ,Please");
    auto start = FullReport::start(state, prompts);
    QVERIFY(prompts.done());
    QCOMPARE(prompts.shown(),
             (QStringList{"Would You like collect images ?", "Get links ,Please"}));
    QVERIFY(!start.readPages);
    QVERIFY(start.hideLinkList);
    QCOMPARE(state.reportBuffer, QStringList{kTitleRow});

    // Only web pages join the queue.
    state = threeLinks();
    state.linkList << "javascript:alert(1)"
                   << "file:///etc/hostname";
    state.pageQueue = {"http://queued.example/"};
    prompts.expect(ScriptedPrompts::Kind::YesNo, {}, "yes");
    start = FullReport::start(state, prompts);
    QVERIFY(prompts.done());
    QVERIFY(start.collectImages);
    QVERIFY(start.readPages);
    QCOMPARE(state.pageQueue, QStringList{"http://queued.example/"} + threeLinks().linkList);
    QCOMPARE(start.refused, QStringList({"javascript:alert(1)", "file:///etc/hostname"}));
    QVERIFY(state.linkList.isEmpty());
    QVERIFY(state.reportBuffer.isEmpty());
}

QTEST_GUILESS_MAIN(TestReports)
#include "test_reports.moc"
