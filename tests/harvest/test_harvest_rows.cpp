// The rows, reports and link lists a harvest writes. Also what a hostile
// page puts into them: markup and quotes in its text and addresses stay
// text, and addresses that are not web addresses never become links.

#include "harvest/ContactFinder.h"
#include "harvest/DocumentSnapshot.h"
#include "harvest/FullReport.h"
#include "harvest/HarvestState.h"
#include "harvest/LinkFilter.h"
#include "harvest/LinkHarvester.h"
#include "harvest/LinkListEditor.h"
#include "harvest/LinkRow.h"
#include "harvest/PageSummary.h"
#include "harvest/ReportFile.h"
#include "harvest/ReportPages.h"
#include "harvest/ReportStepper.h"
#include "harvest/RowIndex.h"
#include "harvest/SummaryRows.h"
#include "support/ExpectedFile.h"
#include "support/ScriptedPrompts.h"
#include "web/LinkWalker.h"

#include <QtTest>

namespace {

const QString kShop = QStringLiteral("http://shop.quill.test/");

DocumentSnapshot page(const QString& url, const QString& title = {},
                      const QList<DocumentSnapshot::Link>& links = {},
                      const QList<DocumentSnapshot>& frames = {}, const char* tag = "BODY") {
    return {url, title, {}, tag, links, {}, {}, {}, frames};
}

// A page of links only.
DocumentSnapshot body(const QList<DocumentSnapshot::Link>& links,
                      const QList<DocumentSnapshot>& frames = {}, const char* tag = "BODY") {
    return page({}, {}, links, frames, tag);
}

using Kind = ScriptedPrompts::Kind;
using Metas = QList<DocumentSnapshot::Meta>;

const QString kImageQuestion = "Would You like collect images ?";

// Compares bytes with a hand-written expected file, or rows with its lines.
void compareBytes(const QByteArray& actual, const QString& name, bool crlf = false) {
    const QByteArray expected = expectedFile("harvest/expected/" + name, crlf);
    QVERIFY2(actual == expected, firstDifference(actual, expected).constData());
}
void compareRows(const QStringList& rows, const QString& name) {
    compareBytes((rows.join('\n') + '\n').toUtf8(), name);
}

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

} // namespace

class TestHarvestRows : public QObject {
    Q_OBJECT

    HarvestState state;
    ScriptedPrompts prompts;

private Q_SLOTS:
    void init() {
        state = HarvestState();
        prompts = ScriptedPrompts();
    }

    // The refused words are found anywhere in the address, in any letter
    // case; the visited links count only while the link list has entries;
    // equality is exact.
    void filteredAdd() {
        LinkFilter filter(state);
        QVERIFY(!filter.add("https://SECURE.quill.test/"));
        state.visitedLinks = {kShop + "a.htm"};
        QVERIFY(filter.add(kShop + "a.htm") && !filter.add(kShop + "a.htm"));
        state.linkList = {kShop + "b.htm"};
        QVERIFY(!filter.add(kShop + "a.htm") && filter.add(kShop + "B.htm"));
        QCOMPARE(state.linkList, (QStringList{kShop + "b.htm", kShop + "B.htm"}));
    }

    // The ten refused words, each alone in an address and in another
    // letter case; an address holding none of them is taken.
    void excludedWords_data() {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("refused");
        for (const char* word : {"SECUR", "EDU", "MEMBER", "MAILTO", "/~", "SUPPORT", "SIGNUP",
                                 "AGGRE", "PL", "MERCHANT"})
            QTest::newRow(word) << QStringLiteral("http://x.test/a") + word << true;
        QTest::newRow("none") << QStringLiteral("http://x.test/shop/index.htm") << false;
    }
    void excludedWords() {
        QFETCH(QString, url);
        QFETCH(bool, refused);
        QCOMPARE(LinkFilter::hasExcludedWord(url), refused);
    }

