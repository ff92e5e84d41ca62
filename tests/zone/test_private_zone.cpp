// The private zone: login against the private-zone table, the tracking
// question, logout, the blocked-site checks of the public zone, and the
// adult listing's commands.

#include "browser/BrowserController.h"
#include "platform/Launcher.h"
#include "support/ScriptedPrompts.h"
#include "zone/AdultListing.h"
#include "zone/PrivateZone.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using View = BrowserController::View;
using Kind = ScriptedPrompts::Kind;

namespace {

class NoLauncher : public Launcher {
public:
    bool start(const QString&, const QStringList&) override { return false; }
};

const QString kLocation = QStringLiteral("http://channels.test/velgan/");
const QString kLoginPrompt = QStringLiteral("Your password,please?");
const QString kWrong = QStringLiteral(" Sorry, Your password is wrong! Try again ,please ! ");
const QString kTracking = QStringLiteral("Would You like keep a record ?");
const QString kRefused = QStringLiteral(" Sorry! You have no right to see it!!!");

// Scripted answers that also keep the input boxes' titles.
class TitledPrompts : public ScriptedPrompts {
public:
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override {
        titles.append(title);
        return ScriptedPrompts::input(prompt, title, defaultText);
    }
    QStringList titles;
};

} // namespace

class TestPrivateZone : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void loginAndTracking_data();
    void loginAndTracking();
    void wrongOrCancelledPasswordRefuses_data();
    void wrongOrCancelledPasswordRefuses();
    void typedAddressCheck_data();
    void typedAddressCheck();
    void refusedTypedAddressOffersTheLogin();
    void createAdultListingFromLinks();
    void parentalPassPhrase();

private:
    QTemporaryDir m_home;
    NoLauncher m_launcher;
    TitledPrompts m_prompts;
    std::unique_ptr<BrowserController> m_controller;
    std::unique_ptr<PrivateZone> m_zone;
    QList<bool> m_band;      // the address band's shown state, as told
    QList<bool> m_saveBuf;   // "Save image buf" enabled, as told
    QStringList m_navigated; // "view url" of each navigation asked for
};

void TestPrivateZone::init() {
    m_prompts = TitledPrompts();
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
    connect(m_controller.get(), &BrowserController::navigateRequested, this,
            [this](int view, const QString& url) {
                m_navigated << QString::number(view) + QLatin1Char(' ') + url;
            });
    m_zone->showAddressBand = [this](bool shown) { m_band.append(shown); };
    m_zone->enableSaveImageBuf = [this](bool enabled) { m_saveBuf.append(enabled); };
}

void TestPrivateZone::cleanup() {
    QVERIFY(m_prompts.done());
}

void TestPrivateZone::loginAndTracking_data() {
    QTest::addColumn<bool>("keepRecord");
    QTest::addColumn<QString>("status");
    QTest::newRow("yes") << true << QStringLiteral("Your tracking will keeped !!! ");
    QTest::newRow("no") << false << QStringLiteral("Your tracking will not keeped !!! ");
}

void TestPrivateZone::loginAndTracking() {
    QFETCH(bool, keepRecord);
    QFETCH(QString, status);
    QSignalSpy lists(m_controller.get(), &BrowserController::privateListsWanted);
    m_prompts.expect(Kind::Input, kLoginPrompt, "Beta")
        .expect(Kind::YesNo, kTracking, keepRecord ? "yes" : "no");
    m_zone->toggle();

    QCOMPARE(m_prompts.titles, QStringList({"Log in to private area"}));
    QVERIFY(m_controller->zone().inPrivateZone());
    QCOMPARE(m_controller->zone().tracking(), keepRecord);
    QCOMPARE(m_controller->statusText(2), status);
    QCOMPARE(lists.size(), 1);
    QCOMPARE(lists.first(), QVariantList({"http://p.test/s2.txt", "http://p.test/c2.txt", true}));
    QCOMPARE(m_navigated, QStringList({"0 http://p.test/start2.htm"}));
    // The address band stays hidden for the visit.
    QVERIFY(!m_band.isEmpty() && !m_band.contains(true));
    QCOMPARE(m_saveBuf, QList<bool>({true}));

    // Inside the zone, nothing is checked and "Channels" stops tracking.
    m_controller->zone().setEntries(ZoneSession::PrivateHistory, {"blocked.example", "x"});
    QVERIFY(m_zone->allowsTypedAddress("http://blocked.example/"));
    QVERIFY(!m_zone->sendsBackCompletedPage("http://blocked.example/"));
    m_zone->channels();
    QVERIFY(!m_controller->zone().tracking());
    QVERIFY(m_controller->zone().inPrivateZone());

    // Logging out returns view 1 to the start page, or view 2, when shown,
    // to the welcome page.
    m_zone->toggle();
    QVERIFY(!m_controller->zone().inPrivateZone());
    QCOMPARE(m_navigated.last(), "0 " + kLocation + "index.htm");
    QCOMPARE(m_band.last(), true);
    QCOMPARE(m_saveBuf, QList<bool>({true, false}));
    m_prompts.expect(Kind::Input, kLoginPrompt, "alpha").expect(Kind::YesNo, kTracking, "yes");
    m_zone->toggle();
    m_controller->switchViews();
    m_zone->toggle();
    QVERIFY(!m_controller->zone().tracking());
    QCOMPARE(m_navigated.last(), "1 " + kLocation + "welcome.htm");
}

