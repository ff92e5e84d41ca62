// Favourites with their add/delete files, the lists loaded at start and
// written at exit, and the history recorder in both zones.

#include "browser/BrowserController.h"
#include "platform/Launcher.h"
#include "support/ExpectedFile.h"
#include "zone/Favourites.h"

#include <QDir>
#include <QFile>
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
    void init();
    void addAndDeleteRewriteTheZoneFile();
    void restartDropsDuplicatesAndTheEmptyEntry();
    void addDeleteFileNewerThanExitFileIsLoaded();
    void historyRecordsEachDomainOnce();

private:
    QString path(const QString& name) const { return QDir(m_home->path()).filePath(name); }
    void writeBytes(const QString& name, const QByteArray& bytes) const;
    std::unique_ptr<BrowserController> restart();

    std::unique_ptr<QTemporaryDir> m_home;
    NoLauncher m_launcher;
};

void TestZoneLists::init() {
    m_home = std::make_unique<QTemporaryDir>();
}

void TestZoneLists::writeBytes(const QString& name, const QByteArray& bytes) const {
    QFile file(path(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A controller started on the home folder, as after a restart.
std::unique_ptr<BrowserController> TestZoneLists::restart() {
    auto controller = std::make_unique<BrowserController>(m_home->path(), m_launcher);
    controller->startUp();
    return controller;
}

void TestZoneLists::addAndDeleteRewriteTheZoneFile() {
    QStringList list;
    const QString publicFile = Favourites::addDeleteFile(m_home->path(), false);
    QCOMPARE(publicFile, path("favor2.txt"));

    // No duplicate test when adding; the file ends with an empty line.
    for (const char* url :
         {"http://shop.example/", "http://news.example/a.htm", "http://shop.example/"})
        Favourites::add(list, QString::fromLatin1(url), publicFile);
    QByteArray expected = expectedFile("zone/expected/favor2-added.txt");
    QVERIFY2(fileBytes(publicFile) == expected, firstDifference(fileBytes(publicFile), expected));

    QVERIFY(Favourites::remove(list, 1, publicFile));
    expected = expectedFile("zone/expected/favor2-deleted.txt");
    QVERIFY2(fileBytes(publicFile) == expected, firstDifference(fileBytes(publicFile), expected));
    // No selection removes nothing and leaves the file alone.
    QVERIFY(!Favourites::remove(list, -1, publicFile));
    QCOMPARE(list.size(), 2);

    // A file that cannot be written still changes the list in memory.
    Favourites::add(list, "http://c.example/", path("missing/favor.prv"));
    QCOMPARE(list.size(), 3);
}

void TestZoneLists::restartDropsDuplicatesAndTheEmptyEntry() {
    writeBytes("favor.prv", "http://a.example/\r\nhttp://b.example/\r\nhttp://a.example/\r\n"
                            "http://A.example/\r\n\r\n");
    writeBytes("domain2.prv", "one.example\r\none.example\r\ntwo.example\r\n");
    auto controller = restart();
    // Exact comparison: a different letter case is another entry; the
    // file's empty last line is read as one empty entry.
    QCOMPARE(controller->zone().entries(ZoneSession::PrivateFavourites),
             QStringList({"http://a.example/", "http://b.example/", "http://A.example/", ""}));
    QCOMPARE(controller->zone().entries(ZoneSession::PublicHistory),
             QStringList({"one.example", "two.example"}));

    controller->shutDown();
    QCOMPARE(fileBytes(path("favor.prv")),
             QByteArray("http://a.example/\r\nhttp://b.example/\r\nhttp://A.example/\r\n"));
}

void TestZoneLists::addDeleteFileNewerThanExitFileIsLoaded() {
    // A clean exit: the exit file is the later one and wins.
    writeBytes("favor2.txt", "http://old.example/\r\n\r\n");
    QTest::qWait(20);
    writeBytes("favor2.prv", "http://kept.example/\r\n");
    QCOMPARE(restart()->zone().entries(ZoneSession::PublicFavourites),
             QStringList({"http://kept.example/"}));

    // Favourites added after the last exit, then no exit: they are kept.
    QTest::qWait(20);
    writeBytes("favor2.txt", "http://kept.example/\r\nhttp://new.example/\r\n\r\n");
    QCOMPARE(restart()->zone().entries(ZoneSession::PublicFavourites),
             QStringList({"http://kept.example/", "http://new.example/", ""}));
    // A first run that only ever added favourites.
    QFile::remove(path("favor2.prv"));
    QCOMPARE(restart()->zone().entries(ZoneSession::PublicFavourites).size(), 3);
}

void TestZoneLists::historyRecordsEachDomainOnce() {
    BrowserController controller(m_home->path(), m_launcher);
    for (const char* domain : {"a.example", "a.example", "b.example", "a.example", ""})
        controller.zone().recordVisit(QString::fromLatin1(domain));
    QCOMPARE(controller.zone().entries(ZoneSession::PublicHistory),
             QStringList({"a.example", "b.example"}));
    QVERIFY(controller.zone().entries(ZoneSession::PrivateHistory).isEmpty());

    // The private zone records only while tracking.
    controller.zone().enterPrivateZone();
    QVERIFY(!controller.zone().recordVisit("c.example"));
    controller.zone().setTracking(true);
    QVERIFY(controller.zone().recordVisit("c.example"));
    QVERIFY(!controller.zone().recordVisit("c.example"));
    QCOMPARE(controller.zone().entries(ZoneSession::PrivateHistory), QStringList({"c.example"}));
    QCOMPARE(controller.zone().entries(ZoneSession::PublicHistory).size(), 2);
}

QTEST_GUILESS_MAIN(TestZoneLists)
#include "test_zone_lists.moc"
