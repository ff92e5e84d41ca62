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
    state.reportBuffer = {QStringLiteral("<a href='http://a.example/'>Alpha</a><br>"),
                          QStringLiteral("<a href='http://b.example/x'>Beta page</a><br>"),
                          QStringLiteral("<a href='http://c.example/'>http://c.example/</a><br>")};
    state.foundUrls = {QStringLiteral("http://a.example/"), QStringLiteral("http://b.example/x"),
                       QStringLiteral("http://c.example/")};
    state.linkList = state.foundUrls;
    return state;
}

QStringList expectedWrites(const QString& name) {
    return QString::fromUtf8(expectedFile(QStringLiteral("harvest/expected/") + name, false))
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

class TestReports : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void viewReportWritesFrameAndEachRow();
    void fullReportWritesFrameAndEachRow();
    void saveReportWritesFourLines_data();
    void saveReportWritesFourLines();
    void saveReportCancelOrFailureWritesNothing();
    void steppingAtBothEnds();
    void steppingButtonsGuardTheirLists();
    void reportListingEditor();
    void createFullReport();
};

void TestReports::viewReportWritesFrameAndEachRow() {
    HarvestState state;
    state.reportBuffer = {kTitleRow, kMailRow};
    const QStringList writes = ReportPages::viewReportWrites(state);
    QCOMPARE(writes.size(), 4);
    QCOMPARE(writes, expectedWrites(QStringLiteral("view_report.txt")));

    // An empty buffer still gives the page frame.
    QCOMPARE(ReportPages::viewReportWrites(HarvestState{}).size(), 2);
}

void TestReports::fullReportWritesFrameAndEachRow() {
    HarvestState state;
    state.reportBuffer = {kTitleRow, kMailRow};
    QCOMPARE(ReportPages::fullReportWrites(state),
             expectedWrites(QStringLiteral("full_report.txt")));
}

void TestReports::saveReportWritesFourLines_data() {
    QTest::addColumn<bool>("privateZone");
    QTest::addColumn<bool>("empty");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("expected");
    const QString htmlFilter =
        QStringLiteral("HTML file (*.htm;*.html)|*.htm;*.html|Text File (*.txt;*.rtf)|*.txt;*.rtf");
    QTest::newRow("three rows") << false << false << htmlFilter
                                << QStringLiteral("save_report.htm");
    QTest::newRow("private zone") << true << false
                                  << QStringLiteral("Private collection file (*.prv)|*.prv")
                                  << QStringLiteral("save_report.htm");
    QTest::newRow("empty buffer") << false << true << htmlFilter
                                  << QStringLiteral("save_report_empty.htm");
}

void TestReports::saveReportWritesFourLines() {
    QFETCH(bool, privateZone);
    QFETCH(bool, empty);
    QFETCH(QString, filter);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.htm"));
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
    const QByteArray want = expectedFile(QStringLiteral("harvest/expected/") + expected);
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

    const QString unreachable = dir.filePath(QStringLiteral("no/such/folder/report.htm"));
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
        {true, QStringLiteral("http://b.example/x"), QStringLiteral("--> Beta page")},
        {true, QStringLiteral("http://c.example/"), QStringLiteral("--> http://c.example/")},
        {true, QStringLiteral("http://c.example/"), QStringLiteral("Page # End")},
        {true, QStringLiteral("http://c.example/"), QStringLiteral("Page # End")},
        {false, QStringLiteral("http://b.example/x"), QStringLiteral("Beta page <-- ")},
        {false, QStringLiteral("http://a.example/"), QStringLiteral("Alpha <-- ")},
        {false, QStringLiteral("http://a.example/"), QStringLiteral("Page # Start")},
        {false, QStringLiteral("http://a.example/"), QStringLiteral("Page # Start")},
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
    QCOMPARE(stepper.clearFoundUrls(state), QStringLiteral("List is clear"));
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
    QCOMPARE(atEnd.url, QStringLiteral("http://b.example/x"));
    QCOMPARE(atEnd.status, QStringLiteral("Page # End"));
    state.foundUrls.resize(1);
    QCOMPARE(stepper.previous(state).status, QStringLiteral("Page # Start"));
}

void TestReports::reportListingEditor() {
    HarvestState state = threeLinks();
    ReportListing listing;
    QVERIFY(!listing.isVisible());
    listing.show();
    QVERIFY(listing.isVisible());

    QVERIFY(!listing.removeRow(state, -1));
    QVERIFY(!listing.removeRow(state, 3));
    QVERIFY(listing.removeRow(state, 1));
    QCOMPARE(state.reportBuffer,
             (QStringList{threeLinks().reportBuffer[0], threeLinks().reportBuffer[2]}));
    listing.close();
    QVERIFY(!listing.isVisible());

    listing.show();
    QCOMPARE(listing.clearAllLinks(state), QStringLiteral("Buffer is clear"));
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
    prompts.expect(ScriptedPrompts::Kind::YesNo, QStringLiteral("Would You like collect images ?"),
                   QStringLiteral("no"));
    prompts.expectMessage(QStringLiteral("Get links ,Please"));
    auto start = FullReport::start(state, prompts);
    QVERIFY(prompts.done());
    QCOMPARE(prompts.shown(), (QStringList{QStringLiteral("Would You like collect images ?"),
                                           QStringLiteral("Get links ,Please")}));
    QVERIFY(!start.readPages);
    QVERIFY(start.hideLinkList);
    QCOMPARE(state.reportBuffer, QStringList{kTitleRow});

    state = threeLinks();
    state.pageQueue = {QStringLiteral("http://queued.example/")};
    prompts.expect(ScriptedPrompts::Kind::YesNo, {}, QStringLiteral("yes"));
    start = FullReport::start(state, prompts);
    QVERIFY(prompts.done());
    QVERIFY(start.collectImages);
    QVERIFY(start.readPages);
    QCOMPARE(state.pageQueue,
             QStringList{QStringLiteral("http://queued.example/")} + threeLinks().linkList);
    QVERIFY(state.linkList.isEmpty());
    QVERIFY(state.reportBuffer.isEmpty());
}

QTEST_GUILESS_MAIN(TestReports)
#include "test_reports.moc"
