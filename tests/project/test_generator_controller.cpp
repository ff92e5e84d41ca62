#include "platform/TextFile.h"
#include "project/BrowserLink.h"
#include "project/GeneratorController.h"
#include "project/SettingsFile.h"
#include "sitegen/RecordingPublisher.h"
#include "support/ExpectedFile.h"
#include "support/ScriptedPrompts.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using Kind = ScriptedPrompts::Kind;

namespace {

const QString kHammer = QStringLiteral("A1^Hammer^9.5^^^Acme^2^7^X^");
const QString kSaw = QStringLiteral("A2^Saw^12^^^^3^8^^");
const QString kSpade = QStringLiteral("G1^Spade^20^^^^5^15^^");
const QString kChoose = QStringLiteral("Choose a category in the Category box first");

void writeFile(const QString& path, const QStringList& lines) {
    QVERIFY(TextFile::writeLines(path, lines).isEmpty());
}

QStringList linesOf(const QString& path) {
    return TextFile::readLines(path).value_or(QStringList{"<missing>"});
}

// The browser window as the generator sees it.
struct FakeBrowser : BrowserLink {
    QString address;
    QStringList previewed;
    QString addressText() const override { return address; }
    void preview(const QString& path) override { previewed << path; }
};

} // namespace

class TestGeneratorController : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void newProjectRefusals_data();
    void newProjectRefusals();
    void categoryListAndTabSwitch();
    void choosingAndEditingItems();
    void movingItemsAtTheEnds();
    void savesNeverCrossCategories();
    void openProject();
    void generateAndUpdate();
    void frontPageAndUpdatePublish();
    void previewAndGetItUseTheBrowser();

private:
    QString project(const QString& file = {}) const { return m_home->filePath("Shop/" + file); }
    void expectNewProject(const QString& name);
    // A project "Shop" with the categories Tools (two items) and Garden
    // (one item), opened as after "New Project".
    void makeShop();
    void addCategory(const QString& name);
    void setSetting(QString SiteSettings::*field, const QString& value);

    QTemporaryDir* m_home = nullptr;
    ScriptedPrompts* m_prompts = nullptr;
    GeneratorController* m_controller = nullptr;
};

void TestGeneratorController::init() {
    m_home = new QTemporaryDir;
    m_prompts = new ScriptedPrompts;
    m_controller = new GeneratorController(m_home->path(), *m_prompts);
}

void TestGeneratorController::cleanup() {
    QVERIFY2(m_prompts->done(), "a prompt the test expected was never shown");
    delete m_controller;
    delete m_prompts;
    delete m_home;
}

void TestGeneratorController::expectNewProject(const QString& name) {
    m_prompts->expect(Kind::Input, "Enter the new project's name , please", name);
    m_prompts->expectMessage("You may fill the category listing for the new Store");
}

void TestGeneratorController::makeShop() {
    expectNewProject("Shop");
    m_controller->newProject();
    writeFile(project("Tools.pro"), {kHammer, kSaw});
    writeFile(project("Garden.pro"), {kSpade});
    addCategory("Tools");
    addCategory("Garden");
    m_controller->switchTab();
}

void TestGeneratorController::addCategory(const QString& name) {
    m_controller->setCategoryEntry(name);
    m_controller->addCategory();
}

void TestGeneratorController::setSetting(QString SiteSettings::*field, const QString& value) {
    SiteSettings settings = m_controller->settings();
    settings.*field = value;
    m_controller->setSettings(settings);
}

void TestGeneratorController::newProjectRefusals_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("message");
    QTest::newRow("existing folder")
        << "Taken" << false
        << "You already have the project with the same name.Please remove appropriate folder";
    QTest::newRow("empty") << "" << false << "must not be empty";
    QTest::newRow("parent folder") << ".." << false << "must not be";
    QTest::newRow("path") << "../outside" << false << "must not contain";
    QTest::newRow("cancelled") << "ignored" << true << "";
}

