#include "harvest/HarvestState.h"
#include "harvest/LinkFilter.h"
#include "harvest/LinkHarvester.h"
#include "harvest/LinkListEditor.h"
#include "harvest/LinkRow.h"
#include "harvest/LinkWalker.h"
#include "harvest/RowIndex.h"
#include "support/ExpectedFile.h"
#include "web/DocumentSnapshot.h"

#include <QRandomGenerator>
#include <QTest>
#include <algorithm>

namespace {

DocumentSnapshot page(const QString& bodyTag, const QList<DocumentSnapshot::Link>& links,
                      const QList<DocumentSnapshot>& frames = {}) {
    DocumentSnapshot document;
    document.bodyTagName = bodyTag;
    document.links = links;
    document.frames = frames;
    return document;
}

DocumentSnapshot body(const QList<DocumentSnapshot::Link>& links) {
    return page("BODY", links);
}

QString row(const QString& url, const QString& text) {
    return QStringLiteral("<a href='%1'>%2</a><br>").arg(url, text);
}

QString randomText(QRandomGenerator& random, int maxUnits) {
    // Letters whose case folding is not a plain lower-casing, and both halves
    // of a surrogate pair on their own.
    static const QString units = QStringLiteral("aAbB/.:\u00DF\u03C3\u03C2\u03A3Kk\u212A\u017FsS") +
                                 QChar(0xD801) + QChar(0xDC00) + QChar(0xDC28);
    QString text;
    const int length = random.bounded(maxUnits + 1);
    while (text.size() < length) {
        if (random.bounded(6) == 0)
            text += "\U00010400"; // folds to U+10428
        else
            text += units[random.bounded(int(units.size()))];
    }
    return text;
}

bool occursRowByRow(const QStringList& rows, const QString& text) {
    return std::any_of(rows.begin(), rows.end(), [&text](const QString& entry) {
        return entry.contains(text, Qt::CaseInsensitive);
    });
}

} // namespace

class TestLinkHarvest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void filteredAddWords_data();
    void filteredAddWords();
    void filteredAddDuplicates();
    void framesRowsAndStatuses();
    void duplicateIsSubstringOfAnyRow();
    void searchWordFiltersWholeRow();
    void rowIndexAnswersAsRowByRow();
    void linkTextOfRow_data();
    void linkTextOfRow();
    void editorCommands();
    void walkerTakesFrontAndHarvests();
};

void TestLinkHarvest::filteredAddWords_data() {
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("added");
    // The words are found anywhere in the address, in any letter case.
    QTest::newRow("secur") << "https://SECURE.quill.test/" << false;
    QTest::newRow("edu anywhere") << "http://quill.test/reduced.htm" << false;
    QTest::newRow("mailto") << "mailto:sales@quill.test" << false;
    QTest::newRow("/~") << "http://quill.test/~anna/" << false;
    QTest::newRow("pl in /help/plans") << "http://quill.test/help/plans" << false;
    QTest::newRow("plain page") << "http://shop.quill.test/catalog/item7.htm" << true;
}

void TestLinkHarvest::filteredAddWords() {
    QFETCH(QString, url);
    QFETCH(bool, added);
    HarvestState state;
    QCOMPARE(LinkFilter(state).add(url), added);
    QCOMPARE(state.linkList, added ? QStringList{url} : QStringList{});
}

void TestLinkHarvest::filteredAddDuplicates() {
    const QString visited = "http://shop.quill.test/a.htm";
    const QString other = "http://shop.quill.test/b.htm";
    HarvestState state;
    state.visitedLinks = {visited};
    LinkFilter filter(state);

    // The visited links count only while the link list has entries.
    QVERIFY(filter.add(visited));
    QVERIFY(!filter.add(visited));
    state.linkList = {other};
    QVERIFY(!filter.add(visited));
    QVERIFY(!filter.add(other));
    // Equality is exact: another letter case is another URL.
    QVERIFY(filter.add("http://shop.quill.test/B.htm"));
    QCOMPARE(state.linkList.size(), 2);
}

void TestLinkHarvest::framesRowsAndStatuses() {
    const QString shop = "http://shop.quill.test/";
    const DocumentSnapshot deep = body({{shop + "deep.htm", "Deep page"}});
    DocumentSnapshot menu = body({{shop + "menu.htm", "Menu"}, {shop + "song.RAM", ""}});
    menu.frames = {deep};
    const DocumentSnapshot news =
        body({{shop + "menu.htm", "Menu again"}, {shop + "news.htm", "News"}});
    const DocumentSnapshot frameset =
        page("FRAMESET", {{shop + "frameset-only.htm", "Skipped"}}, {menu, news});

    HarvestState state;
    state.linkList = {"http://old.quill.test/"};
    state.pageQueue = {"http://queued.quill.test/"};
    const GetLinksResult result = LinkHarvester(state).getAllLinks({frameset}, QString());

    const QByteArray rows = (state.reportBuffer.join("\r\n") + "\r\n").toUtf8();
    const QByteArray expected = expectedFile("harvest/expected/get_all_links_rows.txt");
    QVERIFY2(rows == expected, firstDifference(rows, expected).constData());
    const QStringList urls{shop + "menu.htm", shop + "song.RAM", shop + "deep.htm",
                           shop + "news.htm"};
    QCOMPARE(state.foundUrls, urls);
    QCOMPARE(state.linkList, QStringList{"http://old.quill.test/"} + urls);
    QVERIFY(state.pageQueue.isEmpty());
    QVERIFY(state.linksArmed);
    QCOMPARE(result.activityText, "Done");
    QCOMPARE(result.countText, "Found - 5 links");
    QCOMPARE(result.ramLinks.size(), 1);
    QCOMPARE(result.ramLinks[0].index, 1);
    QCOMPARE(result.ramLinks[0].url, shop + "song.RAM");
    QCOMPARE(result.ramLinks[0].row, state.reportBuffer[1]);
}

