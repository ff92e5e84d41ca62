#include "platform/FileFilter.h"
#include "platform/TextFile.h"
#include "support/ExpectedFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString writeBytes(const QTemporaryDir& dir, const QByteArray& bytes) {
    const QString path = dir.filePath(QStringLiteral("list.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

} // namespace

class TestTextFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsLines_data();
    void readsLines();
    void readsLegacyAndUtf8Text_data();
    void readsLegacyAndUtf8Text();
    void writesLinesWithCrLf();
    void missingFileOrFolderFailsCleanly();
    void convertsFileFilters_data();
    void convertsFileFilters();
};

void TestTextFile::readsLines_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("CR LF") << QByteArray("one\r\ntwo\r\n") << QStringList{"one", "two"};
    QTest::newRow("LF") << QByteArray("one\ntwo\n") << QStringList{"one", "two"};
    QTest::newRow("last line without line end")
        << QByteArray("one\r\ntwo") << QStringList{"one", "two"};
    QTest::newRow("empty lines are kept")
        << QByteArray("\r\none\r\n\r\n") << QStringList{"", "one", ""};
    QTest::newRow("empty file") << QByteArray() << QStringList();
}

void TestTextFile::readsLines() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    const auto read = TextFile::readLines(writeBytes(dir, bytes));
    QVERIFY(read.has_value());
    QCOMPARE(*read, lines);
}

void TestTextFile::readsLegacyAndUtf8Text_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("UTF-8") << QByteArray("caf\xC3\xA9 \xE2\x82\xAC") << QStringLiteral("café €");
    QTest::newRow("UTF-8 with byte order mark") << QByteArray("\xEF\xBB\xBF"
                                                              "caf\xC3\xA9")
                                                << QStringLiteral("café");
    QTest::newRow("Windows-1252") << QByteArray("\x80 5 caf\xE9 \x93quoted\x94")
                                  << QStringLiteral("€ 5 café “quoted”");
    QTest::newRow("Windows-1252, last byte above 0x7F")
        << QByteArray("caf\xE9") << QStringLiteral("café");
    QTest::newRow("Windows-1252 accented line end")
        << QByteArray("Ren\xE9\r\nZ\xFCrich\r\n") << QStringLiteral("René\r\nZürich\r\n");
}

void TestTextFile::readsLegacyAndUtf8Text() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QTemporaryDir dir;
    const auto read = TextFile::readText(writeBytes(dir, bytes));
    QVERIFY(read.has_value());
    QCOMPARE(*read, text);
}

void TestTextFile::writesLinesWithCrLf() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.txt"));
    QVERIFY(TextFile::writeText(path, QStringLiteral("old, longer content")).isEmpty());
    QCOMPARE(TextFile::writeLines(path, {QStringLiteral("Café"), QString(), QStringLiteral("b")}),
             QString());
    QCOMPARE(fileBytes(path), QByteArray("Caf\xC3\xA9\r\n\r\nb\r\n"));
    QCOMPARE(*TextFile::readLines(path), QStringList({"Café", "", "b"}));

    QCOMPARE(TextFile::writeLines(path, {}), QString());
    QCOMPARE(fileBytes(path), QByteArray());
}

void TestTextFile::missingFileOrFolderFailsCleanly() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("missing/list.txt"));
    QVERIFY(!TextFile::readLines(path).has_value());
    QVERIFY(!TextFile::readText(path).has_value());
    QVERIFY(!TextFile::writeLines(path, {QStringLiteral("x")}).isEmpty());
    QVERIFY(!TextFile::writeText(path, QStringLiteral("x")).isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void TestTextFile::convertsFileFilters_data() {
    QTest::addColumn<QString>("pipeFilter");
    QTest::addColumn<QString>("qtFilter");

    QTest::newRow("two filters") << "Web pages (*.htm)|*.htm|All files (*.*)|*.*"
                                 << "Web pages (*.htm);;All files (*.*)";
    QTest::newRow("description without patterns") << "Text files|*.txt"
                                                  << "Text files (*.txt)";
    QTest::newRow("several patterns") << "Pictures|*.jpg;*.gif"
                                      << "Pictures (*.jpg *.gif)";
}

void TestTextFile::convertsFileFilters() {
    QFETCH(QString, pipeFilter);
    QFETCH(QString, qtFilter);
    QCOMPARE(qtFileFilter(pipeFilter), qtFilter);
}

QTEST_GUILESS_MAIN(TestTextFile)
#include "test_text_file.moc"
