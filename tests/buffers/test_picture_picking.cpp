// Pictures collected from the pages the user views, frames included, and
// pictures picked by a double-click into a catalog or the store generator.

#include "buffers/Catalogs.h"
#include "buffers/PictureBuffer.h"
#include "buffers/PictureCollector.h"
#include "buffers/PictureDoubleClick.h"
#include "harvest/HarvestState.h"
#include "web/DocumentSnapshot.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kShop = QStringLiteral("http://shop.test/");

DocumentSnapshot page(const QStringList& links, const QStringList& images,
                      const QString& bodyTag = QStringLiteral("BODY")) {
    DocumentSnapshot document;
    document.url = kShop + "page.htm";
    document.bodyTagName = bodyTag;
    for (const QString& link : links)
        document.links.append({kShop + link, link});
    for (const QString& image : images)
        document.imageSources.append(kShop + image);
    return document;
}

QStringList onShop(const QStringList& names) {
    QStringList urls;
    for (const QString& name : names)
        urls << kShop + name;
    return urls;
}

} // namespace

class TestPicturePicking : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void collectsPicturesAndArmedLinks();
    void doubleClick_data();
    void doubleClick();

private:
    QTemporaryDir m_dir;
};

// Links to .jpg or .gif files (any letter case) and every image's source,
// page first, then each frame in order; a frameset's own links do not
// count. Armed by "Get/Add all Links", the pass hands every link to the
// link list: those of the page and of its first frame (whose pass disarms
// it), and only once.
void TestPicturePicking::collectsPicturesAndArmedLinks() {
    QStringList list;
    PictureBuffer buffer(list, m_dir.path());
    HarvestState harvest;
    DocumentSnapshot first =
        page({"first.htm", "first.JPG", "b.Gif?size=2", "first.JPG"}, {"first.png"});
    first.frames = {page({"inner.htm"}, {"inner.png"})};
    DocumentSnapshot frameset = page({"frameset.jpg"}, {"frameset.png"}, "FRAMESET");
    frameset.frames = {first, page({"second.jpg"}, {})};
    QCOMPARE(PictureCollector(buffer, harvest).collect(frameset),
             QStringLiteral("Found - 5 pictures ! "));
    QCOMPARE(list, onShop({"first.JPG", "b.Gif?size=2", "first.png", "inner.png", "second.jpg"}));
    QVERIFY(harvest.linkList.isEmpty());

    harvest.linksArmed = true;
    DocumentSnapshot document = page({"about.htm", "a.jpg"}, {});
    document.frames = {first, page({"second.htm"}, {})};
    PictureCollector(buffer, harvest).collect(document);
    QCOMPARE(harvest.linkList,
             onShop({"about.htm", "a.jpg", "first.htm", "first.JPG", "b.Gif?size=2", "inner.htm"}));
    QVERIFY(!harvest.linksArmed);
    PictureCollector(buffer, harvest).collect(page({"later.htm"}, {}));
    QCOMPARE(harvest.linkList.size(), 6);
}

void TestPicturePicking::doubleClick_data() {
    QTest::addColumn<bool>("inView1");
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("generatorShown");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("words");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("catalog"); // the catalog that gets the picture, or -1

    using O = PictureDoubleClick::Outcome;
    const QString picture = kShop + "a.jpg";
    const auto row = [](const char* name, bool view1, const QString& address, bool generator,
                        int entry, const char* words, O outcome, int catalog) {
        QTest::newRow(name) << view1 << address << generator << entry << QString(words)
                            << int(outcome) << catalog;
    };
    row("view 1, first entry", true, picture, false, 0, "shoes", O::AddedToCatalog, 0);
    row("entry 20, view 2", false, picture, false, 20, "caps", O::AddedToCatalog, 20);
    row("generator shown", true, picture, true, 0, "shoes", O::ToGenerator, -1);
    row("generator shown, view 2", false, picture, true, 2, "shoes", O::AddedToCatalog, 2);
    row("no entry", true, picture, false, -1, "typed", O::NoCatalogName, -1);
    row("empty text", false, picture, false, 4, "", O::NoCatalogName, -1);
    row("nothing picked", true, "", false, 0, "shoes", O::Ignored, -1);
    // Addresses a page could use to carry markup or script along.
    row("quoted address", true, kShop + "a.jpg' onerror='x", false, 0, "shoes", O::Ignored, -1);
    row("script address", true, "javascript:alert(1)//.jpg", false, 0, "shoes", O::Ignored, -1);
}

// The picked picture always leaves the picture buffer; it joins at most one
// catalog. An address refused leaves everything as it was.
void TestPicturePicking::doubleClick() {
    QFETCH(bool, inView1);
    QFETCH(QString, address);
    QFETCH(bool, generatorShown);
    QFETCH(int, entry);
    QFETCH(QString, words);
    QFETCH(int, outcome);
    QFETCH(int, catalog);
    QStringList list;
    PictureBuffer buffer(list, m_dir.path());
    buffer.add(kShop + "a.jpg");
    buffer.add(kShop + "b.jpg");
    Catalogs catalogs;
    PictureDoubleClick pick(buffer, catalogs);
    QCOMPARE(int(pick.run({inView1, address, generatorShown, entry, words})), outcome);
    QCOMPARE(list, QStringList({kShop + "a.jpg", kShop + "b.jpg"})
                       .mid(outcome == int(PictureDoubleClick::Outcome::Ignored) ? 0 : 1));
    for (int i = 0; i < Catalogs::kCount; ++i)
        QCOMPARE(catalogs.at(i), i == catalog ? "<img src='" + address + "'>" : QString());
}

QTEST_GUILESS_MAIN(TestPicturePicking)
#include "test_picture_picking.moc"
