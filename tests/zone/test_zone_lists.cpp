// Favourites with their add/delete files, the lists loaded at start and
// written at exit, and the history recorder in both zones.

#include "browser/BrowserController.h"
#include "platform/Launcher.h"
#include "support/ExpectedFile.h"
#include "zone/Favourites.h"
#include "zone/HistoryRecorder.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

class NoLauncher : public Launcher {
public:
    bool start(const QString&, const QStringList&) override { return false; }
};

} // namespace

class TestZoneLists : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void favouritesFiles();
    void historyRecordsEachDomainOnce();

private:
    QString path(const QString& name) const { return m_home.filePath(name); }
    void write(const QString& name, const QByteArray& bytes) const {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    // The public favourites a controller started on the home folder reads.
    QStringList afterRestart() {
        BrowserController controller(m_home.path(), m_launcher);
        controller.startUp();
        return controller.publicFavourites;
    }

    QTemporaryDir m_home;
    NoLauncher m_launcher;
};

void TestZoneLists::favouritesFiles() {
    QStringList list;
    const QString file = Favourites::addDeleteFile(m_home.path(), false);
    QCOMPARE(file, path("favor2.txt"));
    // No duplicate test when adding; the file ends with an empty line.
    for (const char* url :
         {"http://shop.example/", "http://news.example/a.htm", "http://shop.example/"})
        Favourites::add(list, QString::fromLatin1(url), file);
    QCOMPARE(fileBytes(file), expectedFile("zone/expected/favor2-added.txt"));
    QVERIFY(Favourites::remove(list, 1, file));
    QCOMPARE(fileBytes(file), expectedFile("zone/expected/favor2-deleted.txt"));
    // No selection removes nothing.
    QVERIFY(!Favourites::remove(list, -1, file));
    QCOMPARE(list.size(), 2);

    // Added after the last exit, then no exit: the add/delete file is the
    // later one and is read, its empty last line as one entry.
    write("favor2.prv", "http://old.example/\r\n");
    QTest::qWait(20);
    write("favor2.txt", "http://kept.example/\r\nhttp://new.example/\r\n\r\n");
    QCOMPARE(afterRestart(), QStringList({"http://kept.example/", "http://new.example/", ""}));
    // A clean exit: the exit file is the later one and wins; it is written
    // without the empty entry.
    BrowserController controller(m_home.path(), m_launcher);
    controller.startUp();
    controller.shutDown();
    QCOMPARE(fileBytes(path("favor2.prv")),
             QByteArray("http://kept.example/\r\nhttp://new.example/\r\n"));
    QCOMPARE(afterRestart(), QStringList({"http://kept.example/", "http://new.example/"}));
}

void TestZoneLists::historyRecordsEachDomainOnce() {
    BrowserController controller(m_home.path(), m_launcher);
    for (const char* domain : {"a.example", "a.example", "b.example", "a.example", ""})
        HistoryRecorder::record(controller, QString::fromLatin1(domain));
    QCOMPARE(controller.publicHistory, QStringList({"a.example", "b.example"}));
    // The private zone records only while tracking.
    controller.privateZone = true;
    QVERIFY(!HistoryRecorder::record(controller, "c.example"));
    controller.tracking = true;
    QVERIFY(HistoryRecorder::record(controller, "c.example"));
    QVERIFY(!HistoryRecorder::record(controller, "c.example"));
    QCOMPARE(controller.privateHistory, QStringList({"c.example"}));
    QCOMPARE(controller.publicHistory.size(), 2);
}

QTEST_GUILESS_MAIN(TestZoneLists)
#include "test_zone_lists.moc"
