// A project's texts (item record lines, names, the settings file, the
// addresses inside the order form tags), and the generator's controller
// that keeps them in the project folder.

#include "files/TextFile.h"
#include "generator/GeneratorController.h"
#include "project/BrowserLink.h"
#include "project/ProjectSettingsFile.h"
#include "project/SettingsFile.h"
#include "shop/ItemRecord.h"
#include "shop/NameRules.h"
#include "shop/OrderAddresses.h"
#include "shop/OrderTemplates.h"
#include "shop/SiteSettings.h"
#include "sitegen/RecordingPublisher.h"
#include "sitegen/SiteGenerator.h"
#include "support/ExpectedFile.h"
#include "support/ScriptedPrompts.h"

#include <QtTest>

using Kind = ScriptedPrompts::Kind;
using Field = ItemRecord::Field;

namespace {

const QString kHammer = "A1^Hammer^9.5^^^Acme^2^7^X^", kSaw = "A2^Saw^12^^^^3^8^^",
              kSpade = "G1^Spade^20^^^^5^15^^";
const QString kChoose = "Choose a category in the Category box first";

void writeFile(const QString& path, const QStringList& lines) {
    QVERIFY(TextFile::writeLines(path, lines).ok());
}

QStringList linesOf(const QString& path) {
    return TextFile::readLines(path).value_or(QStringList{"<missing>"});
}

// The browser window as the generator sees it.
struct FakeBrowser : BrowserLink {
    QStringList previewed;
    QString addressText() const override { return "https://maker.test/hammer.htm"; }
    void preview(const QString& path) override { previewed << path; }
};

} // namespace

class TestProject : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<GeneratorController> m_controller;

    QString project(const QString& file = {}) const { return m_home->filePath("Shop/" + file); }
    void addCategory(const QString& name) {
        m_controller->setCategoryEntry(name);
        m_controller->addCategory();
    }
    // A project "Shop" with the categories Tools (two items) and Garden
    // (one item), as after "New Project".
    void makeShop() {
        m_prompts->expect(Kind::Input, "Enter the new project's name , please", "Shop")
            .expectMessage("You may fill the category listing for the new Store");
        m_controller->newProject();
        writeFile(project("Tools.pro"), {kHammer, kSaw});
        writeFile(project("Garden.pro"), {kSpade});
        addCategory("Tools");
        addCategory("Garden");
        m_controller->switchTab();
    }
    // Order addresses that are not the examples, so Generate and Front Page
    // have nothing to say about them.
    void useOwnAddresses() {
        m_controller->setOrderEmail("orders@shop.test");
        m_controller->setGatewayHost("pay.shop.test");
        m_controller->setGatewayLogin("shop7");
        m_controller->setSaveResultsEmail("results@shop.test");
    }
    void setSetting(QString SiteSettings::*field, const QString& value) {
        SiteSettings settings = m_controller->settings();
        settings.*field = value;
        m_controller->setSettings(settings);
    }

