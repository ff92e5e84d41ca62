#include "harvest/HarvestState.h"
#include "harvest/LinkFilter.h"
#include "harvest/LinkHarvester.h"
#include "harvest/LinkListEditor.h"
#include "harvest/LinkRow.h"
#include "harvest/LinkWalker.h"
#include "support/ExpectedFile.h"
#include "web/DocumentSnapshot.h"

#include <QTest>

namespace {

const QString kShop = QStringLiteral("http://shop.quill.test/");

DocumentSnapshot body(const QList<DocumentSnapshot::Link>& links,
                      const QList<DocumentSnapshot>& frames = {}, const char* tag = "BODY") {
    DocumentSnapshot document;
    document.bodyTagName = tag;
    document.links = links;
    document.frames = frames;
    return document;
}

} // namespace

class TestLinkHarvest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void filteredAdd();
    void framesRowsAndStatuses();
    void duplicatesAndSearchWord();
    void editorAndWalker();
};

// The refused words are found anywhere in the address, in any letter
// case; the visited links count only while the link list has entries;
// equality is exact.
void TestLinkHarvest::filteredAdd() {
    HarvestState state;
    LinkFilter filter(state);
    for (const char* refused :
         {"https://SECURE.quill.test/", "http://quill.test/reduced.htm", "mailto:sales@quill.test",
          "http://quill.test/~anna/", "http://quill.test/help/plans"})
        QVERIFY2(!filter.add(refused), refused);
    QVERIFY(state.linkList.isEmpty());
    state.visitedLinks = {kShop + "a.htm"};
    QVERIFY(filter.add(kShop + "a.htm"));
    QVERIFY(!filter.add(kShop + "a.htm"));
    state.linkList = {kShop + "b.htm"};
    QVERIFY(!filter.add(kShop + "a.htm"));
    QVERIFY(filter.add(kShop + "B.htm"));
    QCOMPARE(state.linkList, (QStringList{kShop + "b.htm", kShop + "B.htm"}));
}

void TestLinkHarvest::framesRowsAndStatuses() {
    const DocumentSnapshot menu = body({{kShop + "menu.htm", "Menu"}, {kShop + "song.RAM", ""}},
                                       {body({{kShop + "deep.htm", "Deep page"}})});
    const DocumentSnapshot news =
        body({{kShop + "menu.htm", "Menu again"}, {kShop + "news.htm", "News"}});
    const DocumentSnapshot frameset =
        body({{kShop + "frameset-only.htm", "Skipped"}}, {menu, news}, "FRAMESET");
    HarvestState state;
    state.linkList = {"http://old.quill.test/"};
    state.pageQueue = {"http://queued.quill.test/"};
    const GetLinksResult result = LinkHarvester(state).getAllLinks({frameset}, QString());

    const QByteArray rows = (state.reportBuffer.join("\r\n") + "\r\n").toUtf8();
    const QByteArray expected = expectedFile("harvest/expected/get_all_links_rows.txt");
    QVERIFY2(rows == expected, firstDifference(rows, expected).constData());
    const QStringList urls{kShop + "menu.htm", kShop + "song.RAM", kShop + "deep.htm",
                           kShop + "news.htm"};
    QCOMPARE(state.linkList, QStringList{"http://old.quill.test/"} + urls);
    QVERIFY(state.pageQueue.isEmpty() && state.linksArmed);
    QCOMPARE(result.activityText + result.countText, "DoneFound - 5 links");
    QCOMPARE(result.ramLinks.value(0).row, state.reportBuffer[1]);
}

// A link is new unless its address occurs in any report row, in any
// letter case, also in a row written by someone else; a search word keeps
// the rows that hold it anywhere.
void TestLinkHarvest::duplicatesAndSearchWord() {
    const DocumentSnapshot document =
        body({{kShop + "ab", "AB"}, {kShop + "a", "A"}, {kShop + "ab", "AB again"}});
    HarvestState state;
    state.reportBuffer = {"<tr><td>HTTP://SHOP.QUILL.TEST/OLD.HTM</td></tr>"};
    LinkHarvester harvester(state);
    harvester.getAllLinks({document, body({{kShop + "old.htm", ""}})}, QString());
    QCOMPARE(state.linkList, QStringList{kShop + "ab"});
    harvester.getAllLinks({document}, QString());
    QCOMPARE(state.reportBuffer.size(), 2);
    state.reportBuffer.clear();
    QCOMPARE(harvester.getAllLinks({document}, QString()).countText, "Found - 2 links");
    QCOMPARE(state.foundUrls, (QStringList{kShop + "ab", kShop + "ab"}));

    state = HarvestState();
    LinkHarvester(state).getAllLinks({body({{kShop + "1.htm", "Red Shoes"},
                                            {kShop + "2.htm", "Blue hats"},
                                            {"http://shoes.quill.test/", "Outlet"}})},
                                     "sHOEs");
    QCOMPARE(state.linkList, (QStringList{kShop + "1.htm", "http://shoes.quill.test/"}));
    QCOMPARE(state.reportBuffer[0], "<a href='" + kShop + "1.htm'>Red Shoes</a><br>");
}

// A page's script and local-file links are passed over, never opened;
// pages that link to each other are walked once.
void TestLinkHarvest::editorAndWalker() {
    HarvestState state;
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
    QCOMPARE(state.linkList, QStringList{"http://b.test/"});
    QCOMPARE(state.visitedLinks, QStringList{"http://a.test/"});
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
    QCOMPARE(harvest.pictures, (QStringList{"http://c.test/PHOTO.JPG", "http://c.test/anim.Gif",
                                            "http://c.test/pic.bmp", "http://c.test/logo.png"}));
    QCOMPARE(state.linkList,
             (QStringList{"http://b.test/", "http://c.test/new.htm", "http://c.test/framed.htm"}));
    QCOMPARE(harvest.linksText, "Found - 3 links  ! ");
    state.linkList = {"http://b.test/"};
    QCOMPARE(walker.nextUrl(walked), "http://b.test/");
    QVERIFY(LinkFilter(state).add("http://a.test/"));
    QCOMPARE(walker.nextUrl(walked), std::nullopt);
    QVERIFY(state.linkList.isEmpty());
}

QTEST_GUILESS_MAIN(TestLinkHarvest)
#include "test_link_harvest.moc"
