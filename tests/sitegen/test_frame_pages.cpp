#include "SiteFixture.h"
#include "sitegen/FramePages.h"
#include "support/ExpectedFile.h"

#include <QTest>

// The expected files hold the page text as the page functions give it,
// without the extra CR LF the page-file writer adds after it.
namespace {

const QString kExpected = QStringLiteral("sitegen/expected/site_off/");

SiteInput contentsOnlySite() {
    SiteInput input = twoCategorySite(false);
    input.settings.layout = SiteSettings::Layout::ContentsOnly;
    return input;
}

} // namespace

class TestFramePages : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writesExactText_data();
    void writesExactText();
    void productsMenuLinksEveryCategory_data();
    void productsMenuLinksEveryCategory();
};

void TestFramePages::writesExactText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const SiteInput site = twoCategorySite(false);
    QTest::newRow("start page, banner layout") << FramePages::startPage(site) << "index.htm";
    QTest::newRow("start page, contents only")
        << FramePages::startPage(contentsOnlySite()) << "index_contents.htm";
    QTest::newRow("second frameset") << FramePages::secondFrameset() << "fsecond.htm";
    QTest::newRow("banner") << FramePages::banner() << "banner.htm";
    QTest::newRow("main menu") << FramePages::mainMenu() << "mmenu.htm";
    QTest::newRow("company page") << FramePages::companyPage() << "compinfo.htm";
    QTest::newRow("store page") << FramePages::storePage() << "ols.htm";
    QTest::newRow("products menu") << FramePages::productsMenu(site) << "m_products.htm";
}

void TestFramePages::writesExactText() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const QByteArray actual = text.toUtf8();
    const QByteArray wanted = expectedFile(kExpected + expected);
    QVERIFY2(actual == wanted, firstDifference(actual, wanted).constData());
}

// The lines between the "On-Line Store" heading and the "Do Your self" link.
void TestFramePages::productsMenuLinksEveryCategory_data() {
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("links");
    QTest::newRow("no categories") << QStringList() << "";
    QTest::newRow("double quote")
        << QStringList{"12\" Pipes"}
        << "<p align='left'><a href='l_12&quot; Pipes.htm'>12&quot; Pipes </a></p>\r\n";
    QTest::newRow("markup and fragment")
        << QStringList{"<Sale> #1"}
        << "<p align='left'><a href='l_&lt;Sale&gt; %231.htm'>&lt;Sale&gt; #1 </a></p>\r\n";
    QTest::newRow("leading digit, ampersand")
        << QStringList{"3D", "Nuts & Bolts"}
        << "<p align='left'><a href='l_3D.htm'>3D </a></p>\r\n"
           "<p align='left'><a href='l_Nuts &amp; Bolts.htm'>Nuts &amp; Bolts </a></p>\r\n";
}

void TestFramePages::productsMenuLinksEveryCategory() {
    QFETCH(QStringList, names);
    QFETCH(QString, links);
    SiteInput input;
    for (const QString& name : names)
        input.categories << SiteCategory{name, {}};
    const QString menu = FramePages::productsMenu(input);
    const QString heading = QStringLiteral("<p>On-Line Store</p>\r\n");
    const qsizetype from = menu.indexOf(heading) + heading.size();
    const qsizetype to = menu.indexOf(QStringLiteral("<p align='left'><a href='complect.htm'>"));
    QVERIFY(from >= heading.size() && to >= from);
    QCOMPARE(menu.mid(from, to - from), links);
}

QTEST_GUILESS_MAIN(TestFramePages)
#include "test_frame_pages.moc"