private Q_SLOTS:
    void init() {
        m_home = std::make_unique<QTemporaryDir>();
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_controller = std::make_unique<GeneratorController>(m_home->path(), *m_prompts);
    }
    void cleanup() { QVERIFY2(m_prompts->done(), "a prompt the test expected was never shown"); }

    // A record line with every field, one with eight carets, and one with a
    // byte order mark and accents: the fields read, whether the line is
    // complete, and the line written back.
    void readsAndWritesItemRecords() {
        for (const auto& [line, fields, complete, written] :
             {std::tuple<QString, QString, bool, QString>{
                  "A1^Claw hammer^12.5^a.jpg^http://s.test/a.htm^Acme^1.2^9.75^x^",
                  "A1|Claw hammer|12.5|a.jpg|http://s.test/a.htm|Acme|1.2|9.75|x", true,
                  "A1^Claw hammer^12.5^a.jpg^http://s.test/a.htm^Acme^1.2^9.75^x^"},
              {"1^2^3^4^5^6^7^8^", "1|2|3|4|5|6|7|8|", false, "1^2^3^4^5^6^7^8^^"},
              {"\uFEFFA1^Café", "\uFEFFA1|Café|||||||", false, "\uFEFFA1^Café^^^^^^^^"}}) {
            const ItemRecord record = ItemRecord::fromLine(line);
            QStringList read;
            for (int i = 0; i < ItemRecord::kFieldCount; ++i)
                read << record[ItemRecord::Field(i)].toString();
            QCOMPARE(read.join('|'), fields);
            const auto text = std::make_shared<const QByteArray>((line + "\r\n").toUtf8());
            QCOMPARE(ItemRecord::fromLines(text), ItemList{record});
            QCOMPARE(ItemRecord::isComplete(line), complete);
            QCOMPARE(record.toLine(), written);
        }
    }

    void judgesNames() {
        for (const QString good : {"Garden Tools", "Café Müller", "..."})
            QVERIFY2(NameRules::check(good, "category").ok(), qPrintable(good));
        for (const QString bad : {"", "..", "a/b", "a\\b", "a\tb"})
            QVERIFY2(!NameRules::check(bad, "category").ok(), qPrintable(bad));
        QCOMPARE(NameRules::check("..", "project").error(),
                 "The project name must not be empty, must not be \".\" or \"..\", "
                 "and must not contain / or \\ or control characters.");
    }

    // The file holds neither the layout nor the publishing account: a file
    // read keeps those of the settings it is read over.
    void writesAndReadsTheSettingsFile() {
        SiteSettings defaults = SiteSettings::defaults();
        defaults.layout = SiteSettings::Layout::ContentsOnly;
        defaults.frontPageServer = defaults.frontPageUser = defaults.frontPagePassword = "unstored";
        SiteSettings emptied = defaults, font = defaults, edited = defaults, base = defaults;
        base.startFileName = base.fontTag = base.tableTag = base.actionCode = base.emailFormTag =
            base.salesTax = "base";
        emptied.startFileName.clear();
        emptied.salesTax.clear();
        font.fontTag = "<font size='3'\r\nface='Arial'>";
        edited.emailFormTag = SiteSettings::emailFormTagFor("sales@shop.test");
        edited.actionCode = edited.tableTag = QString();
        for (const SiteSettings& settings : {defaults, emptied, font, edited})
            QCOMPARE(SettingsFile::read(SettingsFile::write(settings), base), settings);
        QCOMPARE(SettingsFile::write(defaults).toUtf8(),
                 expectedFile("project/expected/settings_defaults.sit"));
        QCOMPARE(SettingsFile::write(emptied).toUtf8(),
                 expectedFile("project/expected/settings_no_start_no_tax.sit"));
        // A file without its section markers leaves every value as it was.
        QCOMPARE(SettingsFile::read("no markers\r\nat all\r\n", base), base);
    }

    // The second settings file against one written by hand from its
    // description; what it reads back is what was written, less the
    // password, which never reaches a file; and a file with mistakes.
    void writesAndReadsTheKeptSettings() {
        ProjectSettings settings;
        settings.site.layout = SiteSettings::Layout::ContentsOnly;
        settings.site.frontPageServer = "sftp://www.anna-tools.test/~/public_html";
        settings.site.frontPageUser = "anna";
        settings.site.frontPagePassword = "secret";
        settings.options.manufacturer = settings.options.pictureUrl = true;
        settings.identity.bannerText = "Anna's \"Tools\" & more";
        settings.identity.bannerPicture = "/home/anna/Pictures/logo.png";
        settings.identity.companyText = "Anna's Tools\n\nOpen Monday to Friday.";
        settings.identity.style(ShopIdentity::Page::Banner) = {"#203040", "#ffffff", ""};
        settings.identity.style(ShopIdentity::Page::StoreMenu).backgroundPicture = "/p/b.gif";
        settings.templates.order1Tail =
            OrderAddresses::withSaveResultsEmail(settings.templates.order1Tail, "o@anna.test");
        settings.templates.paymentPage = "<p>pay</p>\r\n";
        const QByteArray written = ProjectSettingsFile::write(settings);
        QCOMPARE(QJsonDocument::fromJson(written),
                 QJsonDocument::fromJson(expectedFile("project/expected/kept_settings.json")));
        ProjectSettings base;
        base.site.frontPagePassword = "typed";
        base.identity.bannerText = "kept";
        ProjectSettings expected = settings;
        expected.site.frontPagePassword = "typed";
        QCOMPARE(*ProjectSettingsFile::read(written, base), expected);

        // Keys of another type keep what the window shows; a text that is
        // not a JSON object is refused.
        QCOMPARE(
            *ProjectSettingsFile::read(R"({"siteLayout": 3, "catalogOptions": {"weight": "yes"},
                                               "shop": {"bannerText": null}, "templates": []})",
                                       base),
            base);
        QCOMPARE(ProjectSettingsFile::read("[]", base).error(), "it holds no JSON object");
    }

    // Each layout is kept under its own text, and that text reads back as
    // the layout over settings that had another.
    void keepsEachLayout_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<SiteSettings::Layout>("layout");
        QTest::newRow("banner") << "banner and contents menu"
                                << SiteSettings::Layout::BannerAndContents;
        QTest::newRow("contents") << "contents menu only" << SiteSettings::Layout::ContentsOnly;
        QTest::newRow("pages") << "pages without frames" << SiteSettings::Layout::Pages;
    }
    void keepsEachLayout() {
        QFETCH(QString, text);
        QFETCH(SiteSettings::Layout, layout);
        ProjectSettings settings;
        settings.site.layout = layout;
        const QByteArray written = ProjectSettingsFile::write(settings);
        QCOMPARE(QJsonDocument::fromJson(written)["siteLayout"].toString(), text);
        for (const auto other :
             {SiteSettings::Layout::BannerAndContents, SiteSettings::Layout::Pages}) {
            ProjectSettings base;
            base.site.layout = other;
            QCOMPARE(ProjectSettingsFile::read(written, base)->site.layout, layout);
        }
    }

    // A hand-edited settings file that is no longer JSON is said and set
    // aside when the project opens; the next save writes a new one.
    void unreadableKeptSettingsAreSetAside() {
        makeShop();
        m_controller->setGatewayLogin("shop7");
        m_controller->switchTab();
        writeFile(project("Shop.settings.json"), {"{ \"shop\": "});
        m_prompts->expect(Kind::OpenFile, "*.caa", project("Shop.caa"))
            .expectMessage("The settings file " + project("Shop.settings.json") +
                           " cannot be read: ");
        m_controller->openProject();
        QVERIFY(m_prompts->shown().last().contains(" It was kept as " +
                                                   project("Shop.settings.json.unreadable")));
        QCOMPARE(linesOf(project("Shop.settings.json.unreadable")), QStringList{"{ \"shop\": "});
        QCOMPARE(OrderAddresses::gatewayLogin(m_controller->settings().actionCode), "shop7");
        m_controller->switchTab();
        QVERIFY(ProjectSettingsFile::read(fileBytes(project("Shop.settings.json")), {}).ok());
    }

    // The addresses at the domains kept for examples, and the example
    // login, are named; the merchant's own are not.
    void recognisesExampleAddresses_data() {
        QTest::addColumn<QString>("email");
        QTest::addColumn<bool>("example");
        QTest::newRow("example.com") << "orders@example.com" << true;
        QTest::newRow("letter case") << "Sales@Shop.EXAMPLE.org" << true;
        QTest::newRow(".example") << "a@shop.example" << true;
        QTest::newRow("own") << "a@anna-tools.test" << false;
        QTest::newRow("example in the name") << "a@myexample.com" << false;
        QTest::newRow("example.com inside") << "a@example.com.anna.test" << false;
    }
    void recognisesExampleAddresses() {
        QFETCH(QString, email);
        QFETCH(bool, example);
        SiteSettings settings = SiteSettings::defaults();
        settings.emailFormTag = OrderAddresses::withOrderEmail(settings.emailFormTag, email);
        settings.actionCode = OrderAddresses::withGatewayLogin(
            OrderAddresses::withGatewayHost(settings.actionCode, "pay.anna.test"), "anna7");
        OrderTemplates templates;
        templates.order1Tail = OrderTemplates::order1TailFor("o@anna.test");
        const QStringList found = OrderAddresses::placeholders(settings, templates);
        QCOMPARE(found, example ? QStringList{"Orders are mailed to: " + email} : QStringList{});
    }

    // A new project's example addresses are named after Generate, and Front
    // Page publishes only when the merchant says so.
    void exampleAddressesAreNamed() {
        makeShop();
        m_prompts->expectMessage("The site was written.\nThese order addresses are still the "
                                 "examples of a new project");
        m_controller->generate();
        const QString said = m_prompts->shown().last();
        for (const QString line : {"\n  Orders are mailed to: orders@example.com\n",
                                   "\n  Payment gateway host: gateway.example.com\n",
                                   "\n  Login at the gateway: tessmark\n",
                                   "\n  Order1 results are mailed to: orders@example.com\n"})
            QVERIFY2(said.contains(line), qPrintable(line));
        const QString server = m_home->filePath("www");
        QVERIFY(QDir().mkpath(server));
        setSetting(&SiteSettings::frontPageServer, server);
        m_prompts->expect(Kind::YesNo, "Publish anyway?", "no");
        m_controller->frontPage();
        QVERIFY(!QFileInfo::exists(server + "/Shop"));
        m_prompts->expect(Kind::YesNo, "Publish anyway?", "yes")
            .expectMessage("files were published to");
        m_controller->frontPage();
        QVERIFY(QFileInfo::exists(server + "/Shop/index.htm"));
    }

    // Whatever the merchant types comes back as typed, and never ends the
    // attribute it is written into.
    void addressesStayInsideTheirAttribute() {
        const SiteSettings settings = SiteSettings::defaults();
        const QString tail = OrderTemplates::defaults().order1Tail;
        for (const QString typed : {"a\"b&c@s.test", "x?subject=1#y@s.test"}) {
            const QString tag = OrderAddresses::withOrderEmail(settings.emailFormTag, typed);
            QCOMPARE(OrderAddresses::orderEmail(tag), typed);
            QVERIFY(tag.contains("?subject=Online Order\" METHOD=\"POST\""));
            const QString code = OrderAddresses::withGatewayHost(
                OrderAddresses::withGatewayLogin(settings.actionCode, typed), typed);
            QCOMPARE(OrderAddresses::gatewayLogin(code), typed);
            QCOMPARE(OrderAddresses::gatewayHost(code), typed);
            QCOMPARE(code.count('"'), settings.actionCode.count('"'));
            QCOMPARE(
                OrderAddresses::saveResultsEmail(OrderAddresses::withSaveResultsEmail(tail, typed)),
                typed);
        }
        QVERIFY(SiteSettings::emailFormTagFor("a\"b<c>&d?e#f%g@s.test")
                    .startsWith("<form ACTION=\"mailto:a%22b%3Cc%3E%26d%3Fe%23f%25g@s.test?subject="
                                "Online Order\" METHOD=\"POST\"\r\n"));
        const QString action =
            SiteSettings::actionCodeFor("https://pay.test/t.asp?a=1&b=\"2\"", "me\"<x>&");
        QVERIFY(action.contains("action=\"https://pay.test/t.asp?a=1&amp;b=&quot;2&quot;\">\r\n"));
        QVERIFY(action.endsWith("name=\"LOGIN\" value=\"me&quot;&lt;x&gt;&amp;\">\r\n"));
        QVERIFY(OrderTemplates::order1TailFor("a\" -->").contains(
            "S-Email-Address=\"a&quot; --&gt;\""));
        // A hand-edited tag keeps its other text.
        const QString mine =
            "<form ACTION=\"mailto:old@s.test?subject=Online Order\" class=\"mine\">";
        QCOMPARE(OrderAddresses::withOrderEmail(mine, "new@s.test"),
                 QString(mine).replace("old@", "new@"));
    }

    // An existing project and a name that is a path: nothing is made.
    void newProjectRefusals() {
        QDir(m_home->path()).mkdir("Taken");
        m_prompts->expect(Kind::Input, "Enter the new project's name", "Taken")
            .expectMessage("You already have the project with the same name.Please remove "
                           "appropriate folder")
            .expect(Kind::OpenFile, "*.caa", {}, true)
            .expect(Kind::Input, "Enter the new project's name", "../outside")
            .expectMessage("must not contain");
        m_controller->newProject();
        m_controller->newProject();
        QCOMPARE(m_controller->projectName(), QString());
        QCOMPARE(QDir(m_home->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"Taken"});
        QVERIFY(!QFileInfo::exists(m_home->filePath("../outside")));
    }

    void categoryListAndTabSwitch() {
        // Without a project a tab switch writes nothing.
        addCategory("Old");
        m_controller->switchTab();
        QVERIFY(QDir(m_home->path()).isEmpty());
        makeShop();
        m_prompts->expectMessage("must not contain");
        addCategory("Bad/Name");
        addCategory("Power Tools");
        m_controller->removeCategory(0);
        QVERIFY(QFileInfo::exists(project("Tools.pro")));
        m_controller->switchTab();
        QCOMPARE(fileBytes(project("Shop.caa")), "Garden\r\nPower Tools\r\n");
        const QByteArray settings = fileBytes(project("Shop.sit"));
        QCOMPARE(settings, expectedFile("project/expected/settings_defaults.sit"));
        m_controller->clearCategories();
        m_controller->switchTab();
        QCOMPARE(fileBytes(project("Shop.caa")), QByteArray());
        QCOMPARE(fileBytes(project("Shop.sit")), settings);
    }

    void choosingEditingAndMovingItems() {
        makeShop();
        for (int f = 0; f < ItemRecord::kFieldCount; ++f)
            m_controller->setItemField(Field(f), "old");
        m_controller->chooseCategory("Tools");
        QCOMPARE(m_controller->items(), (QStringList{kHammer, kSaw}));
        QCOMPARE(m_controller->itemFields().toLine(), "^^^^^^^old^old^");
        m_controller->showItem(1);
        for (const auto& [field, value, message] :
             {std::tuple<Field, QString, QString>{ItemRecord::ItemPrice, "12,50",
                                                  "must be a number"},
              {ItemRecord::ItemDesc, "Saw^large", "cannot hold the character ^"},
              {ItemRecord::PicUrl, "http://p.test/saw.jpg' onload='x",
               "\"Picture URL\" and \"Description URL\" fields cannot hold quotes"}}) {
            const QString kept = m_controller->itemFields()[field].toString();
            m_controller->setItemField(field, value);
            m_prompts->expectMessage(message);
            m_controller->addItem();
            m_controller->setItemField(field, field == ItemRecord::ItemPrice ? "13.5" : kept);
        }
        QCOMPARE(linesOf(project("Tools.pro")), (QStringList{kHammer, kSaw}));
        m_controller->addItem();
        const QString changedSaw = "A2^Saw^13.5^^^^3^8^^";
        m_controller->takeOutItem(1);
        QCOMPARE(m_controller->itemFields(), ItemRecord::fromLine(kSaw));
        QCOMPARE(linesOf(project("Tools.pro")), (QStringList{kHammer, changedSaw}));

        m_controller->chooseCategory("Tools");
        m_controller->moveUp(); // nothing selected
        m_controller->selectItem(0);
        m_controller->moveUp();
        m_controller->moveDown();
        m_controller->moveDown();
        QCOMPARE(m_controller->items(), (QStringList{changedSaw, kHammer}));
        QCOMPARE(m_controller->selectedItem(), 1);
    }

    void savesNeverCrossCategories() {
        makeShop();
        useOwnAddresses();
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
        QCOMPARE(linesOf(project("Garden.pro")).value(0), kSpade);
        // Typed text counts only once it is taken as the chosen category.
        m_controller->setCategoryBoxText("Lamps");
        m_prompts->expectMessage(kChoose);
        m_controller->addItem();
        m_controller->takeTypedCategory();
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

    void openProject() {
        QDir(m_home->path()).mkdir("Shop");
        writeFile(project("Shop.caa"), {"Tools", "Garden"});
        SiteSettings saved = SiteSettings::defaults();
        saved.salesTax = "0.07";
        QVERIFY(TextFile::writeText(project("Shop.sit"), SettingsFile::write(saved)).ok());
        addCategory("Old");
        m_prompts->expect(Kind::OpenFile, "Project file (*.caa)|*.caa", project("Shop.caa"));
        m_controller->openProject();
        QCOMPARE(m_controller->categories(), (QStringList{"Tools", "Garden"}));
        QCOMPARE(m_controller->settings().salesTax, "0.07");
        // A project file outside its folder: the open one stays.
        QTemporaryDir elsewhere;
        QDir(elsewhere.path()).mkdir("Other");
        writeFile(elsewhere.filePath("Other/Other.caa"), {"Stranger"});
        m_prompts->expect(Kind::OpenFile, "*.caa", elsewhere.filePath("Other/Other.caa"))
            .expectMessage("Choose the project file inside its project's folder");
        m_controller->openProject();
        QCOMPARE(m_controller->projectName(), "Shop");
    }

    // Generate writes the typed addresses into the pages. The login typed
    // for the gateway is the one both gateway forms send: the card pages'
    // and order1.htm's; so is a login an older project keeps in its settings
    // file alone. Update writes the catalog anew from the item files, and
    // sends it alone.
    void generateAndPublish() {
        m_prompts->expectMessage("\"New Project\"").expectMessage("\"New Project\"");
        m_controller->generate();
        m_controller->frontPage();
        QVERIFY(QDir(m_home->path()).isEmpty());
        makeShop();
        useOwnAddresses();
        m_controller->setOrderEmail("sales@shop.test");
        m_controller->generate();
        QVERIFY(fileBytes(project("order.htm")).contains("mailto:sales@shop.test?"));
        QVERIFY(fileBytes(project("order1.htm")).contains("\"results@shop.test\""));
        const QByteArray login = "name=\"LOGIN\" value=\"shop7\"";
        QVERIFY(fileBytes(project("order_cc.htm")).contains(login));
        QVERIFY(fileBytes(project("order1.htm")).contains(login));
        QVERIFY(!fileBytes(project("order1.htm")).contains("tessmark"));
        QVERIFY(QFile::remove(project("Shop.settings.json")));
        GeneratorController reopened(m_home->path(), *m_prompts);
        m_prompts->expect(Kind::OpenFile, "*.caa", project("Shop.caa"));
        reopened.openProject();
        QCOMPARE(OrderAddresses::gatewayLogin(reopened.templates().order1Tail), "shop7");
        m_prompts->expectMessage("Enter the server name on the \"Settings\" tab")
            .expectMessage("To publish it, enter the server name");
        m_controller->frontPage();
        writeFile(project("Tools.pro"), {kSaw});
        m_controller->update();
        QVERIFY(fileBytes(project("data1.js")).contains("\"Saw\""));
        QVERIFY(!fileBytes(project("data1.js")).contains("Hammer"));

        // A password over plain http: asked before anything goes, once per server.
        setSetting(&SiteSettings::frontPageServer, "http://shop.test");
        setSetting(&SiteSettings::frontPagePassword, "secret");
        int publishers = 0;
        m_controller->setPublisherFactory([&publishers](const QString&) {
            ++publishers;
            return std::make_unique<RecordingPublisher>(false);
        });
        m_prompts->expect(Kind::YesNo, "http://shop.test is not encrypted", "no");
        m_controller->frontPage();
        QCOMPARE(publishers, 0);
        m_prompts->expect(Kind::YesNo, "not encrypted", "yes")
            .expectMessage("files were published to http://shop.test")
            .expectMessage("1 of 1 files were published to http://shop.test");
        m_controller->frontPage();
        m_controller->update();
        QCOMPARE(publishers, 2);
    }

    // The items are the ones read, even when their file is cut short on
    // disk before the site is written from them.
    void itemFileCutShortWhileGenerating() {
        QDir(m_home->path()).mkdir("Shop");
        writeFile(project("Tools.pro"), QStringList(20000, kHammer));
        const auto input =
            ProjectFolder(m_home->path(), "Shop").readSite({"Tools"}, SiteSettings::defaults(), {});
        QVERIFY(input.ok());
        QVERIFY(QFile::resize(project("Tools.pro"), 0));
        QVERIFY(SiteGenerator::generate(project(), *input).ok());
        QVERIFY(fileBytes(project("data1.js")).contains("ToolsList = new MakeArray( 20000)"));
    }

    void previewAndGetItUseTheBrowser() {
        m_prompts->expectMessage("\"Preview\" is not part of this version.");
        m_controller->preview();
        FakeBrowser browser;
        m_controller->setBrowserLink(&browser);
        makeShop();
        QSignalSpy hidden(m_controller.get(), &GeneratorController::hideWanted);
        setSetting(&SiteSettings::startFileName, "shop");
        m_controller->preview();
        QCOMPARE(hidden.size(), 1);
        QCOMPARE(browser.previewed, QStringList{project("shop.htm")});
        m_controller->getIt();
        QCOMPARE(m_controller->itemFields().text(ItemRecord::DescUrl), browser.addressText());
    }
};

QTEST_GUILESS_MAIN(TestProject)
#include "test_project.moc"
