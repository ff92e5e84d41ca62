// The zones: favourites with their add/delete files, the history recorder,
// login against the private-zone table, the tracking question, logout, the
// blocked-site checks of the public zone, and the adult listing's commands.

#include "browser/BrowserController.h"
#include "settings/StartupSettings.h"
#include "support/ExpectedFile.h"
#include "support/RecordingLauncher.h"
#include "support/ScriptedPrompts.h"
#include "zone/Favourites.h"
#include "zone/PrivateZone.h"

#include <QtTest>
#include <memory>

using Kind = ScriptedPrompts::Kind;

namespace {

const QString kLocation = QStringLiteral("http://channels.test/velgan/");
const QString kLogin = QStringLiteral("Your password,please?");
const QString kWrong = QStringLiteral(" Sorry, Your password is wrong! Try again ,please ! ");
const QString kTracking = QStringLiteral("Would You like keep a record ?");
const QString kRefused = QStringLiteral(" Sorry! You have no right to see it!!!");

} // namespace

class TestZone : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        m_prompts = ScriptedPrompts();
        m_controller = std::make_unique<BrowserController>(m_home.path(), m_launcher, m_settings);
        m_controller->setLocations(kLocation, kLocation);
        m_controller->zone().setPrivateZoneTable({
            {"alpha", "http://p.test/s1.txt", "http://p.test/c1.txt", "http://p.test/start1.htm"},
            {"Beta", "http://p.test/s2.txt", "http://p.test/c2.txt", "http://p.test/start2.htm"},
            {"", "http://p.test/s3.txt", "http://p.test/c3.txt", "http://p.test/start3.htm"},
        });
        m_zone = std::make_unique<PrivateZone>(m_controller->zone(), m_controller->harvest(),
                                               *m_controller, m_prompts);
        m_told.clear();
        connect(
            m_controller.get(), &BrowserController::navigateRequested, this,
            [this](int view, const QString& url) { m_told << QString::number(view) + ' ' + url; });
        m_zone->showAddressBand = [this](bool shown) {
            m_told << "band " + QString::number(shown);
        };
        m_zone->enableSaveImageBuf = [this](bool on) {
            m_told << "save buf " + QString::number(on);
        };
    }

    // No duplicate test when adding; the file ends with an empty line. After an
    // add with no exit since, the later add/delete file is read, its empty last
    // line as one entry; the exit writes the list without it.
    void favouritesFiles() {
        QStringList list;
        const QString file = Favourites::addDeleteFile(m_home.path(), false);
        QCOMPARE(file, path("favor2.txt"));
        for (const char* url :
             {"http://shop.example/", "http://news.example/a.htm", "http://shop.example/"})
            Favourites::add(list, QString::fromLatin1(url), file);
        QCOMPARE(fileBytes(file), expectedFile("zone/expected/favor2-added.txt"));
        QVERIFY(!Favourites::remove(list, -1, file) && Favourites::remove(list, 1, file));
        QCOMPARE(fileBytes(file), expectedFile("zone/expected/favor2-deleted.txt"));

        writeBytes(path("favor2.prv"), "http://old.example/\r\n");
        writeBytes(path("favor2.txt"), "http://kept.example/\r\n\r\n");
        QFile older(path("favor2.prv"));
        QVERIFY(older.open(QIODevice::ReadWrite) &&
                older.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                  QFileDevice::FileModificationTime));
        BrowserController controller(m_home.path(), m_launcher, m_settings);
        controller.startUp();
        QCOMPARE(controller.zone().entries(ZoneSession::PublicFavourites),
                 QStringList({"http://kept.example/", ""}));
        controller.shutDown();
        BrowserController again(m_home.path(), m_launcher, m_settings);
        again.startUp(); // the exit file is the later one now
        QCOMPARE(again.zone().entries(ZoneSession::PublicFavourites),
                 QStringList({"http://kept.example/"}));
    }

    // The public zone records each domain once; the private zone only while
    // tracking.
    void historyRecordsEachDomainOnce() {
        ZoneSession& zone = m_controller->zone();
        for (const char* domain : {"a.example", "b.example", "a.example", ""})
            zone.recordVisit(QString::fromLatin1(domain));
        QCOMPARE(zone.entries(ZoneSession::PublicHistory), QStringList({"a.example", "b.example"}));
        zone.enterPrivateZone();
        QVERIFY(!zone.recordVisit("c.example"));
        zone.setTracking(true);
        QVERIFY(zone.recordVisit("c.example"));
        QCOMPARE(zone.entries(ZoneSession::PrivateHistory), QStringList({"c.example"}));
        QCOMPARE(zone.entries(ZoneSession::PublicHistory).size(), 2);
    }

    // The address band stays hidden for the visit, inside which no site is
    // blocked; logging out returns view 1 to the start page, and "Channels"
    // stops tracking.
    void loginTrackingAndLogout() {
        QSignalSpy lists(m_controller.get(), &BrowserController::privateListsWanted);
        m_prompts.expect(Kind::Input, kLogin, "Beta").expect(Kind::YesNo, kTracking, "no");
        m_zone->toggle();
        QVERIFY(m_controller->zone().inPrivateZone() && !m_controller->zone().tracking());
        QCOMPARE(m_controller->statusText(2), QStringLiteral("Your tracking will not keeped !!! "));
        QCOMPARE(lists.first(),
                 QVariantList({"http://p.test/s2.txt", "http://p.test/c2.txt", true}));
        QCOMPARE(m_told,
                 QStringList({"band 0", "band 0", "0 http://p.test/start2.htm", "save buf 1"}));
        m_controller->zone().setEntries(ZoneSession::PrivateHistory, {"blocked.example"});
        QVERIFY(!m_zone->sendsBackCompletedPage("http://blocked.example/"));

        m_zone->toggle();
        QVERIFY(!m_controller->zone().inPrivateZone());
        QCOMPARE(m_told.mid(4),
                 QStringList({"band 0", "0 " + kLocation + "index.htm", "save buf 0", "band 1"}));

        m_prompts.expect(Kind::Input, kLogin, "alpha").expect(Kind::YesNo, kTracking, "yes");
        m_zone->toggle();
        QVERIFY(m_controller->zone().tracking());
        m_zone->channels();
        QVERIFY(!m_controller->zone().tracking() && m_controller->zone().inPrivateZone());
    }

    // Another letter case, and a cancelled box, which the table's empty
    // password does not match.
    void wrongPasswordsRefuse() {
        QSignalSpy lists(m_controller.get(), &BrowserController::privateListsWanted);
        m_prompts.expect(Kind::Input, kLogin, "alphA").expectMessage(kWrong);
        m_prompts.expect(Kind::Input, kLogin, "", true).expectMessage(kWrong);
        m_zone->toggle();
        m_zone->toggle();
        QVERIFY(!m_controller->zone().inPrivateZone() && lists.isEmpty());
        QCOMPARE(m_told, QStringList({"band 0", "band 0", "band 1", "band 0", "band 0", "band 1"}));
    }

    // A page completed on a blocked site is sent back in view 1. Entries
    // match in any letter case, anywhere in the address; every entry is
    // tested, the last one too, also when it is the only one; an empty
    // entry matches nothing.
    void blockedSites() {
        QSignalSpy commands(m_controller.get(), &BrowserController::commandRequested);
        for (const auto& [listing, address, allowed] :
             {std::tuple<QStringList, QString, bool>{
                  {"abc", "bad.example", "last.example"}, "http://x.test/?q=xAbCx", false},
              {{"last.example"}, "http://last.example/", false},
              {{"", "zzz"}, "http://good.example/", true}}) {
            m_controller->zone().setEntries(ZoneSession::PrivateHistory, listing);
            if (!allowed)
                m_prompts.expectMessage(kRefused);
            QCOMPARE(m_zone->sendsBackCompletedPage(address), !allowed);
        }
        QCOMPARE(commands.size(), 2);
        QCOMPARE(commands.first(),
                 QVariantList({0, QVariant::fromValue(BrowserController::Command::Back)}));
    }

    // Creating the listing adds the hosts of the link list and empties the page
    // queue. A typed address on a blocked site is refused and clears the
    // matching links; its login opens the start page in view 1 too and wants
    // the lists without retries. Editing the listing wants the parental pass
    // phrase, letter for letter.
    void adultListing() {
        m_controller->zone().setEntries(ZoneSession::PrivateHistory, {"b.example"});
        m_controller->harvest().pageQueue = {"http://queued.example/"};
        m_controller->harvest().linkList = {"http://a.example/x.htm", "http://b.example/",
                                            "http://c.example/y", "http://a.example/other",
                                            "http://nohost.example"};
        m_prompts.expectMessage("Your adult listing is created and  saved");
        m_zone->createAdultListing();
        QCOMPARE(m_controller->zone().entries(ZoneSession::PrivateHistory),
                 QStringList({"b.example", "a.example", "c.example"}));
        QVERIFY(m_controller->harvest().pageQueue.isEmpty());

        m_controller->harvest().linkList = {"http://BAD.example/1", "http://fine.example/"};
        m_controller->zone().setEntries(ZoneSession::PrivateHistory, {"bad.example"});
        m_controller->setAddressText("http://www.bad.example/");
        m_controller->addressCheck = [this](const QString& a) {
            return m_zone->allowsTypedAddress(a);
        };
        QSignalSpy lists(m_controller.get(), &BrowserController::privateListsWanted);
        m_prompts.expectMessage(kRefused)
            .expect(Kind::Input, kLogin, "alpha")
            .expect(Kind::YesNo, kTracking, "no");
        m_controller->enterAddress();
        QCOMPARE(m_controller->harvest().linkList, QStringList({"http://fine.example/"}));
        QCOMPARE(m_told, QStringList({"band 0", "0 http://p.test/start1.htm", "save buf 1",
                                      "0 http://p.test/start1.htm"}));
        QCOMPARE(lists.first().at(2), false);
        // The refused address still went into the address history.
        QCOMPARE(m_controller->addressItems(), QStringList({"http://www.bad.example/"}));

        const QString prompt = QStringLiteral("Your password , please");
        m_prompts.expect(Kind::Input, prompt, "sun and sky");
        QVERIFY(m_zone->parentsAllow());
        m_prompts.expect(Kind::Input, prompt, "Sun and sky")
            .expectMessage(" Sorry, Your password is wrong, try again, please");
        QVERIFY(!m_zone->parentsAllow());
    }

    void cleanup() { QVERIFY(m_prompts.done()); }

private:
    QString path(const QString& name) const { return m_home.filePath(name); }

    QTemporaryDir m_home;
    RecordingLauncher m_launcher;
    StartupSettings m_settings;
    ScriptedPrompts m_prompts;
    std::unique_ptr<BrowserController> m_controller;
    std::unique_ptr<PrivateZone> m_zone;
    // What the zone asked for: "view url" of a navigation, the address band
    // shown or hidden, "Save image buf" enabled or not.
    QStringList m_told;
};

QTEST_GUILESS_MAIN(TestZone)
#include "test_zone.moc"
