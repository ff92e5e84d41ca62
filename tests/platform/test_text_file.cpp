#include "platform/FileFilter.h"
#include "platform/TextFile.h"
#include "support/ExpectedFile.h"

#include <QDir>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

class TestTextFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void reads_data();
    void reads();
    void writesLinesWithCrLf();
    void missingFileOrFolderFailsCleanly();
    void convertsFileFilters();
};

// Lines end in CR LF or LF; text is UTF-8 (with or without its mark) or
// else Windows-1252.
void TestTextFile::reads_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("LF, last line without line end")
        << QByteArray("one\ntwo") << "one\ntwo" << QStringList{"one", "two"};
    QTest::newRow("empty lines are kept") << QByteArray("\r\none\r\n\r\n") << "\r\none\r\n\r\n"
                                          << QStringList{"", "one", ""};
    QTest::newRow("UTF-8 with byte order mark")
        << QByteArray("\xEF\xBB\xBF"
                      "caf\xC3\xA9")
        << QStringLiteral("café") << QStringList{QStringLiteral("café")};
    QTest::newRow("Windows-1252") << QByteArray("\x80 5 caf\xE9 \x93quoted\x94")
                                  << QStringLiteral("€ 5 café “quoted”")
                                  << QStringList{QStringLiteral("€ 5 café “quoted”")};
}

void TestTextFile::reads() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    const QString path = dir.filePath("list.txt");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    QCOMPARE(TextFile::readText(path).value_or("<none>"), text);
    QCOMPARE(TextFile::readLines(path).value_or(QStringList{"<none>"}), lines);
}

void TestTextFile::writesLinesWithCrLf() {
    QTemporaryDir dir;
    const QString path = dir.filePath("list.txt");
    QVERIFY(TextFile::writeText(path, "old, longer content").isEmpty());
    QCOMPARE(TextFile::writeLines(path, {QStringLiteral("Café"), "", "b"}), QString());
    QCOMPARE(fileBytes(path), QByteArray("Caf\xC3\xA9\r\n\r\nb\r\n"));
}

void TestTextFile::missingFileOrFolderFailsCleanly() {
    QTemporaryDir dir;
    const QString path = dir.filePath("missing/list.txt");
    QVERIFY(!TextFile::readLines(path) && !TextFile::readText(path));
    QVERIFY(!TextFile::writeLines(path, {"x"}).isEmpty());
    QVERIFY(!TextFile::writeText(path, "x").isEmpty());
    QVERIFY(QDir(dir.path()).isEmpty());
}

void TestTextFile::convertsFileFilters() {
    QCOMPARE(qtFileFilter("Web pages (*.htm)|*.htm|All files (*.*)|*.*"),
             "Web pages (*.htm);;All files (*.*)");
    QCOMPARE(qtFileFilter("Pictures|*.jpg;*.gif"), "Pictures (*.jpg *.gif)");
}

QTEST_GUILESS_MAIN(TestTextFile)
#include "test_text_file.moc"
