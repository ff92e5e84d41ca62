#include "harvest/DocumentSnapshot.h"
#include "harvest/HarvestState.h"
#include "harvest/PageReader.h"
#include "support/ExpectedFile.h"
#include "support/HttpFixture.h"
#include "support/ScriptedPrompts.h"
#include "web/Crawler.h"
#include "web/LinkWalker.h"
#include "web/SiteGate.h"

#include <QtTest>

namespace {

using Kind = ScriptedPrompts::Kind;
using Status = QPair<int, QString>;

constexpr int kWaitMs = 20000;

QString finalPrompt(int count) {
    return QStringLiteral("Found %1 links with Your Keywords. You may view report by click on "
                          "'View Report' menu item.")
        .arg(count);
}

QStringList sorted(QStringList list) {
    list.sort();
    return list;
}

using Delivery = HttpFixture::Delivery;

// Port 1 has no server, and lies below the ports the system hands out, so
// a connection to it cannot end up connected to itself.
const QString kRefusedUrl = "http://127.0.0.1:1/gone.htm";

// A crawler over two web servers (two sites) of scripted pages, recording
// what the window would show.
struct Crawl {
    QTemporaryDir folder;
    HttpFixture server{folder.path()};
    HttpFixture other{folder.path()};
    HarvestState state;
    ScriptedPrompts prompts;
    QStringList keywords{"needle"};
    Crawler crawler{state, prompts, [this] { return keywords; }};
    QList<Status> statuses;
    QStringList liveRows, skipped, failed; // rows written live, pages left out or failed
    QSignalSpy finished{&crawler, &Crawler::finished};
    QSignalSpy reportWanted{&crawler, &Crawler::fullReportRequested};
    QSignalSpy readerSteps{&crawler, &Crawler::pageReaderStepWanted};

    Crawl() {
        QVERIFY(server.start() && other.start());
        QObject::connect(
            &crawler, &Crawler::statusChanged, &crawler,
            [this](int panel, const QString& text) { statuses << Status(panel, text); });
        const auto into = [](QStringList& list) {
            return [&list](const QString& s) { list << s; };
        };
        QObject::connect(&crawler, &Crawler::matchFound, &crawler, into(liveRows));
        QObject::connect(&crawler, &Crawler::pageSkipped, &crawler, into(skipped));
        QObject::connect(&crawler, &Crawler::pageFailed, &crawler, into(failed));
    }
};

} // namespace

