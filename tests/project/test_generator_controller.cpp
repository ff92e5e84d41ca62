#include "platform/TextFile.h"
#include "project/BrowserLink.h"
#include "project/GeneratorController.h"
#include "project/SettingsFile.h"
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

void writeFile(const QString& path, const QStringList& lines) {
    QVERIFY(TextFile::writeLines(path, lines).isEmpty());
}

QStringList linesOf(const QString& path) {
    return TextFile::readLines(path).value_or(QStringList{QStringLiteral("<missing>")});
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
    void newProjectCreatesTheFolder();
    void newProjectRefusals_data();
    void newProjectRefusals();
    void categoryListAndTabSwitch();
    void tabSwitchWithoutProjectWritesNothing();
    void choosingAndEditingItems();
    void movingItemsAtTheEnds();
    void savesNeverCrossCategories();
    void openProject();
    void openProjectCancelledOrOutside();
    void generateAndUpdate();
    void generateUsesTheAddressesAndTemplatesOfTheWindow();
    void frontPageAndUpdatePublish();
    void previewAndGetItUseTheBrowser();

private:
    QString project(const QString& file = {}) const;
    // A project "Shop" with the categories Tools (two items) and Garden
    // (one item), opened as after "New Project".
    void makeShop();

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

QString TestGeneratorController::project(const QString& file) const {
    return m_home->filePath(file.isEmpty() ? QStringLiteral("Shop")
                                           : QStringLiteral("Shop/") + file);
}

void TestGeneratorController::makeShop() {
    m_prompts->expect(Kind::Input, QStringLiteral("Enter the new project's name , please"),
                      QStringLiteral("Shop"));
    m_prompts->expectMessage(QStringLiteral("You may fill the category listing for the new Store"));
    m_controller->newProject();
    writeFile(project(QStringLiteral("Tools.pro")), {kHammer, kSaw});
    writeFile(project(QStringLiteral("Garden.pro")), {kSpade});
    for (const char* name : {"Tools", "Garden"}) {
        m_controller->setCategoryEntry(QString::fromLatin1(name));
        m_controller->addCategory();
    }
    m_controller->switchTab();
}

void TestGeneratorController::newProjectCreatesTheFolder() {
    m_controller->setCategoryEntry(QStringLiteral("typed"));
    m_prompts->expect(Kind::Input, QStringLiteral("Enter the new project's name , please"),
                      QStringLiteral("My Shop"));
    m_prompts->expectMessage(QStringLiteral("You may fill the category listing for the new Store"));
    m_controller->newProject();
    QCOMPARE(m_controller->projectName(), QStringLiteral("My Shop"));
    QVERIFY(QFileInfo(m_home->filePath(QStringLiteral("My Shop"))).isDir());
    QVERIFY(QDir(m_home->filePath(QStringLiteral("My Shop"))).isEmpty());
    QCOMPARE(m_controller->categoryEntry(), QString());
    QVERIFY(m_controller->categories().isEmpty());
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
    QDir(m_home->path()).mkdir(QStringLiteral("Taken"));
    m_prompts->expect(Kind::Input, QStringLiteral("Enter the new project's name"), answer, cancel);
    if (!message.isEmpty())
        m_prompts->expectMessage(message);
    if (answer == QLatin1String("Taken"))
        m_prompts->expect(Kind::OpenFile, QStringLiteral("*.caa"), {}, true);
    m_controller->newProject();
    QCOMPARE(m_controller->projectName(), QString());
    QCOMPARE(QDir(m_home->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("Taken")});
    QVERIFY(!QFileInfo::exists(m_home->filePath(QStringLiteral("../outside"))));
}

void TestGeneratorController::categoryListAndTabSwitch() {
    makeShop();
    m_controller->setCategoryEntry(QStringLiteral("Bad/Name"));
    m_prompts->expectMessage(QStringLiteral("must not contain"));
    m_controller->addCategory();
    m_controller->setCategoryEntry(QStringLiteral("Power Tools"));
    m_controller->addCategory();
    m_controller->removeCategory(0);
    QCOMPARE(m_controller->categories(),
             (QStringList{QStringLiteral("Garden"), QStringLiteral("Power Tools")}));
    QVERIFY(QFileInfo::exists(project(QStringLiteral("Tools.pro"))));

    m_controller->switchTab();
    const QByteArray settings = fileBytes(project(QStringLiteral("Shop.sit")));
    QCOMPARE(fileBytes(project(QStringLiteral("Shop.caa"))),
             QByteArray("Garden\r\nPower Tools\r\n"));
    QVERIFY2(settings == expectedFile(QStringLiteral("project/expected/settings_defaults.sit")),
             firstDifference(settings, expectedFile("project/expected/settings_defaults.sit")));
    QCOMPARE(m_controller->categoryBoxList(), m_controller->categories());
    QCOMPARE(m_controller->categoryBoxText(), QString());

    m_controller->switchTab();
    QCOMPARE(fileBytes(project(QStringLiteral("Shop.sit"))), settings);

    m_controller->clearCategories();
    m_controller->switchTab();
    QCOMPARE(fileBytes(project(QStringLiteral("Shop.caa"))), QByteArray());
}

void TestGeneratorController::tabSwitchWithoutProjectWritesNothing() {
    m_controller->setCategoryEntry(QStringLiteral("Tools"));
    m_controller->addCategory();
    m_controller->switchTab();
    QVERIFY(QDir(m_home->path()).isEmpty());
    QCOMPARE(m_controller->categoryBoxList(), QStringList{QStringLiteral("Tools")});
}

void TestGeneratorController::choosingAndEditingItems() {
    makeShop();
    for (int f = 0; f < ItemRecord::kFieldCount; ++f)
        m_controller->setItemField(ItemRecord::Field(f), QStringLiteral("old"));
    m_controller->chooseCategory(QStringLiteral("Tools"));
    QCOMPARE(m_controller->items(), (QStringList{kHammer, kSaw}));
    ItemRecord kept;
    kept[ItemRecord::WPrice] = kept[ItemRecord::Cv] = QStringLiteral("old");
    QCOMPARE(m_controller->itemFields(), kept);

    m_controller->showItem(1);
    QCOMPARE(m_controller->itemFields()[ItemRecord::ItemDesc], QStringLiteral("Saw"));
    m_controller->setItemField(ItemRecord::ItemPrice, QStringLiteral("12,50"));
    m_prompts->expectMessage(QStringLiteral("must be a number"));
    m_controller->addItem();
    QCOMPARE(linesOf(project(QStringLiteral("Tools.pro"))), (QStringList{kHammer, kSaw}));

    m_controller->setItemField(ItemRecord::ItemPrice, QStringLiteral("13.5"));
    m_controller->setItemField(ItemRecord::ItemDesc, QStringLiteral("Saw^large"));
    m_prompts->expectMessage(QStringLiteral("cannot hold the character ^"));
    m_controller->addItem();
    m_controller->setItemField(ItemRecord::ItemDesc, QStringLiteral("Saw"));
    m_controller->addItem();
    const QString changedSaw = QStringLiteral("A2^Saw^13.5^^^^3^8^^");
    QCOMPARE(fileBytes(project(QStringLiteral("Tools.pro"))),
             (kHammer + "\r\n" + kSaw + "\r\n" + changedSaw + "\r\n").toUtf8());

    m_controller->takeOutItem(1);
    QCOMPARE(m_controller->itemFields(), ItemRecord::fromLine(kSaw));
    QCOMPARE(linesOf(project(QStringLiteral("Tools.pro"))), (QStringList{kHammer, changedSaw}));
}

void TestGeneratorController::movingItemsAtTheEnds() {
    makeShop();
    m_controller->chooseCategory(QStringLiteral("Tools"));
    m_controller->moveUp(); // nothing selected
    m_controller->selectItem(0);
    m_controller->moveUp();
    QCOMPARE(m_controller->items(), (QStringList{kHammer, kSaw}));
    m_controller->moveDown();
    QCOMPARE(m_controller->items(), (QStringList{kSaw, kHammer}));
    QCOMPARE(m_controller->selectedItem(), 1);
    m_controller->moveDown();
    QCOMPARE(m_controller->items(), (QStringList{kSaw, kHammer}));
    QCOMPARE(linesOf(project(QStringLiteral("Tools.pro"))), (QStringList{kHammer, kSaw}));
}

void TestGeneratorController::savesNeverCrossCategories() {
    makeShop();
    // Right after a tab switch the Category box is empty.
    m_controller->chooseCategory(QStringLiteral("Tools"));
    m_controller->switchTab();
    m_prompts->expectMessage(QStringLiteral("Choose a category in the Category box first"));
    m_controller->addItem();
    m_prompts->expectMessage(QStringLiteral("Choose a category in the Category box first"));
    m_controller->takeOutItem(0);
    QVERIFY(!QFileInfo::exists(project(QStringLiteral(".pro"))));
    QCOMPARE(linesOf(project(QStringLiteral("Tools.pro"))), (QStringList{kHammer, kSaw}));

    // Generate leaves the loaded category in the editor.
    m_controller->chooseCategory(QStringLiteral("Garden"));
    m_controller->generate();
    m_controller->setItemField(ItemRecord::ItemPrice, QStringLiteral("1"));
    m_controller->addItem();
    QCOMPARE(linesOf(project(QStringLiteral("Garden.pro"))).first(), kSpade);
    QCOMPARE(linesOf(project(QStringLiteral("Garden.pro"))).size(), 2);

    // Typed text counts only once it is taken as the chosen category.
    m_controller->setCategoryBoxText(QStringLiteral("Lamps"));
    m_prompts->expectMessage(QStringLiteral("Choose a category"));
    m_controller->addItem();
    m_controller->setItemField(ItemRecord::ItemPrice, QStringLiteral("30"));
    m_controller->takeTypedCategory();
    QVERIFY(m_controller->items().isEmpty());
    m_controller->addItem();
    QCOMPARE(linesOf(project(QStringLiteral("Lamps.pro"))).size(), 1);

    // A category named like the project shares its file with the snapshot.
    writeFile(project(QStringLiteral("Shop.pro")), {kSpade});
    m_controller->setCategoryEntry(QStringLiteral("Shop"));
    m_controller->addCategory();
    m_controller->switchTab();
    m_controller->chooseCategory(QStringLiteral("Tools"));
    m_controller->switchTab();
    QCOMPARE(linesOf(project(QStringLiteral("Shop.pro"))), QStringList{kSpade});
}

void TestGeneratorController::openProject() {
    QDir(m_home->path()).mkdir(QStringLiteral("Shop"));
    writeFile(project(QStringLiteral("Shop.caa")),
              {QStringLiteral("Tools"), QStringLiteral("Garden")});
    SiteSettings saved = SiteSettings::defaults();
    saved.salesTax = QStringLiteral("0.07");
    saved.startFileName = QStringLiteral("home");
    QVERIFY(TextFile::writeText(project(QStringLiteral("Shop.sit")), SettingsFile::write(saved))
                .isEmpty());

    m_controller->setCategoryEntry(QStringLiteral("Old"));
    m_controller->addCategory();
    for (int time = 0; time < 2; ++time) {
        m_prompts->expect(Kind::OpenFile, QStringLiteral("Project file (*.caa)|*.caa"),
                          project(QStringLiteral("Shop.caa")));
        m_controller->openProject();
        QCOMPARE(m_controller->projectName(), QStringLiteral("Shop"));
        QCOMPARE(m_controller->categories(),
                 (QStringList{QStringLiteral("Tools"), QStringLiteral("Garden")}));
    }
    QCOMPARE(m_controller->settings().salesTax, QStringLiteral("0.07"));
    m_controller->switchTab();
    QCOMPARE(fileBytes(project(QStringLiteral("Shop.sit"))), SettingsFile::write(saved).toUtf8());
}

void TestGeneratorController::openProjectCancelledOrOutside() {
    makeShop();
    QTemporaryDir elsewhere;
    QDir(elsewhere.path()).mkdir(QStringLiteral("Other"));
    const QString outside = elsewhere.filePath(QStringLiteral("Other/Other.caa"));
    writeFile(outside, {QStringLiteral("Stranger")});

    m_prompts->expect(Kind::OpenFile, QStringLiteral("*.caa"), {}, true);
    m_controller->openProject();
    m_prompts->expect(Kind::OpenFile, QStringLiteral("*.caa"), outside);
    m_prompts->expectMessage(QStringLiteral("Choose the project file inside its project's folder"));
    m_controller->openProject();

    QCOMPARE(m_controller->projectName(), QStringLiteral("Shop"));
    QCOMPARE(m_controller->categories(),
             (QStringList{QStringLiteral("Tools"), QStringLiteral("Garden")}));
    m_controller->switchTab();
    QCOMPARE(linesOf(project(QStringLiteral("Shop.caa"))),
             (QStringList{QStringLiteral("Tools"), QStringLiteral("Garden")}));
}

void TestGeneratorController::generateAndUpdate() {
    m_prompts->expectMessage(QStringLiteral("\"New Project\""));
    m_controller->generate();
    QVERIFY(QDir(m_home->path()).isEmpty());

    makeShop();
    m_controller->generate();
    QVERIFY(fileBytes(project(QStringLiteral("data1.js")))
                .contains("ToolsList[ 2] = new Item(\"A2\",\"Saw\",12,0,\"3\",\"8\",\"\")"));
    QFile::remove(project(QStringLiteral("data1.js")));

    m_prompts->expectMessage(QStringLiteral("To publish it, enter the server name"));
    m_controller->update();
    QVERIFY(QFileInfo::exists(project(QStringLiteral("data1.js"))));
    QFile::remove(project(QStringLiteral("data1.js")));

    // A hand-edited item file with a price the shop's script cannot hold.
    writeFile(project(QStringLiteral("Garden.pro")), {QStringLiteral("G7^Rake^ten^^^^^^^")});
    m_prompts->expectMessage(QStringLiteral("Garden, item G7"));
    m_controller->generate();
    QVERIFY(!QFileInfo::exists(project(QStringLiteral("data1.js"))));

    m_prompts->expectMessage(
        QStringLiteral("\"Get Orders\" is not available in this version yet."));
    m_controller->notAvailable(QStringLiteral("Get Orders"));
}

// Into a folder on this machine: the real back end, no server needed.
void TestGeneratorController::frontPageAndUpdatePublish() {
    m_prompts->expectMessage(QStringLiteral("\"New Project\""));
    m_controller->frontPage();
    makeShop();
    m_prompts->expectMessage(QStringLiteral("Enter the server name on the \"Settings\" tab"));
    m_controller->frontPage();

    const QString server = m_home->filePath(QStringLiteral("www"));
    QVERIFY(QDir().mkpath(server));
    SiteSettings settings = m_controller->settings();
    settings.frontPageServer = server;
    m_controller->setSettings(settings);
    m_controller->generate();
    QSignalSpy progress(m_controller, &GeneratorController::publishProgress);
    m_prompts->expectMessage(QStringLiteral("21 of 21 files were published to ") + server);
    m_controller->frontPage();
    QVERIFY(m_prompts->done());
    QCOMPARE(progress.first(), (QList<QVariant>{0, 1}));
    QCOMPARE(progress.at(progress.size() - 2), (QList<QVariant>{21, 21}));
    QCOMPARE(progress.last(), (QList<QVariant>{0, 0}));
    QVERIFY(QFileInfo::exists(server + QStringLiteral("/Shop/l_Garden.htm")));

    writeFile(project(QStringLiteral("Tools.pro")), {kSaw});
    m_prompts->expectMessage(QStringLiteral("1 of 1 files were published"));
    m_controller->update();
    QCOMPARE(fileBytes(server + QStringLiteral("/Shop/data1.js")),
             fileBytes(project(QStringLiteral("data1.js"))));
    QVERIFY(!fileBytes(server + QStringLiteral("/Shop/data1.js")).contains("Hammer"));
}

void TestGeneratorController::generateUsesTheAddressesAndTemplatesOfTheWindow() {
    makeShop();
    m_controller->setOrderEmail(QStringLiteral("sales@shop.test"));
    m_controller->setGatewayHost(QStringLiteral("pay.shop.test"));
    m_controller->setGatewayLogin(QStringLiteral("shop7"));
    m_controller->setSaveResultsEmail(QStringLiteral("results@shop.test"));
    OrderTemplates templates = m_controller->templates();
    templates.paymentPage = QStringLiteral("<html>pay here</html>");
    m_controller->setTemplates(templates);
    m_controller->generate();

    const QByteArray order = fileBytes(project(QStringLiteral("order.htm")));
    QVERIFY(order.contains("ACTION=\"mailto:sales@shop.test?subject=Online Order\""));
    const QByteArray card = fileBytes(project(QStringLiteral("order_cc.htm")));
    QVERIFY(card.contains("action=\"https://pay.shop.test/scripts/authnet25/WLDoTrans.asp\""));
    QVERIFY(card.contains("name=\"LOGIN\" value=\"shop7\""));
    QVERIFY(fileBytes(project(QStringLiteral("order1.htm")))
                .contains("S-Email-Address=\"results@shop.test\""));
    QCOMPARE(fileBytes(project(QStringLiteral("select_payment.htm"))),
             QByteArray("<html>pay here</html>\r\n"));
}

void TestGeneratorController::previewAndGetItUseTheBrowser() {
    m_prompts->expectMessage(QStringLiteral("\"Preview\" is not available in this version yet."));
    m_controller->preview();
    FakeBrowser browser;
    browser.address = QStringLiteral("https://maker.test/hammer.htm");
    m_controller->setBrowserLink(&browser);
    makeShop();
    QSignalSpy hidden(m_controller, &GeneratorController::hideWanted);
    SiteSettings settings = m_controller->settings();
    settings.startFileName = QStringLiteral("shop");
    m_controller->setSettings(settings);
    m_controller->preview();
    QCOMPARE(hidden.size(), 1);
    QCOMPARE(browser.previewed, QStringList{project(QStringLiteral("shop.htm"))});
    m_controller->getIt();
    QCOMPARE(m_controller->itemFields()[ItemRecord::DescUrl], browser.address);
}

QTEST_GUILESS_MAIN(TestGeneratorController)
#include "test_generator_controller.moc"
