#include "sitegen/PageFileWriter.h"
#include "support/ExpectedFile.h"

#include <QDir>
#include <QDirIterator>
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

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

} // namespace

class TestPageFileWriter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writesPagesAndFiles() {
        QTemporaryDir dir;
        writeFile(dir.filePath("1.htm"), "an earlier, longer page text\r\n");
        PageFileWriter writer(dir.path());
        writer.writePage("1", "<html>\r\nPreis: 9 €</html>");
        writer.writeFile("data1.js", "a\r\n");
        QCOMPARE(fileBytes(dir.filePath("1.htm")), "<html>\r\nPreis: 9 \xE2\x82\xAC</html>\r\n");
        QCOMPARE(fileBytes(dir.filePath("data1.js")), "a\r\n");
        QCOMPARE(writer.written(), QStringList({dir.filePath("1.htm"), dir.filePath("data1.js")}));
        QVERIFY(writer.failures().isEmpty());
    }

    void refusesNamesOutsideTheFolder() {
        QTemporaryDir parent;
        QVERIFY(QDir(parent.path()).mkpath("site/sub"));
        for (const char* name : {"../escape.htm", "sub/page.htm", ".."}) {
            PageFileWriter writer(parent.filePath("site"));
            writer.writeFile(name, "x");
            QVERIFY(writer.written().isEmpty());
            QVERIFY2(writer.failures().value(0).startsWith("Could not write "), name);
        }
        QDirIterator files(parent.path(), QDir::Files, QDirIterator::Subdirectories);
        QVERIFY(!files.hasNext());
        const QString missing = parent.filePath("no such folder");
        PageFileWriter lost(missing);
        lost.writePage("1", "text");
        QVERIFY2(lost.failures().value(0).startsWith("Could not write " + missing + "/1.htm: "),
                 qPrintable(lost.failures().value(0)));
        QVERIFY(!QFileInfo::exists(missing));
    }

    void stopsAtTheFirstFailedWrite_data() {
        QTest::addColumn<int>("size");
        QTest::newRow("held back until the file is closed") << 6000;
        QTest::newRow("written at once") << 40000;
        QTest::newRow("the line end is refused") << 4096;
    }
    // The system's reason is given, the earlier file stays whole, and
    // nothing after the failure is written.
    void stopsAtTheFirstFailedWrite() {
        QFETCH(int, size);
        QTemporaryDir dir;
        const QString page = dir.filePath("b.htm");
        writeFile(page, "old page\r\n");
        PageFileWriter writer(dir.path());
        {
            const FileSizeLimit limit(4096);
            writer.writePage("a", "first");
            writer.writePage("b", QString(size, QLatin1Char('x')));
            writer.writePage("c", "third");
        }
        QCOMPARE(writer.written(), QStringList{dir.filePath("a.htm")});
        QCOMPARE(writer.failures(), QStringList{"Could not write " + page + ": File too large"});
        QCOMPARE(fileBytes(page), "old page\r\n");
        QVERIFY(!QFileInfo::exists(dir.filePath("c.htm")));
    }
};

QTEST_GUILESS_MAIN(TestPageFileWriter)
#include "test_page_file_writer.moc"
