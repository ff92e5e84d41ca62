#include "harvest/ContactFinder.h"
#include "harvest/HarvestState.h"
#include "harvest/PageSummary.h"
#include "support/ExpectedFile.h"
#include "support/ScriptedPrompts.h"
#include "web/DocumentSnapshot.h"

#include <QTest>

namespace {

using Kind = ScriptedPrompts::Kind;
using Metas = QList<DocumentSnapshot::Meta>;

const QString kImageQuestion = "Would You like collect images ?";

QString metaRow(const char* name, const QString& content) {
    return QStringLiteral("<tr><td width='100%' bgcolor='#00FFFF'><small><font face='Arial'>") +
           name + ": " + content + "</font></small></td></tr>";
}

QString titleRow(const QString& url, const QString& title) {
    return "<tr><td width='100%' bgcolor='#FFFF00'><strong><font face='Arial'><a href='" + url +
           "'>" + title + "</a></font></strong></td></tr>";
}

// Compares rows with the lines of a hand-written expected file.
void compareRows(const QStringList& rows, const QString& name) {
    const QByteArray expected = expectedFile("harvest/expected/" + name, false);
    const QByteArray actual = (rows.join('\n') + '\n').toUtf8();
    QVERIFY2(actual == expected, firstDifference(actual, expected).constData());
}

DocumentSnapshot page(const QString& url, const QString& title = {}, const char* tag = "BODY") {
    DocumentSnapshot document;
    document.url = url;
    document.title = title;
    document.bodyTagName = tag;
    return document;
}

// A page with META, e-mail links, picture links, images, contact
// paragraphs and two frames, the second with a frame of its own.
DocumentSnapshot contactPage() {
    const QString shop = "http://shop.example/";
    DocumentSnapshot side = page(shop + "side.html");
    side.links = {{"mailto:desk@shop.example", "Desk"}};
    side.imageSources = {shop + "side.gif"};
    side.paragraphs = {"Phone and fax: 555-0101"};
    DocumentSnapshot foot = page(shop + "foot.html", "Footer");
    foot.imageSources = {shop + "foot.jpg"};
    foot.frames = {page(shop + "deep.html", "Deep")};
    DocumentSnapshot about = page(shop + "about.html", "About Us");
    about.links = {{shop + "index.html", "Home"},     {"mailto:info@shop.example", "Write to us"},
                   {"MAILTO:sales@shop.example", ""}, {shop + "pics/cup.JPG", "Cup"},
                   {shop + "pics/pot.gif", ""},       {"mailto:info@shop.example", "Write to us"}};
    about.imageSources = {shop + "logo.png"};
    about.metas = {{"description", "We sell tea."},
                   {"Keywords", "tea, cups"},
                   {"Description", "after keywords"}};
    about.paragraphs = {"Call our Phone or FAX line.", "We ship tea worldwide.",
                        "Tel. (   ) 555-0100"};
    about.frames = {side, foot};
    return about;
}

// A frameset whose frame has a frame: the report form follows both levels.
DocumentSnapshot framesetPage() {
    const QString shop = "http://shop.example/";
    DocumentSnapshot menu = page(shop + "menu.html", "Menu");
    menu.links = {{"mailto:menu@shop.example", "Mail us"}, {shop + "pics/a.jpg", ""}};
    menu.metas = {{"DESCRIPTION", "Menu of the shop"}};
    menu.paragraphs = {"Phone: 555-0102", "Fax: 555-0103", "Opening hours"};
    menu.frames = {page(shop + "inner.html")};
    DocumentSnapshot top = page(shop, "Shop", "FRAMESET");
    top.links = {{"mailto:top@shop.example", "Top"}, {shop + "top.jpg", ""}};
    top.imageSources = {shop + "top.png"};
    top.metas = {{"keywords", "tea"}, {"description", "ignored"}};
    top.paragraphs = {"phone"};
    top.frames = {menu};
    return top;
}

} // namespace

class TestPageSummary : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void metaRows_data();
    void metaRows();
    void addLinkSummarisesPageAndFrames();
    void reportSummaryFollowsNestedFrames();
    void searchCommandsPrepareTheCrawl();
};

void TestPageSummary::metaRows_data() {
    QTest::addColumn<Metas>("metas");
    QTest::addColumn<QStringList>("rows");
    const QString long1200 = QString(1000, 'a') + QString(200, 'b');
    QTest::newRow("1200 characters cut to 999")
        << Metas{{"Description", long1200}}
        << QStringList{metaRow("DESCRIPTION", QString(999, 'a'))};
    QTest::newRow("1000 characters kept")
        << Metas{{"description", QString(1000, 'c')}}
        << QStringList{metaRow("DESCRIPTION", QString(1000, 'c'))};
    QTest::newRow("letter cases and names")
        << Metas{{"Description", "two"}, {"DeScription", "a"}, {"author", "d"}}
        << QStringList{metaRow("DESCRIPTION", "two")};
    QTest::newRow("nothing after the first keywords")
        << Metas{{"keywords", "tea"}, {"description", "late"}, {"KEYWORDS", "again"}}
        << QStringList{metaRow("KYEWORDS", "tea")};
}