class TestCrawler : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each site's robots.txt is read once, before its first page; a page it
    // disallows is never requested, and a link that is no web address is
    // never requested either. A Crawl-delay holds the site's next request
    // back. The link walker asks the same gate.
    void respectsRobotsTxt() {
        Crawl crawl;
        crawl.crawler.gate().setRespectRobots(true);
        crawl.server.serve("robots.txt", "User-agent: *\nDisallow: /\n\nUser-agent: Quillmart\n"
                                         "Disallow: /private/\nAllow: /private/open.htm\n");
        crawl.other.serve("robots.txt", "User-agent: *\nCrawl-delay: 3600");
        const QString otherPage = crawl.other.serve("page.htm", "needle");
        const QString open = crawl.server.serve("private/open.htm", "needle");
        const QString secret = crawl.server.serve("private/secret.htm", "needle");
        const QString open2 = crawl.server.serve("public.htm", "needle");
        crawl.state.linkList = QStringList{secret,    open,  "javascript:alert(1)",
                                           otherPage, open2, "mailto:a@b.example"};
        crawl.prompts.expect(Kind::YesNo, finalPrompt(3), "no");

        QVERIFY(crawl.crawler.findKeywords());
        // Refused at once, without a request.
        QCOMPARE(crawl.failed, QStringList({"javascript:alert(1)", "mailto:a@b.example"}));
        QTRY_COMPARE_WITH_TIMEOUT(crawl.finished.count(), 1, kWaitMs);
        QCOMPARE(sorted(crawl.state.foundPages), sorted({open, otherPage, open2}));
        QCOMPARE(crawl.skipped, QStringList{secret});
        QCOMPARE(crawl.crawler.gate().skipReason(secret), "is disallowed by its site's robots.txt");
        QVERIFY(crawl.statuses.contains(
            Status(1, "Left out by robots.txt: 1 pages, the last " + secret)));
        QCOMPARE(sorted(crawl.server.requested()),
                 QStringList({"/private/open.htm", "/public.htm", "/robots.txt"}));
        QCOMPARE(crawl.other.requested(), QStringList({"/robots.txt", "/page.htm"}));
        SiteGate& gate = crawl.crawler.gate();
        QCOMPARE(QList({gate.verdict(otherPage), gate.verdict(open2)}),
                 QList({SiteGate::Verdict::Wait, SiteGate::Verdict::Go}));
        crawl.state.linkList = QStringList{secret, open};
        LinkWalker walker(crawl.state, &gate);
        QSet<QString> walked;
        QCOMPARE(walker.nextUrl(walked), open);
        QCOMPARE(walker.skipped(), QStringList{secret});
    }

    // A site's Crawl-delay holds a crawl for a limited time: the pages that
    // would start later are left out, named as robots.txt's are, and the
    // next crawl, a run of its own, reads them.
    void crawlDelayHoldsACrawlForItsTimeOnly() {
        Crawl crawl;
        SiteGate& gate = crawl.crawler.gate();
        gate.setRespectRobots(true);
        gate.setDelayHoldMs(250);
        crawl.server.serve("robots.txt", "User-agent: *\nCrawl-delay: 0.1");
        QStringList pages;
        for (const QString name : {"1", "2", "3", "4", "5"})
            pages << crawl.server.serve(name + ".htm", "needle");
        crawl.state.linkList = pages;
        crawl.prompts.expect(Kind::YesNo, finalPrompt(3), "no");

        QVERIFY(crawl.crawler.findKeywords());
        QTRY_COMPARE_WITH_TIMEOUT(crawl.finished.count(), 1, kWaitMs);
        QCOMPARE(crawl.state.foundPages, pages.mid(0, 3));
        QCOMPARE(crawl.skipped, pages.mid(3));
        QCOMPARE(gate.skipReason(pages.at(3)),
                 "would wait longer than the 0.25 s its site's Crawl-delay may hold a run");
        crawl.state.linkList = pages.mid(3);
        crawl.prompts.expect(Kind::YesNo, finalPrompt(5), "no");
        QVERIFY(crawl.crawler.findKeywords());
        QTRY_COMPARE_WITH_TIMEOUT(crawl.finished.count(), 2, kWaitMs);
        QCOMPARE(crawl.state.foundPages, pages);
    }

    // A site with a Crawl-delay has one request at a time: a second waits
    // while the first runs, long after the delay has passed, and goes once
    // the first has ended.
    void crawlDelayLetsOneRequestRunAtATime() {
        Crawl crawl;
        SiteGate& gate = crawl.crawler.gate();
        gate.setRespectRobots(true);
        crawl.server.serve("robots.txt", "User-agent: *\nCrawl-delay: 0.001");
        const QString first = crawl.server.url("1.htm").toString();
        const QString second = crawl.server.url("2.htm").toString();
        QCOMPARE(gate.verdict(first), SiteGate::Verdict::Wait); // robots.txt is read
        QTRY_COMPARE_WITH_TIMEOUT(gate.verdict(first), SiteGate::Verdict::Go, kWaitMs);
        gate.started(first);
        QTest::qWait(50);
        QCOMPARE(gate.verdict(second), SiteGate::Verdict::Wait);
        gate.ended(first);
        QCOMPARE(gate.verdict(second), SiteGate::Verdict::Go);
    }

    // A site that does not answer holds two downloaders, never more; the
    // other site's pages, behind its in the list, take the free ones. Neither
    // site has a robots.txt: everything may be read. The User-Agent is the
    // one set.
    void holdsTwoRequestsPerSite() {
        Crawl crawl;
        crawl.crawler.gate().setRespectRobots(true);
        crawl.crawler.gate().setUserAgent("Tester/2");
        crawl.crawler.setUserAgent("Tester/2");
        QStringList fastPages;
        for (const QString name : {"1", "2", "3", "4"}) {
            crawl.state.linkList << crawl.server.serve("slow" + name + ".htm", {}, Delivery::Hang);
            fastPages << crawl.other.serve(name + ".htm", "needle");
        }
        crawl.state.linkList += fastPages;

        QVERIFY(crawl.crawler.findKeywords());
        QTRY_COMPARE_WITH_TIMEOUT(sorted(crawl.state.foundPages), fastPages, kWaitMs);
        QCOMPARE(sorted(crawl.server.requested()),
                 QStringList({"/robots.txt", "/slow1.htm", "/slow2.htm"}));
        QCOMPARE(crawl.other.userAgents(), QStringList(5, "Tester/2"));
        crawl.crawler.stop();
    }

    void findsKeywordsInTheFirstChunk() {
        Crawl crawl;
        const QString upper = crawl.server.serve("upper.htm", "<p>A HAYSTACK with a needle</p>");
        // The first 32000 characters are read: a word ending inside them is
        // found, one after them is not.
        const QString near = crawl.server.serve("near.htm", QByteArray(31994, 'x') + "needle");
        const QString far =
            crawl.server.serve("far.htm", QByteArray(32000, 'x') + "needle haystack");
        const QString plain = crawl.server.serve("plain.htm", "<p>nothing</p>");
        crawl.state.linkList = QStringList{upper, near, far, plain};
        crawl.keywords.clear();
        crawl.prompts.expect(Kind::Message, "You need enter keywords first!!!");
        QVERIFY(!crawl.crawler.findKeywords() && !crawl.crawler.busy());
        crawl.statuses.clear();
        crawl.keywords = QStringList{"needle", "haystack"};
        crawl.prompts.expect(Kind::YesNo, finalPrompt(2), "no");

        QVERIFY(crawl.crawler.findKeywords());
        // Four URLs on the four downloaders.
        const QList<Status> started{{1, {}},
                                    {2, {}},
                                    {1, upper},
                                    {1, near},
                                    {1, far},
                                    {1, plain},
                                    {2, "Left - 0 pages to read"}};
        QCOMPARE(crawl.statuses, started);
        QVERIFY(crawl.crawler.keywordSearch());

        QTRY_COMPARE_WITH_TIMEOUT(crawl.finished.count(), 1, kWaitMs);
        QCOMPARE(sorted(crawl.state.linkList), sorted({upper, near}));
        // Each match is written live too.
        QCOMPARE(crawl.liveRows.size(), 2);
        QVERIFY(crawl.liveRows.contains("<font face='Arial'><small><a href='" + upper + "'>" +
                                        upper + "</a></small></font><br>"));
        QVERIFY(crawl.statuses.contains(Status(2, "Found - 2 pages")));
        QVERIFY(crawl.prompts.done() && crawl.reportWanted.isEmpty());
    }

    // The first four requests wait to connect, as on a busy server, while two
    // of them are closed without an answer (the second after the first's
    // retry): each downloader has its own connections, so the two good pages
    // among them are read all the same. A failed request frees its downloader
    // for the next URL at once (the error page comes after more failing
    // requests than there are downloaders), while one hangs with a time-out
    // far longer than the wait; a local file a page links to is never read, needle or not, and an
    // HTTP error page is a response like any other. A shorter time-out ends
    // the hung request, and with it the crawl.
    void brokenPagesLoseAndHoldUpNoOther() {
        Crawl crawl;
        crawl.crawler.setTimeoutMs(600000);
        crawl.server.holdConnections();
        const QString good1 = crawl.server.serve("good1.htm", "<p>needle</p>");
        const QString good2 = crawl.server.serve("good2.htm", "<p>NEEDLE</p>");
        const QString error = crawl.server.serve("error.htm", "<p>needle</p>", Delivery::Send, 500);
        writeBytes(crawl.folder.filePath("local.htm"), "needle");
        QStringList fails;
        for (const QString name : {"fail1", "fail2", "fail3", "fail4"})
            fails << crawl.server.serve(name + ".htm", {}, Delivery::Fail);
        crawl.state.linkList =
            fails.mid(0, 2) +
            QStringList{good1, good2, crawl.server.serve("hang.htm", {}, Delivery::Hang),
                        QUrl::fromLocalFile(crawl.folder.filePath("local.htm")).toString(),
                        kRefusedUrl} +
            fails.mid(2) + QStringList{error};

        QVERIFY(crawl.crawler.findKeywords());
        // One connection waits in the server's queue, three are still trying.
        QTRY_COMPARE_WITH_TIMEOUT(crawl.server.connectionsWaiting(), 4, kWaitMs);
        crawl.server.releaseConnections();
        QTRY_COMPARE_WITH_TIMEOUT(sorted(crawl.state.foundPages), sorted({good1, good2, error}),
                                  kWaitMs);
        // A failed page may still be on its retry when the last good one is in.
        QTRY_COMPARE_WITH_TIMEOUT(crawl.readerSteps.count(), 5, kWaitMs);
        QVERIFY(crawl.state.linkList.isEmpty() && crawl.crawler.busy() && crawl.finished.isEmpty());
        crawl.prompts.expect(Kind::YesNo, finalPrompt(3), "yes");
        crawl.crawler.setTimeoutMs(1);
        QTRY_COMPARE_WITH_TIMEOUT(crawl.finished.count(), 1, kWaitMs);
        QVERIFY(crawl.reportWanted.count() == 1 && !crawl.crawler.busy());
        // The hung request was cancelled, closing its connection.
        QTRY_COMPARE_WITH_TIMEOUT(crawl.server.unansweredRequests(), 0, kWaitMs);
    }

    void stopEndsTheCrawlAndKeepsTheUnreadPages() {
        Crawl crawl;
        crawl.crawler.setTimeoutMs(300);
        const QStringList pages{crawl.server.serve("hang.htm", {}, Delivery::Hang),
                                crawl.server.serve("good.htm", "<p>needle</p>")};
        crawl.state.linkList = pages;

        QVERIFY(crawl.crawler.findKeywords());
        crawl.crawler.stop();
        QVERIFY(!crawl.crawler.busy());
        QCOMPARE(crawl.state.linkList, pages);
        // Well past the time-outs: nothing goes on, and no prompt comes.
        QTest::qWait(1000);
        QVERIFY(crawl.finished.isEmpty() && crawl.state.foundPages.isEmpty());
    }

    // A time-out skips only the page that timed out: outside a keyword search
    // the reader rests, and the next step ("Read next") reads the next page.
    void pageReaderWorksThroughTheQueue() {
        HarvestState state;
        state.pageQueue = QStringList{"http://a/", "http://b/"};
        PageReader reader(state);
        QVERIFY(!reader.step(true));
        auto step = reader.step(false);
        QCOMPARE(step->url, "http://a/");
        QCOMPARE(step->statusPanel1, "http://a/");
        QCOMPARE(step->statusPanel2, "Left -1pages to read");
        QVERIFY(!PageReader::timedOut(false) && PageReader::timedOut(true));
        step = reader.step(false);
        QCOMPARE(step->url, "http://b/");
        QCOMPARE(step->statusPanel2, "Left -0pages to read");

        DocumentSnapshot page{"http://b/", "Bee", {}, "BODY", {}, {}, {}, {}, {}};
        auto loaded = reader.pageLoaded(&page, {}, false, true);
        QCOMPARE(loaded.next, PageReader::Next::Rest);
        QCOMPARE(state.reportBuffer, loaded.summaryRows);
        loaded = reader.pageLoaded(nullptr, {}, false, false);
        QCOMPARE(loaded.next, PageReader::Next::WriteReport);
        QVERIFY(loaded.reportWrites.join(QString()).contains(state.reportBuffer.first()));
        state.pageQueue = QStringList{"http://e/", "http://f/"};
        QCOMPARE(reader.pageLoaded(nullptr, {}, false, false).next, PageReader::Next::ReadNext);
    }
};

QTEST_GUILESS_MAIN(TestCrawler)
#include "test_crawler.moc"
