#include "sitegen/PageFileWriter.h"
#include "support/ExpectedFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestPageFileWriter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writesPagesAndFiles();
    void refusesNamesOutsideTheFolder_data();
    void refusesNamesOutsideTheFolder();
    void reportsMissingFolder();
};

void TestPageFileWriter::writesPagesAndFiles() {
    QTemporaryDir dir;
    const QString page = dir.filePath(QStringLiteral("1.htm"));
    QFile old(page);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("an earlier, longer page text\r\n");
    old.close();

    PageFileWriter writer(dir.path());
    writer.writePage(QStringLiteral("1"), QStringLiteral("<html>\r\nPreis: 9 €</html>"));
    writer.writeFile(QStringLiteral("data1.js"), QStringLiteral("a\r\n"));

    QCOMPARE(fileBytes(page), QByteArray("<html>\r\nPreis: 9 \xE2\x82\xAC</html>\r\n"));
    QCOMPARE(fileBytes(dir.filePath(QStringLiteral("data1.js"))), QByteArray("a\r\n"));
    QCOMPARE(writer.written(),
             QStringList({QDir(dir.path()).absoluteFilePath(QStringLiteral("1.htm")),
                          QDir(dir.path()).absoluteFilePath(QStringLiteral("data1.js"))}));
    QVERIFY(writer.failures().isEmpty());
}

void TestPageFileWriter::refusesNamesOutsideTheFolder_data() {
    QTest::addColumn<QString>("name");
    for (const char* name : {"../escape.htm", "sub/page.htm", "..\\escape.htm", "..", ".", ""})
        QTest::addRow("'%s'", name) << name;
}

void TestPageFileWriter::refusesNamesOutsideTheFolder() {
    QFETCH(QString, name);
    QTemporaryDir parent;
    QVERIFY(QDir(parent.path()).mkpath(QStringLiteral("site/sub")));
    const QString site = parent.filePath(QStringLiteral("site"));

    PageFileWriter writer(site);
    writer.writeFile(name, QStringLiteral("x"));

    QVERIFY(writer.written().isEmpty());
    QCOMPARE(writer.failures().size(), 1);
    QVERIFY2(writer.failures().first().startsWith(QStringLiteral("Could not write ")),
             qPrintable(writer.failures().first()));
    QCOMPARE(QDir(parent.path()).entryList(QDir::Files), QStringList());
    QCOMPARE(QDir(site).entryList(QDir::Files), QStringList());
    QCOMPARE(QDir(site + QStringLiteral("/sub")).entryList(QDir::Files), QStringList());
}

void TestPageFileWriter::reportsMissingFolder() {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("no such folder"));
    PageFileWriter writer(missing);
    writer.writePage(QStringLiteral("1"), QStringLiteral("text"));

    QVERIFY(writer.written().isEmpty());
    const QString prefix = QStringLiteral("Could not write %1/1.htm: ").arg(missing);
    QCOMPARE(writer.failures().size(), 1);
    QVERIFY2(writer.failures().first().startsWith(prefix), qPrintable(writer.failures().first()));
    QVERIFY(!QFileInfo::exists(missing));
}

QTEST_GUILESS_MAIN(TestPageFileWriter)
#include "test_page_file_writer.moc"