void TestPageSummary::metaRows() {
    QFETCH(Metas, metas);
    QFETCH(QStringList, rows);
    DocumentSnapshot document = page("http://shop.example/");
    document.metas = metas;
    QCOMPARE(PageSummary::metaRows(document), rows);
}

// The page answers Yes to the image question, the first frame No, the
// second Yes. The keywords are cleared by the page's summary, so the
// frame's phone-and-fax paragraph gives no row; the frame's own frame is
// not summarised. A bare page gives its title row only.
void TestPageSummary::addLinkSummarisesPageAndFrames() {
    const DocumentSnapshot document = contactPage();
    HarvestState state;
    state.reportBuffer = QStringList{"<a href='http://x.example/'>x</a><br>"};
    QStringList keywords{"contact", "tel", "phone", "fax", "address", "(   )", "-   -"};
    bool collectImages = false;
    ScriptedPrompts prompts;
    prompts.expect(Kind::YesNo, kImageQuestion, "yes")
        .expect(Kind::YesNo, kImageQuestion, "no")
        .expect(Kind::YesNo, kImageQuestion, "yes");
    QStringList rows =
        PageSummary::addLinkSummary(document, state, keywords, collectImages, prompts);
    QVERIFY(keywords.isEmpty());
    for (const DocumentSnapshot& frame : document.frames)
        rows += PageSummary::addLinkSummary(frame, state, keywords, collectImages, prompts);
    compareRows(rows, "add_link_rows.txt");
    QCOMPARE(state.reportBuffer.mid(1), rows);
    QVERIFY(prompts.done() && !collectImages);

    // Without a document there is nothing to summarise, and no keywords stay.
    keywords = QStringList{"tea"};
    QVERIFY(ContactFinder::addLink(nullptr, state, keywords, collectImages, prompts).isEmpty());
    QVERIFY(keywords.isEmpty());
    const QString bare = "http://shop.example/empty.html";
    prompts.expect(Kind::YesNo, kImageQuestion, "yes");
    QCOMPARE(PageSummary::addLinkSummary(page(bare), state, keywords, collectImages, prompts),
             QStringList{titleRow(bare, bare)});
}

void TestPageSummary::reportSummaryFollowsNestedFrames() {
    HarvestState state;
    const QStringList rows =
        PageSummary::reportSummary(framesetPage(), state, {"phone", "fax"}, true);
    compareRows(rows, "report_rows.txt");
    QCOMPARE(state.reportBuffer, rows);
    // Picture rows only on request; a paragraph gives a row per keyword.
    DocumentSnapshot a = page("http://shop.example/a.html", "A");
    a.links = {{"http://shop.example/b.GIF", "B"}};
    a.paragraphs = {"Our address and phone"};
    const QString paragraph = "<tr><td><p>Our address and phone</p></td></tr>";
    QCOMPARE(PageSummary::reportSummary(a, state, {"phone", "address"}, false),
             (QStringList{titleRow(a.url, "A"), paragraph, paragraph}));
    QCOMPARE(PageSummary::reportSummary(a, state, {"phone"}, true).last(),
             QString("<tr><td width=100%> <img src='http://shop.example/b.GIF'></td></tr>"));
}

// The user's own search words go; the found pages of an earlier crawl are
// forgotten; without links the user is told to get links first.
void TestPageSummary::searchCommandsPrepareTheCrawl() {
    HarvestState state;
    state.foundPages = {"http://old.example/"};
    QStringList keywords{"tea", "cups"};
    ScriptedPrompts prompts;
    prompts.expect(Kind::Message, "You need get links before, click on 'Links "
                                  "Editor' menu and next click 'Get Links'");
    ContactFinder::findEmail(state, keywords, prompts);
    QCOMPARE(keywords, QStringList{"mailto:"});
    QVERIFY(state.foundPages.isEmpty() && prompts.done());
    state.linkList = {"http://a.example/"};
    ContactFinder::findContact(state, keywords, prompts);
    QCOMPARE(keywords, QStringList({"contact", "mail", "phone", "fax", "address", "write", "people",
                                    "stuff"}));
    QCOMPARE(state.linkList, QStringList{"http://a.example/"});
}

QTEST_GUILESS_MAIN(TestPageSummary)
#include "test_page_summary.moc"
