// The private zone: login against the private-zone table, the tracking
// question, logout, the blocked-site checks of the public zone, and the
// adult listing's commands.

#include "browser/BrowserController.h"
#include "platform/Launcher.h"
#include "support/ScriptedPrompts.h"
#include "zone/PrivateZone.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using Kind = ScriptedPrompts::Kind;

namespace {

class NoLauncher : public Launcher {
public:
    bool start(const QString&, const QStringList&) override { return false; }
};

const QString kLocation = QStringLiteral("http://channels.test/velgan/");
const QString kLogin = QStringLiteral("Your password,please?");
const QString kWrong = QStringLiteral(" Sorry, Your password is wrong! Try again ,please ! ");
const QString kTracking = QStringLiteral("Would You like keep a record ?");
const QString kRefused = QStringLiteral(" Sorry! You have no right to see it!!!");

} // namespace

class TestPrivateZone : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup() { QVERIFY(m_prompts.done()); }
    void loginTrackingAndLogout();
    void wrongPasswordsRefuse();
    void blockedSites_data();
    void blockedSites();
    void adultListing();

private:
    QTemporaryDir m_home;
    NoLauncher m_launcher;
    ScriptedPrompts m_prompts;
    std::unique_ptr<BrowserController> m_controller;
    std::unique_ptr<PrivateZone> m_zone;
    QList<bool> m_band;      // the address band's shown state, as told
    QList<bool> m_saveBuf;   // "Save image buf" enabled, as told
    QStringList m_navigated; // "view url" of each navigation asked for
};

void TestPrivateZone::init() {
    m_prompts = ScriptedPrompts();
    m_controller = std::make_unique<BrowserController>(m_home.path(), m_launcher);
    m_controller->setLocations(kLocation, kLocation);
    m_controller->zone().setPrivateZoneTable({
        {"alpha", "http://p.test/s1.txt", "http://p.test/c1.txt", "http://p.test/start1.htm"},
        {"Beta", "http://p.test/s2.txt", "http://p.test/c2.txt", "http://p.test/start2.htm"},
        {"", "http://p.test/s3.txt", "http://p.test/c3.txt", "http://p.test/start3.htm"},
    });
    m_zone = std::make_unique<PrivateZone>(m_controller->zone(), m_controller->harvest(),
                                           *m_controller, m_prompts);
    m_band.clear();
    m_saveBuf.clear();
    m_navigated.clear();
    connect(
        m_controller.get(), &BrowserController::navigateRequested, this,
        [this](int view, const QString& url) { m_navigated << QString::number(view) + ' ' + url; });
    m_zone->showAddressBand = [this](bool shown) { m_band.append(shown); };
    m_zone->enableSaveImageBuf = [this](bool enabled) { m_saveBuf.append(enabled); };
}

void TestPrivateZone::loginTrackingAndLogout() {
    QSignalSpy lists(m_controller.get(), &BrowserController::privateListsWanted);
    m_prompts.expect(Kind::Input, kLogin, "Beta").expect(Kind::YesNo, kTracking, "no");
    m_zone->toggle();
    QVERIFY(m_controller->zone().inPrivateZone() && !m_controller->zone().tracking());
    QCOMPARE(m_controller->statusText(2), QStringLiteral("Your tracking will not keeped !!! "));
    QCOMPARE(lists.first(), QVariantList({"http://p.test/s2.txt", "http://p.test/c2.txt", true}));
    QCOMPARE(m_navigated, QStringList({"0 http://p.test/start2.htm"}));
    // The address band stays hidden for the visit.
    QVERIFY(!m_band.isEmpty() && !m_band.contains(true));
    QCOMPARE(m_saveBuf, QList<bool>({true}));
    // Inside the zone nothing is checked.
    m_controller->zone().setEntries(ZoneSession::PrivateHistory, {"blocked.example"});
    QVERIFY(m_zone->allowsTypedAddress("http://blocked.example/"));
    QVERIFY(!m_zone->sendsBackCompletedPage("http://blocked.example/"));

    // Logging out returns view 1 to the start page.
    m_zone->toggle();
    QVERIFY(!m_controller->zone().inPrivateZone());
    QCOMPARE(m_navigated.last(), "0 " + kLocation + "index.htm");
    QCOMPARE(m_band.last(), true);
    QCOMPARE(m_saveBuf, QList<bool>({true, false}));

    // "Channels" stops tracking.
    m_prompts.expect(Kind::Input, kLogin, "alpha").expect(Kind::YesNo, kTracking, "yes");
    m_zone->toggle();
    QVERIFY(m_controller->zone().tracking());
    m_zone->channels();
    QVERIFY(!m_controller->zone().tracking() && m_controller->zone().inPrivateZone());
}

