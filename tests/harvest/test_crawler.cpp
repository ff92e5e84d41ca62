#include "harvest/Crawler.h"
#include "harvest/HarvestState.h"
#include "harvest/LinkWalker.h"
#include "harvest/PageReader.h"
#include "harvest/RobotsRules.h"
#include "harvest/SiteGate.h"
#include "support/HttpFixture.h"
#include "support/ScriptedPrompts.h"
#include "web/DocumentSnapshot.h"

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

QString liveRow(const QString& url) {
    return "<font face='Arial'><small><a href='" + url + "'>" + url + "</a></small></font><br>";
}

QStringList sorted(QStringList list) {
    list.sort();
    return list;
}

using Delivery = HttpFixture::Delivery;

// Port 1 has no server, and lies below the ports the system hands out, so
// a connection to it cannot end up connected to itself.
const QString kRefusedUrl = "http://127.0.0.1:1/gone.htm";

// A crawler over a web server of scripted pages, recording what the window
// would show.
struct Crawl {
    QTemporaryDir folder;
    HttpFixture server{folder.path()};
    HarvestState state;
    ScriptedPrompts prompts;
    QStringList keywords;
    Crawler crawler{state, prompts, [this] { return keywords; }};
    QList<Status> statuses;
    QStringList liveRows;
    QSignalSpy finished{&crawler, &Crawler::finished};
    QSignalSpy reportWanted{&crawler, &Crawler::fullReportRequested};
    QSignalSpy readerSteps{&crawler, &Crawler::pageReaderStepWanted};
    QSignalSpy skipped{&crawler, &Crawler::pageSkipped};
    QSignalSpy failed{&crawler, &Crawler::pageFailed};

    Crawl() {
        QVERIFY(server.start());
        QObject::connect(
            &crawler, &Crawler::statusChanged, &crawler,
            [this](int panel, const QString& text) { statuses << Status(panel, text); });
        QObject::connect(&crawler, &Crawler::matchFound, &crawler,
                         [this](const QString& row) { liveRows << row; });
    }

    QString page(const QString& path, const QByteArray& body, Delivery delivery = Delivery::Send,
                 int status = 200) {
        server.setResponse(path, {status, "OK", "text/html", body, delivery});
        return server.url(path).toString();
    }
};

QStringList spied(const QSignalSpy& spy) {
    QStringList urls;
    for (const QList<QVariant>& call : spy)
        urls << call.first().toString();
    return urls;
}

} // namespace

