#include "harvest/HarvestState.h"
#include "harvest/PageSummary.h"
#include "support/ExpectedFile.h"
#include "support/ScriptedPrompts.h"
#include "web/DocumentSnapshot.h"

#include <QTest>

namespace {

using Kind = ScriptedPrompts::Kind;

const QString imageQuestion = "Would You like collect images ?";

QString descriptionRow(const QString& content) {
    return "<tr><td width='100%' bgcolor='#00FFFF'><small><font face='Arial'>DESCRIPTION: " +
           content + "</font></small></td></tr>";
}

QString keywordsRow(const QString& content) {
    return "<tr><td width='100%' bgcolor='#00FFFF'><small><font face='Arial'>KYEWORDS: " + content +
           "</font></small></td></tr>";
}

QString paragraphRow(const QString& text) {
    return "<tr><td><p>" + text + "</p></td></tr>";
}

// The rows of a hand-written expected file, one per line.
using Metas = QList<DocumentSnapshot::Meta>;

QStringList expectedRows(const QString& name) {
    const QString text = QString::fromUtf8(expectedFile("harvest/expected/" + name, false));
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QByteArray lines(const QStringList& rows) {
    return rows.join(QLatin1Char('\n')).toUtf8();
}

DocumentSnapshot page(const QString& url, const QString& title = {}) {
    DocumentSnapshot document;
    document.url = url;
    document.title = title;
    document.bodyTagName = "BODY";
    return document;
}

// A page with META, e-mail links, picture links, images, contact
// paragraphs and two frames, the second with a frame of its own.
DocumentSnapshot contactPage() {
    DocumentSnapshot document = page("http://shop.example/about.html", "About Us");
    document.metas = {{"description", "We sell tea."},
                      {"Keywords", "tea, cups"},
                      {"Description", "after keywords"}};
    document.links = {
        {"http://shop.example/index.html", "Home"}, {"mailto:info@shop.example", "Write to us"},
        {"MAILTO:sales@shop.example", ""},          {"http://shop.example/pics/cup.JPG", "Cup"},
        {"http://shop.example/pics/pot.gif", ""},   {"mailto:info@shop.example", "Write to us"}};
    document.imageSources = {"http://shop.example/logo.png"};
    document.paragraphs = {"Call our Phone or FAX line.", "We ship tea worldwide.",
                           "Tel. (   ) 555-0100"};
    DocumentSnapshot side = page("http://shop.example/side.html");
    side.paragraphs = {"Phone and fax: 555-0101"};
    side.links = {{"mailto:desk@shop.example", "Desk"}};
    side.imageSources = {"http://shop.example/side.gif"};
    DocumentSnapshot foot = page("http://shop.example/foot.html", "Footer");
    foot.imageSources = {"http://shop.example/foot.jpg"};
    foot.frames = {page("http://shop.example/deep.html", "Deep")};
    document.frames = {side, foot};
    return document;
}

// A frameset whose frame has a frame: the report form follows both levels.
DocumentSnapshot framesetPage() {
    DocumentSnapshot top = page("http://shop.example/", "Shop");
    top.bodyTagName = "FRAMESET";
    top.metas = {{"keywords", "tea"}, {"description", "ignored"}};
    top.paragraphs = {"phone"};
    top.links = {{"mailto:top@shop.example", "Top"}, {"http://shop.example/top.jpg", ""}};
    top.imageSources = {"http://shop.example/top.png"};
    DocumentSnapshot menu = page("http://shop.example/menu.html", "Menu");
    menu.metas = {{"DESCRIPTION", "Menu of the shop"}};
    menu.paragraphs = {"Phone: 555-0102", "Fax: 555-0103", "Opening hours"};
    menu.links = {{"mailto:menu@shop.example", "Mail us"}, {"http://shop.example/pics/a.jpg", ""}};
    menu.frames = {page("http://shop.example/inner.html")};
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
    void reportSummaryImagesOnlyOnRequest();
    void bareDocumentGivesOnlyItsTitleRow();
};

void TestPageSummary::metaRows_data() {
    QTest::addColumn<Metas>("metas");
    QTest::addColumn<QStringList>("rows");

    const QString long1200 = QString(1000, QLatin1Char('a')) + QString(200, QLatin1Char('b'));
    const QString exactly1000 = QString(1000, QLatin1Char('c'));
    const QString long1001 = QString(1001, QLatin1Char('k'));
    QTest::newRow("1200 characters cut to 999")
        << Metas{{"Description", long1200}}
        << QStringList{descriptionRow(QString(999, QLatin1Char('a')))};
    QTest::newRow("1000 characters kept")
        << Metas{{"description", exactly1000}} << QStringList{descriptionRow(exactly1000)};
    QTest::newRow("keywords cut the same way")
        << Metas{{"KEYWORDS", long1001}}
        << QStringList{keywordsRow(QString(999, QLatin1Char('k')))};
    QTest::newRow("three spellings of each name")
        << Metas{{"DESCRIPTION", "one"},
                 {"Description", "two"},
                 {"description", "three"},
                 {"Keywords", "four"}}
        << QStringList{descriptionRow("one"), descriptionRow("two"), descriptionRow("three"),
                       keywordsRow("four")};
    QTest::newRow("other spellings and a trailing blank give nothing")
        << Metas{{"DeScription", "a"}, {"description ", "b"}, {"keyWords", "c"}, {"author", "d"}}
        << QStringList{};
    QTest::newRow("nothing after the first keywords")
        << Metas{{"keywords", "tea"}, {"description", "late"}, {"KEYWORDS", "again"}}
        << QStringList{keywordsRow("tea")};
    QTest::newRow("empty content still gives a row")
        << Metas{{"description", ""}} << QStringList{descriptionRow("")};
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
// not summarised.
void TestPageSummary::addLinkSummarisesPageAndFrames() {
    const DocumentSnapshot document = contactPage();
    HarvestState state;
    state.reportBuffer = QStringList{"<a href='http://x.example/'>x</a><br>"};
    QStringList keywords{"contact", "tel", "phone", "fax", "address", "(   )", "-   -"};
    bool collectImages = false;
    ScriptedPrompts prompts;
    prompts.expect(Kind::YesNo, imageQuestion, "yes")
        .expect(Kind::YesNo, imageQuestion, "no")
        .expect(Kind::YesNo, imageQuestion, "yes");

    QStringList rows =
        PageSummary::addLinkSummary(document, state, keywords, collectImages, prompts);
    QVERIFY(keywords.isEmpty());
    QVERIFY(!collectImages);
    for (const DocumentSnapshot& frame : document.frames)
        rows += PageSummary::addLinkSummary(frame, state, keywords, collectImages, prompts);

    const QStringList expected = expectedRows("add_link_rows.txt");
    QVERIFY2(rows == expected, firstDifference(lines(rows), lines(expected)).constData());
    QCOMPARE(state.reportBuffer.mid(1), expected);
    QVERIFY(prompts.done());
    QVERIFY(!collectImages);
}

void TestPageSummary::reportSummaryFollowsNestedFrames() {
    HarvestState state;
    const QStringList keywords{"phone", "fax"};
    const QStringList rows = PageSummary::reportSummary(framesetPage(), state, keywords, true);
    const QStringList expected = expectedRows("report_rows.txt");
    QVERIFY2(rows == expected, firstDifference(lines(rows), lines(expected)).constData());
    QCOMPARE(state.reportBuffer, expected);
}

void TestPageSummary::reportSummaryImagesOnlyOnRequest() {
    DocumentSnapshot document = page("http://shop.example/a.html", "A");
    document.links = {{"http://shop.example/b.GIF", "B"}};
    document.paragraphs = {"Our address and phone"};
    HarvestState state;
    const QStringList keywords{"phone", "address"};
    const QString title = "<tr><td width='100%' bgcolor='#FFFF00'><strong><font face='Arial'>"
                          "<a href='http://shop.example/a.html'>A</a></font></strong></td></tr>";
    const QString paragraph = paragraphRow("Our address and phone");
    QCOMPARE(PageSummary::reportSummary(document, state, keywords, false),
             (QStringList{title, paragraph, paragraph}));
    QCOMPARE(PageSummary::reportSummary(document, state, keywords, true).last(),
             QString("<tr><td width=100%> <img src='http://shop.example/b.GIF'></td></tr>"));
}

void TestPageSummary::bareDocumentGivesOnlyItsTitleRow() {
    const DocumentSnapshot document = page("http://shop.example/empty.html");
    const QString title = "<tr><td width='100%' bgcolor='#FFFF00'><strong><font face='Arial'>"
                          "<a href='http://shop.example/empty.html'>http://shop.example/empty.html"
                          "</a></font></strong></td></tr>";
    HarvestState state;
    QStringList keywords{"phone"};
    bool collectImages = false;
    ScriptedPrompts prompts;
    prompts.expect(Kind::YesNo, imageQuestion, "yes");
    QCOMPARE(PageSummary::addLinkSummary(document, state, keywords, collectImages, prompts),
             QStringList{title});
    QCOMPARE(PageSummary::reportSummary(document, state, {"phone"}, true), QStringList{title});
    QCOMPARE(state.reportBuffer, (QStringList{title, title}));
}

QTEST_GUILESS_MAIN(TestPageSummary)
#include "test_page_summary.moc"
