// The picture buffer, the MP3 buffer and the catalogs: what they hold, the
// spill files of a full picture buffer, the pages they show and the files
// they are saved as; pictures collected from the pages the user views, and
// pictures picked by a double-click into a catalog or the store generator.

#include "browser/PictureCollector.h"
#include "buffers/BufferFile.h"
#include "buffers/Catalogs.h"
#include "buffers/Mp3Buffer.h"
#include "buffers/PictureBuffer.h"
#include "buffers/PictureDoubleClick.h"
#include "harvest/DocumentSnapshot.h"
#include "harvest/HarvestState.h"
#include "support/ExpectedFile.h"
#include "support/ScriptedPrompts.h"

#include <QtTest>

namespace {

const QString kShop = QStringLiteral("http://shop.test/");
const QString kHtmlFilter =
    QStringLiteral("HTML file (*.htm;*.html)|*.htm;*.html|Text File (*.txt;*.rtf)|*.txt;*.rtf");

QString picture(int n) {
    return kShop + QStringLiteral("p%1.jpg").arg(n);
}

// The spill file of these pictures, as one line.
QByteArray spillLine(int first, int count) {
    QByteArray line = QByteArray("<html>") + kNoScriptMeta + "<body>";
    for (int n = first; n < first + count; ++n)
        line += "<img src='" + picture(n).toUtf8() + "'>";
    return line + "</body></html>\r\n";
}

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

} // namespace

