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

// A page of two frames, the first with a frame of its own, all inside a
// frameset whose own links do not count.
DocumentSnapshot framedPage() {
    DocumentSnapshot inner = page({"inner.htm", "inner.GIF"}, {"inner.png"});
    DocumentSnapshot first = page({"first.htm", "first.JPG"}, {"first.png"});
    first.frames = {inner};
    DocumentSnapshot second = page({"second.htm", "second.jpg"}, {"second.png"});
    DocumentSnapshot frameset = page({"frameset.jpg"}, {"frameset.png"}, "FRAMESET");
    frameset.frames = {first, second};
    return frameset;
}

} // namespace

class TestPicturePicking : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void collectsPicturesOfPageAndFrames();
    void armedLinksGoToTheLinkList();
    void doubleClick_data();
    void doubleClick();

private:
    QTemporaryDir m_dir;
};

// Links to .jpg or .gif files (any letter case) and every image's source,
// page first, then each frame in order.
void TestPicturePicking::collectsPicturesOfPageAndFrames() {
    QStringList list;
    PictureBuffer buffer(list, m_dir.path());
    HarvestState harvest;
    DocumentSnapshot document = page({"a.jpg", "about.htm", "b.Gif?size=2", "a.jpg"}, {"logo.png"});
    QCOMPARE(PictureCollector(buffer, harvest).collect(document),
             QStringLiteral("Found - 3 pictures ! "));
    QCOMPARE(list, onShop({"a.jpg", "b.Gif?size=2", "logo.png"}));
    QVERIFY(harvest.linkList.isEmpty());

    list.clear();
    QCOMPARE(PictureCollector(buffer, harvest).collect(framedPage()),
             QStringLiteral("Found - 6 pictures ! "));
    QCOMPARE(list, onShop({"first.JPG", "first.png", "inner.GIF", "inner.png", "second.jpg",
                           "second.png"}));
}

// Armed by "Get/Add all Links", the pass hands every link, pictures too, to
// the filtered add: those of the page and of its first frame (the pass over
// that frame disarms it), and only once.
void TestPicturePicking::armedLinksGoToTheLinkList() {
    QStringList list;
    PictureBuffer buffer(list, m_dir.path());
    HarvestState harvest;
    harvest.linksArmed = true;
    DocumentSnapshot document = page({"about.htm", "a.jpg", "help/plans.htm"}, {});
    DocumentSnapshot first = page({"first.htm"}, {});
    first.frames = {page({"inner.htm"}, {})};
    document.frames = {first, page({"second.htm"}, {})};
    PictureCollector(buffer, harvest).collect(document);
    QCOMPARE(harvest.linkList, onShop({"about.htm", "a.jpg", "first.htm", "inner.htm"}));
    QVERIFY(!harvest.linksArmed);

    PictureCollector(buffer, harvest).collect(page({"later.htm"}, {}));
    QCOMPARE(harvest.linkList.size(), 4);
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
    row("beyond the catalogs", true, picture, false, 21, "x", O::NoCatalogName, -1);
    row("nothing picked", true, "", false, 0, "shoes", O::Ignored, -1);
    // Addresses a page could use to carry markup or script along.
    row("quoted address", true, kShop + "a.jpg' onerror='x", false, 0, "shoes", O::Ignored, -1);
    row("angle brackets", true, kShop + "<b>.jpg", true, 0, "shoes", O::Ignored, -1);
    row("script address", true, "javascript:alert(1)//.jpg", false, 0, "shoes", O::Ignored, -1);
    row("local file", true, "file:///etc/hostname", true, 0, "shoes", O::Ignored, -1);
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
    QCOMPARE(list.contains(kShop + "a.jpg"), outcome == int(PictureDoubleClick::Outcome::Ignored));
    QVERIFY(list.contains(kShop + "b.jpg"));
    for (int i = 0; i < Catalogs::kCount; ++i)
        QCOMPARE(catalogs.at(i), i == catalog ? "<img src='" + address + "'>" : QString());
}

QTEST_GUILESS_MAIN(TestPicturePicking)
#include "test_picture_picking.moc"
