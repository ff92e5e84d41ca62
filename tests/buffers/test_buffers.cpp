// The picture buffer, the MP3 buffer and the catalogs: what they hold, the
// spill files of a full picture buffer, the pages they show and the files
// they are saved as.

#include "buffers/BufferFile.h"
#include "buffers/Catalogs.h"
#include "buffers/Mp3Buffer.h"
#include "buffers/PictureBuffer.h"
#include "support/ExpectedFile.h"
#include "support/ScriptedPrompts.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kHtmlFilter =
    QStringLiteral("HTML file (*.htm;*.html)|*.htm;*.html|Text File (*.txt;*.rtf)|*.txt;*.rtf");

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
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write(QByteArray(5000, 'x')) == 5000);
}

} // namespace

class TestBuffers : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pictureBufferSpillsToNumberedFiles();
    void pagesAndSavedFiles();

private:
    QTemporaryDir m_dir;
};

// Repeats are dropped (letter case counts). The 401st picture sends the
// first 400 to bufer0.htm, replacing a file from before, and starts the
// buffer again; a full buffer spills before the repeat test.
void TestBuffers::pictureBufferSpillsToNumberedFiles() {
    QStringList list;
    PictureBuffer buffer(list, m_dir.path());
    for (const char* name : {"a.jpg", "b.png", "a.jpg", "A.jpg", "b.png"})
        buffer.add(QStringLiteral("http://shop.test/") + name);
    buffer.remove("http://shop.test/a.jpg");
    QCOMPARE(list, QStringList({"http://shop.test/b.png", "http://shop.test/A.jpg"}));

    list.clear();
    writeOld(m_dir.filePath("bufer0.htm"));
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
// it is and a file there is replaced; cancelled or unwritable saves nothing.
void TestBuffers::pagesAndSavedFiles() {
    QStringList list;
    PictureBuffer pictures(list, m_dir.path());
    pictures.add("http://shop.test/a.jpg");
    pictures.add("http://shop.test/b.png");
    Catalogs catalogs;
    for (const int entry : {-1, 20, 21}) {
        catalogs.addPicture(entry, "http://shop.test/shoes/red.jpg");
        catalogs.addPicture(entry, "http://shop.test/shoes/blue.gif");
    }
    QVERIFY(catalogs.at(-1).isEmpty() && catalogs.at(21).isEmpty() && catalogs.at(19).isEmpty());
    Mp3Buffer mp3;
    for (const char* sound : {"live.ram", "live.ram", "NEWS.RAM"})
        mp3.add("http://radio.test/" + QString::fromLatin1(sound));
    const QStringList pages =
        QString::fromUtf8(expectedFile("buffers/expected/pages.txt", false)).split('\n');
    QCOMPARE(pictures.reportHtml(), pages[0]);
    QCOMPARE(catalogs.pageHtml(20), pages[1]);
    QCOMPARE(mp3.pageHtml(), pages[2]);

    const QString target = m_dir.filePath("saved.prv");
    const QList<std::pair<QString, QString>> files = {{catalogs.fileText(20), "catalog_save.htm"},
                                                      {mp3.fileText(), "mp3_save.htm"},
                                                      {pictures.fileText(), "image_buf_save.htm"}};
    for (const auto& [text, expected] : files) {
        writeOld(target);
        ScriptedPrompts prompts;
        prompts.expect(ScriptedPrompts::Kind::SaveFile, kHtmlFilter, target);
        QVERIFY(BufferFile::save(text, kHtmlFilter, prompts, m_dir.path()));
        QCOMPARE(fileBytes(target), expectedFile("buffers/expected/" + expected));
    }
    catalogs.clear(20);
    QVERIFY(catalogs.at(20).isEmpty());

    ScriptedPrompts prompts;
    prompts.expect(ScriptedPrompts::Kind::SaveFile, kHtmlFilter, {}, true)
        .expect(ScriptedPrompts::Kind::SaveFile, kHtmlFilter, m_dir.filePath("no/folder/x.htm"));
    QVERIFY(!BufferFile::save("text", kHtmlFilter, prompts, m_dir.path()));
    QVERIFY(!BufferFile::save("text", kHtmlFilter, prompts, m_dir.path()));

    // In the private zone pictures are saved as private collections; sounds never.
    using Kind = BufferFile::Kind;
    const QString privateFilter = QStringLiteral("Private collection file (*.prv)|*.prv");
    QCOMPARE(BufferFile::dialogFilter(Kind::Catalog, true), privateFilter);
    QCOMPARE(BufferFile::dialogFilter(Kind::Mp3, true), kHtmlFilter);
}

QTEST_GUILESS_MAIN(TestBuffers)
#include "test_buffers.moc"