void TestLinkHarvest::duplicateIsSubstringOfAnyRow() {
    const QString ab = "http://shop.quill.test/ab";
    const QString a = "http://shop.quill.test/a";
    const DocumentSnapshot document = body({{ab, "AB"}, {a, "A"}, {ab, "AB again"}});
    HarvestState state;
    // A row written by someone else counts too, in any letter case.
    state.reportBuffer = {"<tr><td>HTTP://SHOP.QUILL.TEST/OLD.HTM</td></tr>"};
    LinkHarvester harvester(state);
    harvester.getAllLinks({document, body({{"http://shop.quill.test/old.htm", ""}})}, QString());
    QCOMPARE(state.linkList, QStringList{ab});

    harvester.getAllLinks({document}, QString());
    QCOMPARE(state.linkList, QStringList{ab});
    QCOMPARE(state.reportBuffer.size(), 2);

    state.reportBuffer.clear();
    const GetLinksResult result = harvester.getAllLinks({document}, QString());
    QCOMPARE(state.linkList, (QStringList{ab, ab}));
    QCOMPARE(state.foundUrls, (QStringList{ab, ab}));
    QCOMPARE(result.countText, "Found - 2 links");
}

void TestLinkHarvest::searchWordFiltersWholeRow() {
    const DocumentSnapshot document = body({{"http://shop.quill.test/1.htm", "Red Shoes"},
                                            {"http://shop.quill.test/2.htm", "Blue hats"},
                                            {"http://shoes.quill.test/", "Outlet"}});
    HarvestState state;
    LinkHarvester(state).getAllLinks({document}, "sHOEs");
    QCOMPARE(state.linkList,
             (QStringList{"http://shop.quill.test/1.htm", "http://shoes.quill.test/"}));
    QCOMPARE(state.reportBuffer[0], row("http://shop.quill.test/1.htm", "Red Shoes"));
}

void TestLinkHarvest::rowIndexAnswersAsRowByRow() {
    QRandomGenerator random(20240517);
    for (int round = 0; round < 20; ++round) {
        QStringList rows;
        RowIndex index;
        for (int added = 0; added < 30; ++added) {
            for (int probe = 0; probe < 60; ++probe) {
                const QString text = randomText(random, 5);
                QVERIFY2(
                    index.occursInAnyRow(text) == occursRowByRow(rows, text),
                    qPrintable(
                        QStringLiteral("text %1 rows %2").arg(text, rows.join(QLatin1Char('|')))));
            }
            rows.append(randomText(random, 12));
            index.addRow(rows.last());
        }
    }
}

void TestLinkHarvest::linkTextOfRow_data() {
    QTest::addColumn<QString>("reportRow");
    QTest::addColumn<QString>("text");
    QTest::newRow("link row") << row("http://a.test/", "Shoes") << "Shoes";
    QTest::newRow("one letter") << row("http://a.test/", "x") << "x";
    QTest::newRow("no > at all") << "plain <b"
                                 << "plain ";
    QTest::newRow("no < after >") << "<b>bold"
                                  << "bold";
    QTest::newRow("empty") << ""
                           << "";
}

void TestLinkHarvest::linkTextOfRow() {
    QFETCH(QString, reportRow);
    QFETCH(QString, text);
    QCOMPARE(LinkRow::linkText(reportRow), text);
}

void TestLinkHarvest::editorCommands() {
    HarvestState state;
    state.linkList = {"http://a.test/", "http://b.test/", "http://c.test/"};
    LinkListEditor editor(state);
    QCOMPARE(editor.exclude(1), " Here live only 2 links ! ");
    QCOMPARE(state.visitedLinks, QStringList{"http://b.test/"});
    QVERIFY(!LinkFilter(state).add("http://b.test/"));
    QCOMPARE(editor.exclude(2), std::nullopt);
    QCOMPARE(editor.clearAll(), "Links listing is clear ! ");
    QVERIFY(state.linkList.isEmpty());
    QCOMPARE(state.visitedLinks.size(), 1);
}

void TestLinkHarvest::walkerTakesFrontAndHarvests() {
    HarvestState state;
    // A page's script and local-file links are passed over, never opened.
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
                                      {"http://c.test/anim.Gif", ""}});
    document.imageSources = {"http://c.test/pic.bmp"};
    document.frames = {frame};
    const WalkHarvest harvest = walker.harvest(document);
    QCOMPARE(harvest.pictures, (QStringList{"http://c.test/PHOTO.JPG", "http://c.test/anim.Gif",
                                            "http://c.test/pic.bmp", "http://c.test/logo.png"}));
    QCOMPARE(state.linkList,
             (QStringList{"http://b.test/", "http://c.test/new.htm", "http://c.test/framed.htm"}));
    QCOMPARE(harvest.linksText, "Found - 3 links  ! ");

    // Pages that link to each other: once the link list has run empty the
    // filtered add takes a walked page again, but the walk does not open it
    // twice, and ends.
    state.linkList = {"http://b.test/"};
    QCOMPARE(walker.nextUrl(walked), "http://b.test/");
    QVERIFY(LinkFilter(state).add("http://a.test/"));
    QCOMPARE(walker.nextUrl(walked), std::nullopt);
    QVERIFY(state.linkList.isEmpty());
}

QTEST_GUILESS_MAIN(TestLinkHarvest)
#include "test_link_harvest.moc"