class TestCrawler : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void robotsRulesChooseAgentAndLongestMatch_data() {
        QTest::addColumn<QString>("robots");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("allowed");
        QTest::addColumn<int>("delayMs");
        const QString grouped = "User-agent: *\nDisallow: /\n\n# ours\nUser-agent: other\n"
                                "USER-AGENT: QuillMart\nDisallow: /a # comment\nAllow: /a/b\n"
                                "Crawl-delay: 2.5\n";
        QTest::newRow("named group, shorter rule") << grouped << "/a/c" << false << 2500;
        QTest::newRow("longer Allow wins") << grouped << "/a/b/c" << true << 2500;
        QTest::newRow("star group not ours") << grouped << "/z" << true << 2500;
        QTest::newRow("robots.txt itself") << "User-agent: *\nDisallow: /"
                                           << "/robots.txt" << true << 0;
        QTest::newRow("star group") << "User-agent: *\nDisallow: /"
                                    << "/z" << false << 0;
        QTest::newRow("Allow wins a tie") << "User-agent: *\nDisallow: /x\nAllow: /x"
                                          << "/x" << true << 0;
        QTest::newRow("wildcard and end") << "User-agent: *\r\nDisallow: /*.pdf$\r\n"
                                          << "/d/e.pdf" << false << 0;
        QTest::newRow("end anchors") << "User-agent: *\nDisallow: /*.pdf$"
                                     << "/e.pdf?x" << true << 0;
        QTest::newRow("empty Disallow") << "User-agent: *\nDisallow:\nCrawl-delay: x"
                                        << "/a" << true << 0;
        QTest::newRow("query counts") << "User-agent: *\nDisallow: /s?q="
                                      << "/s?q=1" << false << 0;
    }
    void robotsRulesChooseAgentAndLongestMatch() {
        QFETCH(QString, robots);
        QFETCH(QString, path);
        const RobotsRules rules =
            RobotsRules::parse(robots, RobotsRules::productToken("Quillmart/6.0 (harvest)"));
        QTEST(rules.allows(path), "allowed");
        QTEST(rules.crawlDelayMs(), "delayMs");
    }

    // Each site's robots.txt is read once, before its first page, with the
    // program's User-Agent; a page it disallows is never requested, and a
    // link that is no web address is never requested either. A Crawl-delay
    // holds the site's next request back. The link walker asks the same gate.
    void respectsRobotsTxt() {
        Crawl crawl;
        QTemporaryDir otherFolder;
        HttpFixture other(otherFolder.path());
        QVERIFY(other.start());
        crawl.crawler.gate().setRespectRobots(true);
        crawl.page("robots.txt", "User-agent: *\nDisallow: /\n\nUser-agent: Quillmart\n"
                                 "Disallow: /private/\nAllow: /private/open.htm\n");
        other.setResponse("robots.txt",
                          {200, "OK", "text/plain", "User-agent: *\nCrawl-delay: 3600"});
        other.setResponse("page.htm", {200, "OK", "text/html", "needle"});
        const QString otherPage = other.url("page.htm").toString();
        const QString open = crawl.page("private/open.htm", "needle");
        const QString secret = crawl.page("private/secret.htm", "needle");
        const QString open2 = crawl.page("public.htm", "needle");
        crawl.state.linkList = QStringList{secret,    open,  "javascript:alert(1)",
                                           otherPage, open2, "mailto:a@b.example"};
        crawl.keywords = QStringList{"needle"};
        crawl.prompts.expect(Kind::YesNo, finalPrompt(3), "no");

        QVERIFY(crawl.crawler.findKeywords());
        // Refused at once, without a request.
        QCOMPARE(spied(crawl.failed), QStringList({"javascript:alert(1)", "mailto:a@b.example"}));
        QTRY_COMPARE_WITH_TIMEOUT(crawl.finished.count(), 1, kWaitMs);
        QCOMPARE(sorted(crawl.state.foundPages), sorted({open, otherPage, open2}));
        QCOMPARE(spied(crawl.skipped), QStringList{secret});
        QVERIFY(crawl.statuses.contains(
            Status(1, "Left out by robots.txt: 1 pages, the last " + secret)));
        QCOMPARE(crawl.server.requested().first(), "/robots.txt");
        QCOMPARE(sorted(crawl.server.requested()),
                 QStringList({"/private/open.htm", "/public.htm", "/robots.txt"}));
        QCOMPARE(other.requested(), QStringList({"/robots.txt", "/page.htm"}));
        const QString agent = QStringLiteral("Quillmart/" QUILLMART_VERSION);
        QCOMPARE(crawl.server.userAgents() + other.userAgents(), QStringList(5, agent));
        SiteGate& gate = crawl.crawler.gate();
        QCOMPARE(gate.verdict(other.url("next.htm").toString()), SiteGate::Verdict::Wait);
        QCOMPARE(gate.verdict(crawl.server.url("next.htm").toString()), SiteGate::Verdict::Go);
        crawl.state.linkList = QStringList{secret, open};
        LinkWalker walker(crawl.state, &gate);
        QSet<QString> walked;
        QCOMPARE(walker.nextUrl(walked), open);
        QCOMPARE(walker.skipped(), QStringList{secret});
    }

    // A site that does not answer holds two downloaders, never more; the
    // other site's pages, behind its in the list, take the free ones. Neither
    // site has a robots.txt: everything may be read. The User-Agent is the
    // one set.
    void holdsTwoRequestsPerSite() {
        Crawl crawl;
        QTemporaryDir fastFolder;
        HttpFixture fast(fastFolder.path());
        QVERIFY(fast.start());
        crawl.crawler.gate().setRespectRobots(true);
        crawl.crawler.gate().setUserAgent("Tester/2");
        crawl.crawler.setUserAgent("Tester/2");
        QStringList fastPages;
        for (const QString name : {"1", "2", "3", "4"}) {
            crawl.state.linkList << crawl.page("slow" + name + ".htm", {}, Delivery::Hang);
            fast.setResponse(name + ".htm", {200, "OK", "text/html", "needle"});
            fastPages << fast.url(name + ".htm").toString();
        }
        crawl.state.linkList += fastPages;
        crawl.keywords = QStringList{"needle"};

        QVERIFY(crawl.crawler.findKeywords());
        QTRY_COMPARE_WITH_TIMEOUT(sorted(crawl.state.foundPages), fastPages, kWaitMs);
        QCOMPARE(sorted(crawl.server.requested()),
                 QStringList({"/robots.txt", "/slow1.htm", "/slow2.htm"}));
        QCOMPARE(fast.userAgents(), QStringList(5, "Tester/2"));
        crawl.crawler.stop();
    }

    void findsKeywordsInTheFirstChunk() {
        Crawl crawl;
        const QString upper = crawl.page("upper.htm", "<p>A HAYSTACK with a needle</p>");
        const QString far = crawl.page("far.htm", QByteArray(32000, 'x') + "needle haystack");
        const QString plain = crawl.page("plain.htm", "<p>nothing</p>");
        crawl.state.linkList = QStringList{upper, far, plain};
        crawl.prompts.expect(Kind::Message, "You need enter keywords first!!!");
        QVERIFY(!crawl.crawler.findKeywords() && !crawl.crawler.busy());
        crawl.statuses.clear();
        crawl.keywords = QStringList{"needle", "haystack"};
        crawl.prompts.expect(Kind::YesNo, finalPrompt(1), "no");

        QVERIFY(crawl.crawler.findKeywords());
        // Three URLs on the first three downloaders; the fourth stays idle.
        const QList<Status> started{{1, {}},  {2, {}},    {1, upper},
                                    {1, far}, {1, plain}, {2, "Left - 0 pages to read"}};
        QCOMPARE(crawl.statuses, started);
        QVERIFY(crawl.crawler.keywordSearch());

        QTRY_COMPARE_WITH_TIMEOUT(crawl.finished.count(), 1, kWaitMs);
        QCOMPARE(crawl.state.linkList, QStringList{upper});
        // The first downloader writes its match live too.
        QCOMPARE(crawl.liveRows, QStringList{liveRow(upper)});
        QVERIFY(crawl.statuses.contains(Status(2, "Found - 1 pages")));
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
        const QString good1 = crawl.page("good1.htm", "<p>needle</p>");
        const QString good2 = crawl.page("good2.htm", "<p>NEEDLE</p>");
        const QString error = crawl.page("error.htm", "<p>needle</p>", Delivery::Send, 500);
        QFile local(QDir(crawl.folder.path()).filePath("local.htm"));
        QVERIFY(local.open(QIODevice::WriteOnly) && local.write("needle") == 6);
        crawl.state.linkList = QStringList{crawl.page("fail1.htm", {}, Delivery::Fail),
                                           crawl.page("fail2.htm", {}, Delivery::Fail),
                                           good1,
                                           good2,
                                           crawl.page("hang.htm", {}, Delivery::Hang),
                                           QUrl::fromLocalFile(local.fileName()).toString(),
                                           kRefusedUrl,
                                           crawl.page("fail3.htm", {}, Delivery::Fail),
                                           crawl.page("fail4.htm", {}, Delivery::Fail),
                                           error};
        crawl.keywords = QStringList{"needle"};

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
        const QStringList pages{crawl.page("hang.htm", {}, Delivery::Hang),
                                crawl.page("good.htm", "<p>needle</p>")};
        crawl.state.linkList = pages;
        crawl.keywords = QStringList{"needle"};

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
        QCOMPARE(step->url + step->statusPanel1 + step->statusPanel2,
                 "http://a/http://a/Left -1pages to read");
        QVERIFY(!PageReader::timedOut(false) && PageReader::timedOut(true));
        step = reader.step(false);
        QCOMPARE(step->url + step->statusPanel2, "http://b/Left -0pages to read");

        DocumentSnapshot page;
        page.url = "http://b/";
        page.title = "Bee";
        page.bodyTagName = "BODY";
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
