#include "sitegen/PageFileWriter.h"
#include "support/ExpectedFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

namespace {

// While it lives, the system refuses to let this process write a file
// beyond `bytes`, as a full disk refuses any write.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_old);
        const rlimit limit{bytes, m_old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace

class TestPageFileWriter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writesPagesAndFiles();
    void refusesNamesOutsideTheFolder_data();
    void refusesNamesOutsideTheFolder();
    void reportsMissingFolder();
    void stopsAtTheFirstFailedWrite_data();
    void stopsAtTheFirstFailedWrite();
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

void TestPageFileWriter::stopsAtTheFirstFailedWrite_data() {
    QTest::addColumn<int>("size");
    QTest::newRow("held back until the file is closed") << 6000;
    QTest::newRow("written at once") << 40000;
    QTest::newRow("the line end is refused") << 4096;
}

// The system's reason is given, the earlier file stays whole, and nothing
// after the failure is written.
void TestPageFileWriter::stopsAtTheFirstFailedWrite() {
    QFETCH(int, size);
    QTemporaryDir dir;
    const QString page = dir.filePath(QStringLiteral("b.htm"));
    QFile old(page);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old page\r\n") == 10);
    old.close();

    PageFileWriter writer(dir.path());
    {
        const FileSizeLimit limit(4096);
        writer.writePage(QStringLiteral("a"), QStringLiteral("first"));
        writer.writePage(QStringLiteral("b"), QString(size, QLatin1Char('x')));
        writer.writePage(QStringLiteral("c"), QStringLiteral("third"));
    }
    QCOMPARE(writer.written(), QStringList{dir.filePath(QStringLiteral("a.htm"))});
    QCOMPARE(writer.failures(),
             QStringList{QStringLiteral("Could not write %1: File too large").arg(page)});
    QCOMPARE(fileBytes(page), QByteArray("old page\r\n"));
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("c.htm"))));
}

QTEST_GUILESS_MAIN(TestPageFileWriter)
#include "test_page_file_writer.moc"
