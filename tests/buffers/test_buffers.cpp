// The picture buffer, the MP3 buffer and the catalogs: what they hold, the
// spill files of a full picture buffer, the pages they show and the files
// they are saved as.

#include "buffers/BufferFile.h"
#include "buffers/Catalogs.h"
#include "buffers/Mp3Buffer.h"
#include "buffers/PictureBuffer.h"
#include "support/ExpectedFile.h"
#include "support/ScriptedPrompts.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kHtmlFilter =
    QStringLiteral("HTML file (*.htm;*.html)|*.htm;*.html|Text File (*.txt;*.rtf)|*.txt;*.rtf");
const QString kPrivateFilter = QStringLiteral("Private collection file (*.prv)|*.prv");

QString picture(int n) {
    return QStringLiteral("http://shop.test/p%1.jpg").arg(n);
}

// The spill file of these pictures, as one line.
QByteArray spillLine(int first, int count) {
    QByteArray line = QByteArray("<html>") + kNoScriptMeta + "<body>";
    for (int n = first; n < first + count; ++n)
        line += "<img src='" + picture(n).toUtf8() + "'>";
    return line + "</body></html>\r\n";
}

// A file from before, to be replaced.
void writeOld(const QString& path) {
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(5000, 'x'));
}

QStringList expectedPages() {
    return QString::fromUtf8(expectedFile("buffers/expected/pages.txt", false))
        .split('\n', Qt::SkipEmptyParts);
}

// Two pictures, two in one catalog and two sounds (one added twice).
struct FilledBuffers {
    FilledBuffers(const QString& folder, int catalog) : pictures(list, folder) {
        pictures.add("http://shop.test/a.jpg");
        pictures.add("http://shop.test/b.png");
        catalogs.addPicture(catalog, "http://shop.test/shoes/red.jpg");
        catalogs.addPicture(catalog, "http://shop.test/shoes/blue.gif");
        for (const char* sound : {"live.ram", "live.ram", "NEWS.RAM"})
            mp3.add("http://radio.test/" + QString::fromLatin1(sound));
    }
    QStringList list;
    PictureBuffer pictures;
    Catalogs catalogs;
    Mp3Buffer mp3;
};

} // namespace

class TestBuffers : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void duplicatesAndRemoval();
    void fullBufferSpillsToNumberedFiles();
    void catalogsByEntry();
    void pagesShown();
    void savedFiles_data();
    void savedFiles();
    void saveDialogFilters();