class TestBuffers : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:

    // Repeats are dropped (letter case counts). The 401st picture sends the
    // first 400 to bufer0.htm, replacing a file from before, and starts the
    // buffer again; a full buffer spills before the repeat test.
    void pictureBufferSpillsToNumberedFiles() {
        QStringList list;
        PictureBuffer buffer(list, m_dir.path());
        for (const char* name : {"a.jpg", "b.png", "a.jpg", "A.jpg", "b.png"})
            buffer.add(kShop + name);
        buffer.remove(kShop + "a.jpg");
        QCOMPARE(list, QStringList({kShop + "b.png", kShop + "A.jpg"}));

        list.clear();
        writeBytes(m_dir.filePath("bufer0.htm"), QByteArray(5000, 'x')); // a file from before
        for (int n = 0; n < 400; ++n)
            buffer.add(picture(n));
        QCOMPARE(list.size(), 400);
        buffer.add(picture(400));
        QCOMPARE(list, QStringList({picture(400)}));
        QCOMPARE(fileBytes(m_dir.filePath("bufer0.htm")), spillLine(0, 400));
        for (int n = 401; n < 800; ++n)
            buffer.add(picture(n));
        buffer.add(picture(400));
        QCOMPARE(list, QStringList({picture(400)}));
        QCOMPARE(buffer.spillCount(), 2);
        QCOMPARE(fileBytes(m_dir.filePath("bufer1.htm")), spillLine(400, 400));

        // A spill that cannot be written still empties the buffer.
        PictureBuffer lost(list, m_dir.filePath("missing/folder"));
        for (int n = 0; n < 400; ++n)
            lost.add(picture(n));
        QCOMPARE(list, QStringList({picture(399)}));
    }

    // Each buffer's page and saved file, the last of the 21 catalogs included;
    // positions outside them name no catalog. The chosen file name is used as
    // it is; cancelled or unwritable saves nothing.
    void pagesAndSavedFiles() {
        QStringList list;
        PictureBuffer pictures(list, m_dir.path());
        pictures.add("http://shop.test/a.jpg");
        pictures.add("http://shop.test/b.png");
        Catalogs catalogs;
        for (const int entry : {-1, 20, 21}) {
            catalogs.addPicture(entry, "http://shop.test/shoes/red.jpg");
            catalogs.addPicture(entry, "http://shop.test/shoes/blue.gif");
        }
        QVERIFY(catalogs.at(-1).isEmpty() && catalogs.at(21).isEmpty() &&
                catalogs.at(19).isEmpty());
        Mp3Buffer mp3;
        for (const char* sound : {"live.ram", "live.ram", "NEWS.RAM"})
            mp3.add("http://radio.test/" + QString::fromLatin1(sound));
        const QStringList pages =
            QString::fromUtf8(expectedFile("buffers/expected/pages.txt", false)).split('\n');
        QCOMPARE(QStringList({pictures.reportHtml(), catalogs.pageHtml(20), mp3.pageHtml()}),
                 pages.mid(0, 3));

        const QString target = m_dir.filePath("saved.prv");
        const QList<std::pair<QString, QString>> files = {
            {catalogs.fileText(20), "catalog_save.htm"},
            {mp3.fileText(), "mp3_save.htm"},
            {pictures.fileText(), "image_buf_save.htm"}};
        for (const auto& [text, expected] : files) {
            ScriptedPrompts prompts;
            prompts.expect(ScriptedPrompts::Kind::SaveFile, kHtmlFilter, target);
            QVERIFY(BufferFile::save(text, kHtmlFilter, prompts, m_dir.path()));
            QCOMPARE(fileBytes(target), expectedFile("buffers/expected/" + expected));
        }
        catalogs.clear(20);
        QVERIFY(catalogs.at(20).isEmpty());

        // Cancel writes nothing; a file that cannot be written is named.
        ScriptedPrompts prompts;
        const QString unwritable = m_dir.filePath("no/folder/x.htm");
        prompts.expect(ScriptedPrompts::Kind::SaveFile, kHtmlFilter, {}, true)
            .expect(ScriptedPrompts::Kind::SaveFile, kHtmlFilter, unwritable)
            .expectMessage("Could not save " + unwritable + ": ");
        QVERIFY(!BufferFile::save("text", kHtmlFilter, prompts, m_dir.path()));
        QVERIFY(!BufferFile::save("text", kHtmlFilter, prompts, m_dir.path()));
        QVERIFY(prompts.done());

        // In the private zone pictures are saved as private collections; sounds never.
        using Kind = BufferFile::Kind;
        const QString privateFilter = QStringLiteral("Private collection file (*.prv)|*.prv");
        QCOMPARE(BufferFile::dialogFilter(Kind::Catalog, true), privateFilter);
        QCOMPARE(BufferFile::dialogFilter(Kind::Mp3, true), kHtmlFilter);
    }

    // Links to .jpg or .gif files (any letter case) and every image's source,
    // page first, then each frame in order; a frameset's own links do not
    // count. Armed by "Get/Add all Links", the pass hands every link to the
    // link list: those of the page and of its first frame (whose pass disarms
    // it), and only once.
    void collectsPicturesAndArmedLinks() {
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
        QCOMPARE(
            QStringList(list).replaceInStrings(kShop, ""),
            QStringList({"first.JPG", "b.Gif?size=2", "first.png", "inner.png", "second.jpg"}));
        QVERIFY(harvest.linkList.isEmpty());

        harvest.linksArmed = true;
        DocumentSnapshot document = page({"about.htm", "a.jpg"}, {});
        document.frames = {first, page({"second.htm"}, {})};
        PictureCollector(buffer, harvest).collect(document);
        QCOMPARE(QStringList(harvest.linkList).replaceInStrings(kShop, ""),
                 QStringList({"about.htm", "a.jpg", "first.htm", "first.JPG", "b.Gif?size=2",
                              "inner.htm"}));
        PictureCollector(buffer, harvest).collect(page({"later.htm"}, {}));
        QCOMPARE(harvest.linkList.size(), 6);
    }

    // In view 1 or 2 (with the store generator shown or not), the last
    // catalog, no catalog chosen, empty words, and addresses a page could use
    // to carry markup or script along. The picked picture always leaves the
    // picture buffer; it joins at most one catalog. An address refused leaves
    // everything as it was.
    void doubleClick() {
        using O = PictureDoubleClick::Outcome;
        const QString a = kShop + "a.jpg";
        for (const auto& [inView1, address, generatorShown, entry, words, outcome] :
             {std::tuple<bool, QString, bool, int, QString, O>{false, a, false, 20, "caps",
                                                               O::AddedToCatalog},
              {true, a, true, 0, "shoes", O::ToGenerator},
              {false, a, true, 2, "shoes", O::AddedToCatalog},
              {true, a, false, -1, "typed", O::NoCatalogName},
              {false, a, false, 4, "", O::NoCatalogName},
              {true, a + "'onerror='x", false, 0, "shoes", O::Ignored},
              {true, "javascript:alert(1)//.jpg", false, 0, "s", O::Ignored}}) {
            QStringList list;
            PictureBuffer buffer(list, m_dir.path());
            buffer.add(kShop + "a.jpg");
            buffer.add(kShop + "b.jpg");
            Catalogs catalogs;
            QCOMPARE(PictureDoubleClick(buffer, catalogs)
                         .run({inView1, address, generatorShown, entry, words}),
                     outcome);
            QCOMPARE(list.contains(kShop + "a.jpg"), outcome == O::Ignored);
            const int catalog = outcome == O::AddedToCatalog ? entry : -1;
            for (int i = 0; i < Catalogs::kCount; ++i)
                QCOMPARE(catalogs.at(i), i == catalog ? "<img src='" + address + "'>" : QString());
        }
    }
};

QTEST_GUILESS_MAIN(TestBuffers)
#include "test_buffers.moc"
