// Favourites with their add/delete files, the lists loaded at start and
// written at exit, and the history recorder in both zones.

#include "browser/BrowserController.h"
#include "platform/Launcher.h"
#include "support/ExpectedFile.h"
#include "zone/Favourites.h"
#include "zone/ZoneSession.h"

#include <QTemporaryDir>
#include <QTest>

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

    QTemporaryDir m_home;
    NoLauncher m_launcher;
};

// No duplicate test when adding; the file ends with an empty line. After an
// add with no exit since, the later add/delete file is read, its empty last
// line as one entry; the exit writes the list without it.
void TestZoneLists::favouritesFiles() {
    QStringList list;
    const QString file = Favourites::addDeleteFile(m_home.path(), false);
    QCOMPARE(file, path("favor2.txt"));
    for (const char* url :
         {"http://shop.example/", "http://news.example/a.htm", "http://shop.example/"})
        Favourites::add(list, QString::fromLatin1(url), file);
    QCOMPARE(fileBytes(file), expectedFile("zone/expected/favor2-added.txt"));
    QVERIFY(!Favourites::remove(list, -1, file));
    QVERIFY(Favourites::remove(list, 1, file));
    QCOMPARE(fileBytes(file), expectedFile("zone/expected/favor2-deleted.txt"));

    write("favor2.prv", "http://old.example/\r\n");
    QTest::qWait(20);
    write("favor2.txt", "http://kept.example/\r\n\r\n");
    BrowserController controller(m_home.path(), m_launcher);
    controller.startUp();
    QCOMPARE(controller.zone().entries(ZoneSession::PublicFavourites),
             QStringList({"http://kept.example/", ""}));
    controller.shutDown();
    QCOMPARE(fileBytes(path("favor2.prv")), QByteArray("http://kept.example/\r\n"));
    BrowserController again(m_home.path(), m_launcher);
    again.startUp(); // the exit file is the later one now
    QCOMPARE(again.zone().entries(ZoneSession::PublicFavourites),
             QStringList({"http://kept.example/"}));
}

// The public zone records each domain once; the private zone only while
// tracking.
void TestZoneLists::historyRecordsEachDomainOnce() {
    BrowserController controller(m_home.path(), m_launcher);
    for (const char* domain : {"a.example", "b.example", "a.example", ""})
        controller.zone().recordVisit(QString::fromLatin1(domain));
    QCOMPARE(controller.zone().entries(ZoneSession::PublicHistory),
             QStringList({"a.example", "b.example"}));
    controller.zone().enterPrivateZone();
    QVERIFY(!controller.zone().recordVisit("c.example"));
    controller.zone().setTracking(true);
    QVERIFY(controller.zone().recordVisit("c.example"));
    QCOMPARE(controller.zone().entries(ZoneSession::PrivateHistory), QStringList({"c.example"}));
    QCOMPARE(controller.zone().entries(ZoneSession::PublicHistory).size(), 2);
}

QTEST_GUILESS_MAIN(TestZoneLists)
#include "test_zone_lists.moc"