private:
    QString path(const QString& name) const { return QDir(m_dir->path()).filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestBuffers::init() {
    m_dir = std::make_unique<QTemporaryDir>();
}

void TestBuffers::duplicatesAndRemoval() {
    QStringList list;
    PictureBuffer buffer(list, m_dir->path());
    buffer.add("http://shop.test/a.jpg");
    buffer.add("http://shop.test/b.png");
    buffer.add("http://shop.test/a.jpg");
    buffer.add("http://shop.test/A.jpg"); // the comparison is case-sensitive
    QCOMPARE(list, QStringList({"http://shop.test/a.jpg", "http://shop.test/b.png",
                                "http://shop.test/A.jpg"}));
    buffer.remove("http://shop.test/a.jpg");
    buffer.remove("http://shop.test/none.jpg");
    QCOMPARE(list, QStringList({"http://shop.test/b.png", "http://shop.test/A.jpg"}));
}

// The 401st picture sends the first 400 to bufer0.htm and starts the buffer
// again; the next full buffer goes to bufer1.htm. A file of that name from
// before is replaced.
void TestBuffers::fullBufferSpillsToNumberedFiles() {
    writeOld(path("bufer0.htm"));

    QStringList list;
    PictureBuffer buffer(list, m_dir->path());
    for (int n = 0; n < 400; ++n)
        buffer.add(picture(n));
    QCOMPARE(list.size(), 400);
    QCOMPARE(buffer.spillCount(), 0);
    QVERIFY(fileBytes(path("bufer0.htm")).startsWith("xxxxx"));

    buffer.add(picture(400));
    QCOMPARE(list, QStringList({picture(400)}));
    QCOMPARE(buffer.spillCount(), 1);
    QCOMPARE(fileBytes(path("bufer0.htm")), spillLine(0, 400));

    for (int n = 401; n < 800; ++n)
        buffer.add(picture(n));
    // A full buffer spills before the duplicate test: a picture already
    // listed starts the next buffer.
    buffer.add(picture(400));
    QCOMPARE(list, QStringList({picture(400)}));
    QCOMPARE(fileBytes(path("bufer1.htm")), spillLine(400, 400));
    QCOMPARE(fileBytes(path("bufer0.htm")), spillLine(0, 400));
    QVERIFY(!QFile::exists(path("bufer2.htm")));

    // A spill that cannot be written still empties the buffer.
    list.clear();
    PictureBuffer lost(list, path("missing/folder"));
    for (int n = 0; n < 401; ++n)
        lost.add(picture(n));
    QCOMPARE(list, QStringList({picture(400)}));
}

// Every one of the 21 catalogs, the last two included, takes pictures;
// positions outside them name no catalog.
void TestBuffers::catalogsByEntry() {
    Catalogs catalogs;
    for (const int index : {0, 19, 20}) {
        catalogs.addPicture(index, "http://shop.test/x.jpg");
        catalogs.addPicture(index, "http://shop.test/y.jpg");
        QCOMPARE(
            catalogs.at(index),
            QStringLiteral("<img src='http://shop.test/x.jpg'><img src='http://shop.test/y.jpg'>"));
    }
    catalogs.addPicture(-1, "http://shop.test/lost.jpg");
    catalogs.addPicture(21, "http://shop.test/lost.jpg");
    QVERIFY(catalogs.at(-1).isEmpty() && catalogs.at(21).isEmpty() && catalogs.at(1).isEmpty());
    catalogs.clear(19);
    catalogs.clear(-1);
    QVERIFY(catalogs.at(19).isEmpty());
    QVERIFY(!catalogs.at(20).isEmpty());
}

void TestBuffers::pagesShown() {
    FilledBuffers filled(m_dir->path(), 3);
    const QStringList expected = expectedPages();
    QCOMPARE(expected.size(), 3);
    QCOMPARE(filled.pictures.reportHtml(), expected[0]);
    QCOMPARE(filled.catalogs.pageHtml(3), expected[1]);
    QCOMPARE(filled.mp3.pageHtml(), expected[2]);
    QCOMPARE(filled.catalogs.pageHtml(-1),
             QString("<html>") + kNoScriptMeta + "<body></body></html>");
}

void TestBuffers::savedFiles_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    FilledBuffers filled(m_dir->path(), 20);
    QTest::newRow("catalog") << filled.catalogs.fileText(20) << "catalog_save.htm";
    QTest::newRow("no catalog selected") << filled.catalogs.fileText(-1) << "catalog_save_none.htm";
    QTest::newRow("MP3") << filled.mp3.fileText() << "mp3_save.htm";
    QTest::newRow("image buf") << filled.pictures.fileText() << "image_buf_save.htm";
}

// The chosen name is used as it is, and a file there is replaced.
void TestBuffers::savedFiles() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const QString target = path("pictures.prv");
    writeOld(target);
    ScriptedPrompts prompts;
    prompts.expect(ScriptedPrompts::Kind::SaveFile, kHtmlFilter, target);
    QVERIFY(BufferFile::save(text, kHtmlFilter, prompts, m_dir->path()));
    QVERIFY(prompts.done());
    const QByteArray want = expectedFile("buffers/expected/" + expected);
    QVERIFY2(fileBytes(target) == want, firstDifference(fileBytes(target), want));
}

// In the private zone pictures are saved as private collections; sounds never.
void TestBuffers::saveDialogFilters() {
    using Kind = BufferFile::Kind;
    for (const Kind kind : {Kind::Catalog, Kind::Pictures, Kind::Mp3})
        QCOMPARE(BufferFile::dialogFilter(kind, false), kHtmlFilter);
    QCOMPARE(BufferFile::dialogFilter(Kind::Catalog, true), kPrivateFilter);
    QCOMPARE(BufferFile::dialogFilter(Kind::Pictures, true), kPrivateFilter);
    QCOMPARE(BufferFile::dialogFilter(Kind::Mp3, true), kHtmlFilter);

    // Cancelled or unwritable: nothing is saved.
    ScriptedPrompts prompts;
    prompts.expect(ScriptedPrompts::Kind::SaveFile, kHtmlFilter, {}, true);
    QVERIFY(!BufferFile::save("text", kHtmlFilter, prompts, m_dir->path()));
    QVERIFY(QDir(m_dir->path()).isEmpty());
    prompts.expect(ScriptedPrompts::Kind::SaveFile, kHtmlFilter, path("no/folder/x.htm"));
    QVERIFY(!BufferFile::save("text", kHtmlFilter, prompts, m_dir->path()));
}

QTEST_GUILESS_MAIN(TestBuffers)
#include "test_buffers.moc"