// Another letter case, and Cancel: the zone stays closed.
void TestPrivateZone::wrongPasswordsRefuse() {
    QSignalSpy lists(m_controller.get(), &BrowserController::privateListsWanted);
    m_prompts.expect(Kind::Input, kLogin, "alphA").expectMessage(kWrong);
    m_prompts.expect(Kind::Input, kLogin, "", true).expectMessage(kWrong);
    m_zone->toggle();
    m_zone->toggle();
    QVERIFY(!m_controller->zone().inPrivateZone() && lists.isEmpty() && m_saveBuf.isEmpty());
    QCOMPARE(m_band.mid(0, 3), QList<bool>({false, false, true}));
}

void TestPrivateZone::blockedSites_data() {
    QTest::addColumn<QStringList>("listing");
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("allowed");
    const QStringList listing = {"abc", "bad.example", "last.example"};
    QTest::newRow("any case, anywhere") << listing << "http://x.test/?q=xAbCx" << false;
    // Every entry is tested, the last one too, also when it is the only one.
    QTest::newRow("single entry") << QStringList({"last.example"}) << "http://last.example/"
                                  << false;
    QTest::newRow("empty entry") << QStringList({"", "zzz"}) << "http://good.example/" << true;
}

// A typed address on a blocked site is refused and offers the login; a page
// completed on one is sent back in view 1.
void TestPrivateZone::blockedSites() {
    QFETCH(QStringList, listing);
    QFETCH(QString, address);
    QFETCH(bool, allowed);
    m_controller->zone().setEntries(ZoneSession::PrivateHistory, listing);
    if (!allowed)
        m_prompts.expectMessage(kRefused).expect(Kind::Input, kLogin, "no").expectMessage(kWrong);
    QCOMPARE(m_zone->allowsTypedAddress(address), allowed);
    QSignalSpy commands(m_controller.get(), &BrowserController::commandRequested);
    if (!allowed)
        m_prompts.expectMessage(kRefused);
    QCOMPARE(m_zone->sendsBackCompletedPage(address), !allowed);
    QCOMPARE(commands.size(), allowed ? 0 : 1);
    if (!allowed)
        QCOMPARE(commands.first(),
                 QVariantList({0, QVariant::fromValue(BrowserController::Command::Back)}));
}

// Creating the listing adds the hosts of the link list and empties the page
// queue. The refusal of a typed address clears the matching links, and its
// login opens the start page without asking for retries. Editing the listing
// wants the parental pass phrase, letter for letter.
void TestPrivateZone::adultListing() {
    m_controller->zone().setEntries(ZoneSession::PrivateHistory, {"b.example"});
    m_controller->harvest().pageQueue = {"http://queued.example/"};
    m_controller->harvest().linkList = {"http://a.example/x.htm", "http://b.example/",
                                        "https://c.example/y/z",  "http://a.example/other",
                                        "http://nohost.example",  "ftp://files.example/f"};
    m_prompts.expectMessage("Your adult listing is created and  saved");
    m_zone->createAdultListing();
    QCOMPARE(m_controller->zone().entries(ZoneSession::PrivateHistory),
             QStringList({"b.example", "a.example", "c.example", "files.example"}));
    QVERIFY(m_controller->harvest().pageQueue.isEmpty());

    m_controller->harvest().linkList = {"http://BAD.example/1", "http://fine.example/"};
    m_controller->zone().setEntries(ZoneSession::PrivateHistory, {"bad.example"});
    m_controller->setAddressText("http://www.bad.example/");
    m_controller->addressCheck = [this](const QString& a) { return m_zone->allowsTypedAddress(a); };
    m_prompts.expectMessage(kRefused)
        .expect(Kind::Input, kLogin, "alpha")
        .expect(Kind::YesNo, kTracking, "no");
    m_controller->enterAddress();
    QCOMPARE(m_controller->harvest().linkList, QStringList({"http://fine.example/"}));
    QCOMPARE(m_navigated,
             QStringList({"0 http://p.test/start1.htm", "0 http://p.test/start1.htm"}));
    // The refused address still went into the address history.
    QCOMPARE(m_controller->addressItems(), QStringList({"http://www.bad.example/"}));

    const QString prompt = QStringLiteral("Your password , please");
    m_prompts.expect(Kind::Input, prompt, "sun and sky");
    QVERIFY(m_zone->parentsAllow());
    m_prompts.expect(Kind::Input, prompt, "Sun and sky")
        .expectMessage(" Sorry, Your password is wrong, try again, please");
    QVERIFY(!m_zone->parentsAllow());
}

QTEST_GUILESS_MAIN(TestPrivateZone)
#include "test_private_zone.moc"