void TestPrivateZone::wrongOrCancelledPasswordRefuses_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("cancel");
    QTest::newRow("other case") << "alphA" << false;
    QTest::newRow("cancelled") << "" << true;
    // The table's record without a password never opens the zone.
    QTest::newRow("empty") << "" << false;
}

void TestPrivateZone::wrongOrCancelledPasswordRefuses() {
    QFETCH(QString, answer);
    QFETCH(bool, cancel);
    QSignalSpy lists(m_controller.get(), &BrowserController::privateListsWanted);
    m_prompts.expect(Kind::Input, kLoginPrompt, answer, cancel).expectMessage(kWrong);
    m_zone->toggle();
    QVERIFY(!m_controller->zone().inPrivateZone());
    QCOMPARE(lists.size(), 0);
    QCOMPARE(m_band, QList<bool>({false, false, true}));
    QVERIFY(m_saveBuf.isEmpty());

    // No table yet: every login fails.
    m_controller->zone().setPrivateZoneTable({});
    m_prompts.expect(Kind::Input, kLoginPrompt, "alpha").expectMessage(kWrong);
    m_zone->toggle();
    QVERIFY(!m_controller->zone().inPrivateZone());
}

void TestPrivateZone::typedAddressCheck_data() {
    QTest::addColumn<QStringList>("listing");
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("allowed");
    const QStringList listing = {"abc", "bad.example", "last.example"};
    QTest::newRow("any case, anywhere") << listing << "http://x.test/?q=xAbCx" << false;
    QTest::newRow("no entry") << listing << "http://good.example/" << true;
    // Every entry is tested, the last one too, also when it is the only one.
    QTest::newRow("last entry") << listing << "http://LAST.example/a.htm" << false;
    QTest::newRow("single entry") << QStringList({"last.example"}) << "http://last.example/"
                                  << false;
    QTest::newRow("empty entry") << QStringList({"", "zzz"}) << "http://good.example/" << true;
}

void TestPrivateZone::typedAddressCheck() {
    QFETCH(QStringList, listing);
    QFETCH(QString, address);
    QFETCH(bool, allowed);
    m_controller->zone().setEntries(ZoneSession::PrivateHistory, listing);
    if (!allowed)
        m_prompts.expectMessage(kRefused)
            .expect(Kind::Input, kLoginPrompt, "no")
            .expectMessage(kWrong);
    QCOMPARE(m_zone->allowsTypedAddress(address), allowed);
    QCOMPARE(m_prompts.shown().value(0), allowed ? QString() : kRefused);

    // A page completed on such a site is sent back in view 1.
    QSignalSpy commands(m_controller.get(), &BrowserController::commandRequested);
    if (!allowed)
        m_prompts.expectMessage(kRefused);
    QCOMPARE(m_zone->sendsBackCompletedPage(address), !allowed);
    QCOMPARE(commands.size(), allowed ? 0 : 1);
    if (!allowed)
        QCOMPARE(commands.first(),
                 QVariantList(
                     {int(View::View1), QVariant::fromValue(BrowserController::Command::Back)}));
}

// The refusal clears matching links and offers the login, which opens the
// start page in view 1 once more and does not ask for retries.
void TestPrivateZone::refusedTypedAddressOffersTheLogin() {
    m_controller->zone().setEntries(ZoneSession::PrivateHistory, {"bad.example", "other.example"});
    m_controller->harvest().linkList = {"http://BAD.example/1", "http://fine.example/",
                                        "http://www.bad.example/2"};
    m_controller->setAddressText("http://www.bad.example/");
    QSignalSpy lists(m_controller.get(), &BrowserController::privateListsWanted);
    m_controller->addressCheck = [this](const QString& a) { return m_zone->allowsTypedAddress(a); };
    m_prompts.expectMessage(kRefused)
        .expect(Kind::Input, kLoginPrompt, "alpha")
        .expect(Kind::YesNo, kTracking, "no");
    m_controller->enterAddress();

    QCOMPARE(m_controller->harvest().linkList, QStringList({"http://fine.example/"}));
    QCOMPARE(m_navigated,
             QStringList({"0 http://p.test/start1.htm", "0 http://p.test/start1.htm"}));
    QCOMPARE(lists.first().at(2).toBool(), false);
    // The refused address still went into the address history.
    QCOMPARE(m_controller->addressItems(), QStringList({"http://www.bad.example/"}));
}

void TestPrivateZone::createAdultListingFromLinks() {
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
    QCOMPARE(m_controller->harvest().linkList.size(), 6);
}

void TestPrivateZone::parentalPassPhrase() {
    const QString prompt = QStringLiteral("Your password , please");
    const QString wrong = QStringLiteral(" Sorry, Your password is wrong, try again, please");
    m_prompts.expect(Kind::Input, prompt, "sun and sky");
    QVERIFY(m_zone->parentsAllow());
    QCOMPARE(m_prompts.titles, QStringList({"Only parents!!!"}));
    for (const char* answer : {"Sun and sky", "sun and sky ", ""}) {
        m_prompts.expect(Kind::Input, prompt, QString::fromLatin1(answer), !*answer)
            .expectMessage(wrong);
        QVERIFY(!m_zone->parentsAllow());
    }
}

QTEST_GUILESS_MAIN(TestPrivateZone)
#include "test_private_zone.moc"