    // The duplicate check ignores letter case on both of its paths: the
    // index, and the plain search it falls back to for text outside the
    // Basic Multilingual Plane.
    void duplicateCheckIgnoresCase_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("found");
        QTest::newRow("index") << QStringLiteral("SMILE") << true;
        QTest::newRow("index, absent") << QStringLiteral("smile night") << false;
        QTest::newRow("fallback") << QStringLiteral("SMILE \U0001F600 DAY") << true;
        QTest::newRow("fallback, absent") << QStringLiteral("\U0001F600 night") << false;
    }
    void duplicateCheckIgnoresCase() {
        QFETCH(QString, text);
        QFETCH(bool, found);
        const RowIndex rows(QStringList{QStringLiteral("<a>Smile \U0001F600 day</a>")});
        QCOMPARE(rows.occursInAnyRow(text), found);
    }

    void framesRowsAndStatuses() {
        const DocumentSnapshot menu = body({{kShop + "menu.htm", "Menu"}, {kShop + "song.RAM", ""}},
                                           {body({{kShop + "deep.htm", "Deep page"}})});
        const DocumentSnapshot news =
            body({{kShop + "menu.htm", "Menu again"}, {kShop + "news.htm", "News"}});
        const DocumentSnapshot frameset =
            body({{kShop + "frameset-only.htm", "Skipped"}}, {menu, news}, "FRAMESET");
        state.linkList = {"http://old.quill.test/"};
        state.pageQueue = {"http://queued.quill.test/"};
        const GetLinksResult result = LinkHarvester(state).getAllLinks({frameset}, QString());

        compareRows(state.reportBuffer, "get_all_links_rows.txt");
        compareRows(state.linkList, "get_all_links_list.txt");
        QVERIFY(state.pageQueue.isEmpty() && state.linksArmed);
        QCOMPARE(result.activityText, "Done");
        QCOMPARE(result.countText, "Found - 5 links");
        QCOMPARE(result.ramLinks.value(0).row, state.reportBuffer[1]);
    }

    // A link is new unless its address occurs in any report row, in any
    // letter case, also in a row written by someone else; a search word keeps
    // the rows that hold it anywhere.
    void duplicatesAndSearchWord() {
        const DocumentSnapshot document =
            body({{kShop + "ab", "AB"}, {kShop + "a", "A"}, {kShop + "ab", "AB again"}});
        state.reportBuffer = {"<tr><td>HTTP://SHOP.QUILL.TEST/OLD.HTM</td></tr>"};
        LinkHarvester(state).getAllLinks({document, body({{kShop + "old.htm", ""}})}, QString());
        QCOMPARE(state.linkList, QStringList{kShop + "ab"});

        state = HarvestState();
        LinkHarvester(state).getAllLinks({body({{kShop + "1.htm", "Red Shoes"},
                                                {kShop + "2.htm", "Blue hats"},
                                                {"http://shoes.quill.test/", "Outlet"}})},
                                         "sHOEs");
        QCOMPARE(state.linkList, (QStringList{kShop + "1.htm", "http://shoes.quill.test/"}));
    }

    // A page's script and local-file links are passed over, never opened;
    // pages that link to each other are walked once.
    void editorAndWalker() {
        state.linkList = {"http://a.test/", "http://b.test/", "http://c.test/"};
        LinkListEditor editor(state);
        QCOMPARE(editor.exclude(1), " Here live only 2 links ! ");
        QCOMPARE(state.visitedLinks, QStringList{"http://b.test/"});
        QCOMPARE(editor.clearAll(), "Links listing is clear ! ");

        state = HarvestState();
        state.linkList = {"javascript:alert(1)", "file:///etc/hostname", "http://a.test/",
                          "http://b.test/"};
        LinkWalker walker(state);
        QSet<QString> walked;
        QCOMPARE(walker.nextUrl(walked), "http://a.test/");
        DocumentSnapshot frame = body({{"http://c.test/framed.htm", ""}});
        frame.imageSources = {"http://c.test/logo.png"};
        DocumentSnapshot document = body({{"http://c.test/PHOTO.JPG", ""},
                                          {"http://a.test/", ""},
                                          {"http://c.test/plans.htm", ""},
                                          {"http://c.test/new.htm", ""},
                                          {"http://c.test/anim.Gif", ""}},
                                         {frame});
        document.imageSources = {"http://c.test/pic.bmp"};
        const WalkHarvest harvest = walker.harvest(document);
        compareRows(harvest.pictures, "walk_pictures.txt");
        QCOMPARE(state.linkList, (QStringList{"http://b.test/", "http://c.test/new.htm",
                                              "http://c.test/framed.htm"}));
        QCOMPARE(harvest.linksText, "Found - 3 links  ! ");
        state.linkList = {"http://b.test/"};
        QCOMPARE(walker.nextUrl(walked), "http://b.test/");
        QVERIFY(LinkFilter(state).add("http://a.test/"));
        QVERIFY(!walker.nextUrl(walked) && state.linkList.isEmpty());
    }

    // A META text over 1000 characters is cut to 999; a name counts in three
    // letter cases only, and only its first occurrence.
    void metaRows() {
        for (const auto& [metas, content] :
             {std::pair<Metas, QString>{{{"Description", QString(1000, 'a') + 'b'}},
                                        QString(999, 'a')},
              {{{"description", QString(1000, 'c')}}, QString(1000, 'c')},
              {{{"Description", "two"}, {"DeScription", "a"}, {"author", "d"}}, "two"}}) {
            DocumentSnapshot document = page("http://shop.example/");
            document.metas = metas;
            QCOMPARE(PageSummary::metaRows(document),
                     QStringList{"<tr><td width='100%' bgcolor='#00FFFF'><small><font face='Arial'>"
                                 "DESCRIPTION: " +
                                 content + "</font></small></td></tr>"});
        }
    }

    // The page answers Yes to the image question, the first frame No, the
    // second Yes. The keywords are cleared by the page's summary, so the
    // frame's phone-and-fax paragraph gives no row; the frame's own frame is
    // not summarised. Nothing after the first keywords META counts.
    void addLinkSummarisesPageAndFrames() {
        // A page with META, e-mail links, picture links, images, contact
        // paragraphs and two frames, the second with a frame of its own.
        const QString shop = "http://shop.example/";
        DocumentSnapshot side = page(shop + "side.html");
        side.links = {{"mailto:desk@shop.example", "Desk"}};
        side.imageSources = {shop + "side.gif"};
        side.paragraphs = {"Phone and fax: 555-0101"};
        DocumentSnapshot foot = page(shop + "foot.html", "Footer");
        foot.imageSources = {shop + "foot.jpg"};
        foot.frames = {page(shop + "deep.html", "Deep")};
        DocumentSnapshot document = page(shop + "about.html", "About Us");
        document.links = {
            {shop + "index.html", "Home"},     {"mailto:info@shop.example", "Write to us"},
            {"MAILTO:sales@shop.example", ""}, {shop + "pics/cup.JPG", "Cup"},
            {shop + "pics/pot.gif", ""},       {"mailto:info@shop.example", "Write to us"}};
        document.imageSources = {shop + "logo.png"};
        document.metas = {{"description", "We sell tea."},
                          {"Keywords", "tea, cups"},
                          {"Description", "after keywords"}};
        document.paragraphs = {"Call our Phone or FAX line.", "We ship tea worldwide.",
                               "Tel. (   ) 555-0100"};
        document.frames = {side, foot};
        state.reportBuffer = QStringList{"<a href='http://x.example/'>x</a><br>"};
        QStringList keywords{"contact", "tel", "phone", "fax", "address", "(   )", "-   -"};
        bool collectImages = false;
        prompts.expect(Kind::YesNo, kImageQuestion, "yes")
            .expect(Kind::YesNo, kImageQuestion, "no")
            .expect(Kind::YesNo, kImageQuestion, "yes");
        QStringList rows =
            PageSummary::addLinkSummary(document, state, keywords, collectImages, prompts);
        for (const DocumentSnapshot& frame : document.frames)
            rows += PageSummary::addLinkSummary(frame, state, keywords, collectImages, prompts);
        compareRows(rows, "add_link_rows.txt");
        QCOMPARE(state.reportBuffer.mid(1), rows);

        // Without a document there is nothing to summarise, and no keywords stay.
        keywords = QStringList{"tea"};
        QVERIFY(ContactFinder::addLink(nullptr, state, keywords, collectImages, prompts).isEmpty());
        QVERIFY(keywords.isEmpty());
    }

    // A frameset whose frame has a frame: the report form follows both levels.
    void reportSummaryFollowsNestedFrames() {
        const QString shop = "http://shop.example/";
        DocumentSnapshot menu = page(shop + "menu.html", "Menu");
        menu.links = {{"mailto:menu@shop.example", "Mail us"}, {shop + "pics/a.jpg", ""}};
        menu.metas = {{"DESCRIPTION", "Menu of the shop"}};
        menu.paragraphs = {"Phone: 555-0102", "Fax: 555-0103", "Opening hours"};
        menu.frames = {page(shop + "inner.html")};
        DocumentSnapshot top =
            page(shop, "Shop", {{"mailto:top@shop.example", "Top"}, {shop + "top.jpg", ""}}, {menu},
                 "FRAMESET");
        top.imageSources = {shop + "top.png"};
        top.metas = {{"keywords", "tea"}, {"description", "ignored"}};
        top.paragraphs = {"phone"};
        const QStringList rows = PageSummary::reportSummary(top, state, {"phone", "fax"}, true);
        compareRows(rows, "report_rows.txt");
        // Picture rows only on request: without, the title row alone.
        DocumentSnapshot a = page("http://shop.example/a.html", "A");
        a.links = {{"http://shop.example/b.GIF", "B"}};
        QCOMPARE(PageSummary::reportSummary(a, state, {}, false).size(), 1);
        QCOMPARE(PageSummary::reportSummary(a, state, {}, true).last(),
                 QString("<tr><td width=100%> <img src='http://shop.example/b.GIF'></td></tr>"));
    }

    // The user's own search words go; the found pages of an earlier crawl are
    // forgotten; without links the user is told to get links first.
    void searchCommandsPrepareTheCrawl() {
        state.foundPages = {"http://old.example/"};
        QStringList keywords{"tea", "cups"};
        prompts.expect(Kind::Message, "You need get links before, click on 'Links "
                                      "Editor' menu and next click 'Get Links'");
        ContactFinder::findEmail(state, keywords, prompts);
        QCOMPARE(keywords, QStringList{"mailto:"});
        QVERIFY(state.foundPages.isEmpty() && prompts.done());
        state.linkList = {"http://a.example/"};
        ContactFinder::findContact(state, keywords, prompts);
        QCOMPARE(keywords, QStringList({"contact", "mail", "phone", "fax", "address", "write",
                                        "people", "stuff"}));
    }

    void hostileTextStaysText() {
        compareRows({SummaryRows::titleRow("http://a.test/p2", "P2 <script>x</script>"),
                     SummaryRows::paragraphRow("<i> & \"quotes\""),
                     SummaryRows::descriptionRow("a</font><img src=x>"),
                     SummaryRows::emailRow("mailto:a'b@c.test", "<a@c.test>"),
                     LinkRow::make("javascript:alert(document.cookie)", "Win <b>now</b>"),
                     LinkRow::make("ftp://f.test/a?x=1&y='2'", "F")},
                    "hostile_rows.txt");
    }

    void reportPages() {
        const QString full = expectedFile("harvest/expected/full_report.txt", false);
        state.reportBuffer = full.split('\n').mid(2, 2);
        compareRows(ReportPages::viewReportWrites(state), "view_report.txt");
        compareRows(ReportPages::fullReportWrites(state), "full_report.txt");
    }

    // The dialog offers the exports after the report files; a cancelled or
    // failed save writes nothing and says so.
    void saveReport() {
        QTemporaryDir dir;
        const QString path = dir.filePath("report.htm");
        prompts.expect(Kind::SaveFile, {}, path).expect(Kind::SaveFile, {}, {}, true);
        const auto outcome = ReportFile::save(threeLinks(), false, prompts, dir.path());
        QVERIFY2(outcome.written && outcome.path == path, qPrintable(outcome.error));
        QCOMPARE(prompts.shown().first(),
                 "HTML file (*.htm;*.html)|*.htm;*.html|Text File (*.txt;*.rtf)|*.txt;*.rtf|"
                 "CSV file (*.csv)|*.csv|JSON file (*.json)|*.json");
        compareBytes(fileBytes(path), "save_report.htm", true);

        QVERIFY(!ReportFile::save(threeLinks(), false, prompts, dir.path()).written);
        prompts.expect(Kind::SaveFile, {}, dir.filePath("no/such/folder/report.htm"));
        const auto failed = ReportFile::save(threeLinks(), false, prompts, dir.path());
        QVERIFY(!failed.written && !failed.error.isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList{"report.htm"});
    }

    // Next and Previous stop at both ends; the first Next after a reset skips
    // entry 0. A new harvest with fewer links leaves the index past the end:
    // the buttons go on from the new last entry instead of opening nothing.
    void stepping() {
        state = threeLinks();
        ReportStepper stepper;
        QStringList steps;
        for (const bool next : {true, true, true, false, false, false}) {
            const auto step = next ? stepper.next(state) : stepper.previous(state);
            steps << step.url + ' ' + step.status;
        }
        compareRows(steps, "stepping.txt");
        stepper.next(state);
        stepper.next(state);
        state.foundUrls.resize(2);
        const auto atEnd = stepper.next(state);
        QCOMPARE(atEnd.url, "http://b.example/x");
        QCOMPARE(atEnd.status, "Page # End");
    }

    // A full report asks about pictures first, refuses without links, and
    // queues only web pages.
    void fullReport() {
        state.reportBuffer = {"row"};
        prompts.expect(Kind::YesNo, kImageQuestion, "no").expectMessage("Get links ,Please");
        auto start = FullReport::start(state, prompts);
        QVERIFY(prompts.done() && !start.readPages);
        QCOMPARE(state.reportBuffer, QStringList{"row"});
        state = threeLinks();
        state.linkList += QStringList{"javascript:alert(1)", "file:///etc/hostname"};
        state.pageQueue = {"http://queued.example/"};
        prompts.expect(Kind::YesNo, {}, "yes");
        start = FullReport::start(state, prompts);
        QVERIFY(start.collectImages && start.readPages);
        QCOMPARE(state.pageQueue, QStringList{"http://queued.example/"} + threeLinks().linkList);
        QVERIFY(state.linkList.isEmpty() && state.reportBuffer.isEmpty());
    }
};

QTEST_MAIN(TestHarvestRows)
#include "test_harvest_rows.moc"