void TestGeneratorController::newProjectRefusals() {
    QFETCH(QString, answer);
    QFETCH(bool, cancel);
    QFETCH(QString, message);
    QDir(m_home->path()).mkdir("Taken");
    m_prompts->expect(Kind::Input, "Enter the new project's name", answer, cancel);
    if (!message.isEmpty())
        m_prompts->expectMessage(message);
    if (answer == "Taken")
        m_prompts->expect(Kind::OpenFile, "*.caa", {}, true);
    m_controller->newProject();
    QCOMPARE(m_controller->projectName(), QString());
    QCOMPARE(QDir(m_home->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{"Taken"});
    QVERIFY(!QFileInfo::exists(m_home->filePath("../outside")));
}

void TestGeneratorController::categoryListAndTabSwitch() {
    // Without a project a tab switch writes nothing.
    addCategory("Old");
    m_controller->switchTab();
    QVERIFY(QDir(m_home->path()).isEmpty());
    QCOMPARE(m_controller->categoryBoxList(), QStringList{"Old"});

    makeShop();
    m_prompts->expectMessage("must not contain");
    addCategory("Bad/Name");
    addCategory("Power Tools");
    m_controller->removeCategory(0);
    QCOMPARE(m_controller->categories(), (QStringList{"Garden", "Power Tools"}));
    QVERIFY(QFileInfo::exists(project("Tools.pro")));

    m_controller->switchTab();
    const QByteArray settings = fileBytes(project("Shop.sit"));
    const QByteArray defaults = expectedFile("project/expected/settings_defaults.sit");
    QCOMPARE(fileBytes(project("Shop.caa")), "Garden\r\nPower Tools\r\n");
    QVERIFY2(settings == defaults, firstDifference(settings, defaults));
    QCOMPARE(m_controller->categoryBoxList(), m_controller->categories());
    QCOMPARE(m_controller->categoryBoxText(), QString());

    m_controller->clearCategories();
    m_controller->switchTab();
    QCOMPARE(fileBytes(project("Shop.caa")), QByteArray());
    QCOMPARE(fileBytes(project("Shop.sit")), settings);
}

void TestGeneratorController::choosingAndEditingItems() {
    makeShop();
    for (int f = 0; f < ItemRecord::kFieldCount; ++f)
        m_controller->setItemField(ItemRecord::Field(f), "old");
    m_controller->chooseCategory("Tools");
    QCOMPARE(m_controller->items(), (QStringList{kHammer, kSaw}));
    ItemRecord kept;
    kept.set(ItemRecord::WPrice, u"old");
    kept.set(ItemRecord::Cv, u"old");
    QCOMPARE(m_controller->itemFields(), kept);

    m_controller->showItem(1);
    m_controller->setItemField(ItemRecord::ItemPrice, "12,50");
    m_prompts->expectMessage("must be a number");
    m_controller->addItem();
    m_controller->setItemField(ItemRecord::ItemPrice, "13.5");
    m_controller->setItemField(ItemRecord::ItemDesc, "Saw^large");
    m_prompts->expectMessage("cannot hold the character ^");
    m_controller->addItem();
    m_controller->setItemField(ItemRecord::ItemDesc, "Saw");
    m_controller->setItemField(ItemRecord::PicUrl, "http://pics.test/saw.jpg' onload='x");
    m_prompts->expectMessage("\"Picture URL\" and \"Description URL\" fields cannot hold quotes");
    m_controller->addItem();
    m_controller->setItemField(ItemRecord::PicUrl, "");
    QCOMPARE(linesOf(project("Tools.pro")), (QStringList{kHammer, kSaw}));

    m_controller->setItemField(ItemRecord::ItemDesc, "Saw");
    m_controller->addItem();
    const QString changedSaw = "A2^Saw^13.5^^^^3^8^^";
    QCOMPARE(fileBytes(project("Tools.pro")),
             (kHammer + "\r\n" + kSaw + "\r\n" + changedSaw + "\r\n").toUtf8());

    m_controller->takeOutItem(1);
    QCOMPARE(m_controller->itemFields(), ItemRecord::fromLine(kSaw));
    QCOMPARE(linesOf(project("Tools.pro")), (QStringList{kHammer, changedSaw}));
}

void TestGeneratorController::movingItemsAtTheEnds() {
    makeShop();
    m_controller->chooseCategory("Tools");
    m_controller->moveUp(); // nothing selected
    m_controller->selectItem(0);
    m_controller->moveUp();
    QCOMPARE(m_controller->items(), (QStringList{kHammer, kSaw}));
    m_controller->moveDown();
    m_controller->moveDown();
    QCOMPARE(m_controller->items(), (QStringList{kSaw, kHammer}));
    QCOMPARE(m_controller->selectedItem(), 1);
    QCOMPARE(linesOf(project("Tools.pro")), (QStringList{kHammer, kSaw}));
}

void TestGeneratorController::savesNeverCrossCategories() {
    makeShop();
    // Right after a tab switch the Category box is empty.
    m_controller->chooseCategory("Tools");
    m_controller->switchTab();
    m_prompts->expectMessage(kChoose).expectMessage(kChoose);
    m_controller->addItem();
    m_controller->takeOutItem(0);
    QVERIFY(!QFileInfo::exists(project(".pro")));
    QCOMPARE(linesOf(project("Tools.pro")), (QStringList{kHammer, kSaw}));

    // Generate leaves the loaded category in the editor.
    m_controller->chooseCategory("Garden");
    m_controller->generate();
    m_controller->setItemField(ItemRecord::ItemPrice, "1");
    m_controller->addItem();
    QCOMPARE(linesOf(project("Garden.pro")).size(), 2);
    QCOMPARE(linesOf(project("Garden.pro")).first(), kSpade);

    // Typed text counts only once it is taken as the chosen category.
    m_controller->setCategoryBoxText("Lamps");
    m_prompts->expectMessage(kChoose);
    m_controller->addItem();
    m_controller->setItemField(ItemRecord::ItemPrice, "30");
    m_controller->takeTypedCategory();
    QVERIFY(m_controller->items().isEmpty());
    m_controller->addItem();
    QCOMPARE(linesOf(project("Lamps.pro")).size(), 1);

    // A category named like the project shares its file with the snapshot.
    writeFile(project("Shop.pro"), {kSpade});
    addCategory("Shop");
    m_controller->switchTab();
    m_controller->chooseCategory("Tools");
    m_controller->switchTab();
    QCOMPARE(linesOf(project("Shop.pro")), QStringList{kSpade});
}

void TestGeneratorController::openProject() {
    QDir(m_home->path()).mkdir("Shop");
    writeFile(project("Shop.caa"), {"Tools", "Garden"});
    SiteSettings saved = SiteSettings::defaults();
    saved.salesTax = "0.07";
    QVERIFY(TextFile::writeText(project("Shop.sit"), SettingsFile::write(saved)).isEmpty());

    addCategory("Old");
    for (int time = 0; time < 2; ++time) {
        m_prompts->expect(Kind::OpenFile, "Project file (*.caa)|*.caa", project("Shop.caa"));
        m_controller->openProject();
        QCOMPARE(m_controller->projectName(), "Shop");
        QCOMPARE(m_controller->categories(), (QStringList{"Tools", "Garden"}));
    }
    QCOMPARE(m_controller->settings().salesTax, "0.07");

    // Cancelled, or a project file outside its folder: the open one stays.
    QTemporaryDir elsewhere;
    QDir(elsewhere.path()).mkdir("Other");
    const QString outside = elsewhere.filePath("Other/Other.caa");
    writeFile(outside, {"Stranger"});
    m_prompts->expect(Kind::OpenFile, "*.caa", {}, true);
    m_controller->openProject();
    m_prompts->expect(Kind::OpenFile, "*.caa", outside);
    m_prompts->expectMessage("Choose the project file inside its project's folder");
    m_controller->openProject();
    QCOMPARE(m_controller->projectName(), "Shop");
    m_controller->switchTab();
    QCOMPARE(fileBytes(project("Shop.sit")), SettingsFile::write(saved).toUtf8());
    QCOMPARE(linesOf(project("Shop.caa")), (QStringList{"Tools", "Garden"}));
}

void TestGeneratorController::generateAndUpdate() {
    m_prompts->expectMessage("\"New Project\"");
    m_controller->generate();
    QVERIFY(QDir(m_home->path()).isEmpty());

    makeShop();
    m_controller->setOrderEmail("sales@shop.test");
    m_controller->setGatewayHost("pay.shop.test");
    m_controller->setGatewayLogin("shop7");
    m_controller->setSaveResultsEmail("results@shop.test");
    OrderTemplates templates = m_controller->templates();
    templates.paymentPage = "<html>pay here</html>";
    m_controller->setTemplates(templates);
    m_controller->generate();
    QVERIFY(fileBytes(project("order.htm"))
                .contains("ACTION=\"mailto:sales@shop.test?subject=Online Order\""));
    const QByteArray card = fileBytes(project("order_cc.htm"));
    QVERIFY(card.contains("action=\"https://pay.shop.test/scripts/authnet25/WLDoTrans.asp\""));
    QVERIFY(card.contains("name=\"LOGIN\" value=\"shop7\""));
    QVERIFY(fileBytes(project("order1.htm")).contains("S-Email-Address=\"results@shop.test\""));
    QCOMPARE(fileBytes(project("select_payment.htm")), "<html>pay here</html>\r\n");
    QVERIFY(fileBytes(project("data1.js"))
                .contains("ToolsList[ 2] = new Item(\"A2\",\"Saw\",12,0,\"3\",\"8\",\"\")"));
    QFile::remove(project("data1.js"));
    m_prompts->expectMessage("To publish it, enter the server name");
    m_controller->update();
    QVERIFY(QFileInfo::exists(project("data1.js")));
    QFile::remove(project("data1.js"));

    // A hand-edited item file with a price the shop's script cannot hold.
    writeFile(project("Garden.pro"), {"G7^Rake^ten^^^^^^^"});
    m_prompts->expectMessage("Garden, item G7");
    m_controller->generate();
    QVERIFY(!QFileInfo::exists(project("data1.js")));
}

// Into a folder on this machine: the real back end, no server needed.
void TestGeneratorController::frontPageAndUpdatePublish() {
    m_prompts->expectMessage("\"New Project\"");
    m_controller->frontPage();
    makeShop();
    m_prompts->expectMessage("Enter the server name on the \"Settings\" tab");
    m_controller->frontPage();

    const QString server = m_home->filePath("www");
    QVERIFY(QDir().mkpath(server));
    setSetting(&SiteSettings::frontPageServer, server);
    m_controller->generate();
    QSignalSpy progress(m_controller, &GeneratorController::publishProgress);
    m_prompts->expectMessage("21 of 21 files were published to " + server);
    m_controller->frontPage();
    QVERIFY(m_prompts->done());
    QCOMPARE(progress.first(), (QList<QVariant>{0, 1}));
    QCOMPARE(progress.at(progress.size() - 2), (QList<QVariant>{21, 21}));
    QCOMPARE(progress.last(), (QList<QVariant>{0, 0}));
    QVERIFY(QFileInfo::exists(server + "/Shop/l_Garden.htm"));

    writeFile(project("Tools.pro"), {kSaw});
    m_prompts->expectMessage("1 of 1 files were published");
    m_controller->update();
    QCOMPARE(fileBytes(server + "/Shop/data1.js"), fileBytes(project("data1.js")));
    QVERIFY(!fileBytes(server + "/Shop/data1.js").contains("Hammer"));

    // A password over plain http: asked before anything goes, once per server.
    setSetting(&SiteSettings::frontPageServer, "http://shop.test");
    setSetting(&SiteSettings::frontPagePassword, "secret");
    int publishers = 0;
    m_controller->setPublisherFactory([&publishers](const QString&) {
        ++publishers;
        return std::make_unique<RecordingPublisher>(false);
    });
    m_prompts->expect(ScriptedPrompts::Kind::YesNo, "http://shop.test is not encrypted", "no");
    m_controller->frontPage();
    QCOMPARE(publishers, 0);
    m_prompts->expect(ScriptedPrompts::Kind::YesNo, "not encrypted", "yes")
        .expectMessage("files were published to http://shop.test");
    m_controller->frontPage();
    m_prompts->expectMessage("1 of 1 files were published to http://shop.test");
    m_controller->update();
    QVERIFY(m_prompts->done());
    QCOMPARE(publishers, 2);
}

void TestGeneratorController::previewAndGetItUseTheBrowser() {
    m_prompts->expectMessage("\"Preview\" is not available in this version yet.");
    m_controller->preview();
    FakeBrowser browser;
    browser.address = "https://maker.test/hammer.htm";
    m_controller->setBrowserLink(&browser);
    makeShop();
    QSignalSpy hidden(m_controller, &GeneratorController::hideWanted);
    setSetting(&SiteSettings::startFileName, "shop");
    m_controller->preview();
    QCOMPARE(hidden.size(), 1);
    QCOMPARE(browser.previewed, QStringList{project("shop.htm")});
    m_controller->getIt();
    QCOMPARE(m_controller->itemFields()[ItemRecord::DescUrl].toString(), browser.address);
}

QTEST_GUILESS_MAIN(TestGeneratorController)
#include "test_generator_controller.moc"
