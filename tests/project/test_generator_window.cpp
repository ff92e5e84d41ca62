#include "project/GeneratorController.h"
#include "project/GeneratorWindow.h"
#include "support/ExpectedFile.h"
#include "support/ScriptedPrompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using Kind = ScriptedPrompts::Kind;

namespace {

const QString kChooseCategory = QStringLiteral("Choose a category in the Category box first");
const QString kActionLabel =
    QStringLiteral("Here You must place the HTML code for \"Form action\" tag");

// The texts of all widgets of one kind, sorted.
template <typename W> QStringList textsOf(const QWidget* root, QString (W::*text)() const) {
    QStringList texts;
    for (const W* widget : root->findChildren<W*>())
        texts << (widget->*text)();
    texts.sort();
    return texts;
}

} // namespace

class TestGeneratorWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void captionTabsAndTexts();
    void labelsNameTheirFields();
    void defaultsAreShown();
    void merchantSession();
    void settingsReachTheSettingsFile();
    void saveNeedsAChosenCategory();
    void templatesTabReachesTheSite();
    void frontPageShowsProgress();
    void notAvailableCommands_data();
    void notAvailableCommands();

private:
    template <typename W> W* named(const QString& accessibleName) const;
    template <typename W> W* withText(const QString& text) const;
    QPushButton* button(const QString& caption) const { return withText<QPushButton>(caption); }
    QListWidget* itemList() const { return named<QListWidget>(QStringLiteral("Item List")); }
    QComboBox* categoryBox() const { return named<QComboBox>(QStringLiteral("Category name")); }
    QString project(const QString& file) const { return m_home->filePath("Shop/" + file); }

    void clickTab(const QString& caption);
    void click(const QString& caption);
    // Replaces a field's text as a user does: select all, then type.
    void typeInto(const QString& label, const QString& text);
    void clickItem(int row);
    // A real double-click: press, release, double-click, release.
    void doubleClickItem(int row);
    // Clicks a check box or option button on its indicator.
    void tick(QAbstractButton* box);
    // Moves the Category box to `row` with the arrow keys.
    void chooseCategory(int row);
    // "New Project" "Shop" with these categories, then back on "Layout".
    void makeShop(const QStringList& categories);
    void addItem(const QString& id, const QString& desc, const QString& price);

    QTemporaryDir* m_home = nullptr;
    ScriptedPrompts* m_prompts = nullptr;
    GeneratorController* m_controller = nullptr;
    GeneratorWindow* m_window = nullptr;
};

void TestGeneratorWindow::init() {
    m_home = new QTemporaryDir;
    m_prompts = new ScriptedPrompts;
    m_controller = new GeneratorController(m_home->path(), *m_prompts);
    m_window = new GeneratorWindow(*m_controller);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TestGeneratorWindow::cleanup() {
    QVERIFY2(m_prompts->done(), "a prompt the test expected was never shown");
    delete m_window;
    delete m_controller;
    delete m_prompts;
    delete m_home;
}

template <typename W> W* TestGeneratorWindow::named(const QString& accessibleName) const {
    for (W* widget : m_window->findChildren<W*>())
        if (widget->accessibleName() == accessibleName)
            return widget;
    qFatal("no field named \"%s\"", qPrintable(accessibleName));
}

template <typename W> W* TestGeneratorWindow::withText(const QString& text) const {
    for (W* candidate : m_window->findChildren<W*>())
        if (candidate->text() == text)
            return candidate;
    qFatal("no widget showing \"%s\"", qPrintable(text));
}

void TestGeneratorWindow::clickTab(const QString& caption) {
    QTabBar* bar = m_window->tabs()->tabBar();
    for (int i = 0; i < bar->count(); ++i)
        if (bar->tabText(i) == caption)
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(i).center());
    QCOMPARE(bar->tabText(bar->currentIndex()), caption);
}

void TestGeneratorWindow::click(const QString& caption) {
    QPushButton* target = button(caption);
    QVERIFY2(target->isVisible(), qPrintable(caption + " is not on the shown tab"));
    QTest::mouseClick(target, Qt::LeftButton);
}

void TestGeneratorWindow::typeInto(const QString& label, const QString& text) {
    auto* field = named<QLineEdit>(label);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
    QCOMPARE(field->text(), text);
}

void TestGeneratorWindow::clickItem(int row) {
    QListWidget* list = itemList();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
}

void TestGeneratorWindow::doubleClickItem(int row) {
    QListWidget* list = itemList();
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
}

void TestGeneratorWindow::tick(QAbstractButton* box) {
    const int middle = box->height() / 2;
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(middle, middle));
}

void TestGeneratorWindow::chooseCategory(int row) {
    QComboBox* box = categoryBox();
    for (int presses = 0; box->currentIndex() != row && presses < box->count() + 1; ++presses)
        QTest::keyClick(box, box->currentIndex() < row ? Qt::Key_Down : Qt::Key_Up);
    QCOMPARE(box->currentText(), box->itemText(row));
}

void TestGeneratorWindow::makeShop(const QStringList& categories) {
    clickTab(QStringLiteral("Project"));
    m_prompts->expect(Kind::Input, QStringLiteral("Enter the new project's name , please"),
                      QStringLiteral("Shop"));
    m_prompts->expectMessage(QStringLiteral("You may fill the category listing for the new Store"));
    click(QStringLiteral("New Project"));
    QVERIFY(m_prompts->done());
    auto* entry = named<QLineEdit>(QStringLiteral("Category name :"));
    for (const QString& category : categories) {
        QTest::keyClicks(entry, category);
        click(QStringLiteral("Add Category"));
        QCOMPARE(entry->text(), QString());
    }
    clickTab(QStringLiteral("Layout"));
}

void TestGeneratorWindow::addItem(const QString& id, const QString& desc, const QString& price) {
    typeInto(QStringLiteral("Item ID"), id);
    typeInto(QStringLiteral("Item Description"), desc);
    typeInto(QStringLiteral("RPrice"), price);
    click(QStringLiteral("Add"));
}

void TestGeneratorWindow::captionTabsAndTexts() {
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Quillmart 6.0"));
    QStringList tabs;
    for (int i = 0; i < m_window->tabs()->count(); ++i)
        tabs << m_window->tabs()->tabText(i);
    QCOMPARE(tabs,
             QStringList({"Web Style", "Project", "Settings", "Layout", "E-Mail DB", "Templates"}));
    QCOMPARE(m_window->tabs()->tabText(m_window->tabs()->currentIndex()), "Layout");

    const QStringList frames = textsOf<QGroupBox>(m_window, &QGroupBox::title);
    for (const char* frame : {"Which Web's style  would You like to use ?", "Pages style:",
                              "Setting HTML", "FrontPage settings", "Product", "Item List"})
        QVERIFY2(frames.contains(frame), frame);
    QCOMPARE(frames.count("Pages style:"), 2);
    const QStringList buttons = textsOf<QPushButton>(m_window, &QPushButton::text);
    for (const char* caption :
         {"Banner", "Menu", "Main", "Store menu", "New Project", "Open Project", "Clear listing",
          "Add Category", "Add", "Up", "Down", "Get it", "Generate", "Update", "Preview",
          "Front Page", "Get Orders", "Show Orders"})
        QVERIFY2(buttons.count(caption) == 1, caption);
    QCOMPARE(
        textsOf<QCheckBox>(m_window, &QCheckBox::text),
        QStringList({"Description URL", "Host &Delete", "Manufacturer", "Picture URL", "Weight"}));
    QCOMPARE(textsOf<QRadioButton>(m_window, &QRadioButton::text),
             QStringList({"Banner and contents menu", "Contents menu only"}));
}

void TestGeneratorWindow::labelsNameTheirFields() {
    QHash<QWidget*, QString> labelled;
    for (const QLabel* label : m_window->findChildren<QLabel*>())
        if (label->buddy())
            labelled.insert(label->buddy(), label->text());
    const QStringList labels = {"Project Name :",
                                "Category name :",
                                "Name of Store's start file (Link to)",
                                "Here You may define Font style",
                                "Here You may define Table style",
                                kActionLabel,
                                "Server name:",
                                "User name:",
                                "Password :",
                                "Category name",
                                "Item ID",
                                "Item Description",
                                "RPrice",
                                "Picture URL",
                                "Description URL",
                                "Manufacturer",
                                "Weight",
                                "WPrice",
                                "CV",
                                "Sales Tax,%",
                                "POP Host:",
                                "User Name:",
                                "Password:",
                                "E-Mail:",
                                "Categories' names :"};
    for (const QString& text : labels)
        QVERIFY2(labelled.values().count(text) == 1, qPrintable(text));

    QList<QWidget*> fields;
    for (QLineEdit* edit : m_window->findChildren<QLineEdit*>())
        if (!qobject_cast<QComboBox*>(edit->parentWidget()))
            fields << edit;
    for (QComboBox* box : m_window->findChildren<QComboBox*>())
        fields << box;
    for (QPlainTextEdit* edit : m_window->findChildren<QPlainTextEdit*>())
        if (!edit->isReadOnly())
            fields << edit;
    for (QWidget* field : fields)
        QVERIFY2(labelled.value(field) == field->accessibleName() &&
                     !field->accessibleName().isEmpty(),
                 qPrintable(field->accessibleName()));
    for (const QListWidget* list : m_window->findChildren<QListWidget*>())
        QVERIFY(!list->accessibleName().isEmpty());
    for (const QPlainTextEdit* edit : m_window->findChildren<QPlainTextEdit*>())
        QVERIFY(!edit->accessibleName().isEmpty());
}

void TestGeneratorWindow::defaultsAreShown() {
    QCOMPARE(named<QLineEdit>("Name of Store's start file (Link to)")->text(), "index");
    QCOMPARE(named<QLineEdit>("Sales Tax,%")->text(), "0.0825");
    QCOMPARE(named<QLineEdit>("Here You may define Font style")->text(),
             "<font size='2' face='Verdana' class='std'>");
    QCOMPARE(named<QLineEdit>("Here You may define Table style")->text(),
             "<table cellpadding='2' cellspacing='1' width='100%' border='1' "
             "bordercolor='#000000' bordercolorlight='#000000' bgcolor='#e3e3e3'>");
    QVERIFY(named<QPlainTextEdit>(kActionLabel)
                ->toPlainText()
                .startsWith("<form NAME=\"FormOrder\" method=\"POST\"\naction=\""));
    for (QRadioButton* radio : m_window->findChildren<QRadioButton*>())
        QCOMPARE(radio->isChecked(), radio->text() == "Banner and contents menu");
    for (QCheckBox* option : m_window->findChildren<QCheckBox*>())
        QVERIFY(!option->isChecked());
    QVERIFY(named<QLineEdit>("Project Name :")->isReadOnly());
    QCOMPARE(named<QLineEdit>("Project Name :")->text(), QString());
}

void TestGeneratorWindow::merchantSession() {
    makeShop({"Tools", "Garden"});
    QCOMPARE(named<QLineEdit>("Project Name :")->text(), "Shop");
    QCOMPARE(named<QListWidget>("Categories' names :")->count(), 2);
    QCOMPARE(fileBytes(project("Shop.caa")), "Tools\r\nGarden\r\n");
    const QByteArray settings = fileBytes(project("Shop.sit"));
    const QByteArray defaults = expectedFile("project/expected/settings_defaults.sit");
    QVERIFY2(settings == defaults, firstDifference(settings, defaults));
    QCOMPARE(categoryBox()->currentText(), QString());
    QCOMPARE(categoryBox()->count(), 2);

    chooseCategory(0);
    QCOMPARE(categoryBox()->currentText(), "Tools");
    typeInto("Manufacturer", "Acme");
    addItem("A1", "Hammer", "9.5");
    QCOMPARE(fileBytes(project("Tools.pro")), "A1^Hammer^9.5^^^Acme^^^^\r\n");
    typeInto("Manufacturer", "");
    addItem("A2", "Saw", "12");
    QCOMPARE(fileBytes(project("Tools.pro")), "A1^Hammer^9.5^^^Acme^^^^\r\nA2^Saw^12^^^^^^^\r\n");
    QCOMPARE(itemList()->count(), 2);

    clickItem(0);
    QCOMPARE(named<QLineEdit>("Item Description")->text(), "Hammer");
    QCOMPARE(named<QLineEdit>("Manufacturer")->text(), "Acme");
    click("Up");
    clickItem(1);
    QCOMPARE(named<QLineEdit>("Item ID")->text(), "A2");
    click("Down");
    QCOMPARE(itemList()->item(0)->text(), "A1^Hammer^9.5^^^Acme^^^^");
    QCOMPARE(itemList()->currentRow(), 1);
    click("Up");
    QCOMPARE(itemList()->item(0)->text(), "A2^Saw^12^^^^^^^");
    QCOMPARE(itemList()->currentRow(), 0);

    doubleClickItem(1);
    QTRY_COMPARE(itemList()->count(), 1);
    QCOMPARE(named<QLineEdit>("Item ID")->text(), "A1");
    QCOMPARE(fileBytes(project("Tools.pro")), "A2^Saw^12^^^^^^^\r\n");

    tick(withText<QCheckBox>("Manufacturer"));
    click("Generate");
    const QByteArray script = fileBytes(project("data1.js"));
    QVERIFY2(script.contains("\r\nfunction Item(itemid, itemdesc, itemprice, "
                             "itemquantity,itemman,itemW,wprice,cv){\r\n"),
             script);
    QVERIFY(script.contains("\r\nGardenList = new MakeArray( 0)\r\n"));

    QVERIFY(QFile::remove(project("data1.js")));
    m_prompts->expectMessage("To publish it, enter the server name on the \"Settings\" tab.");
    click("Update");
    QVERIFY(QFile::exists(project("data1.js")));
}

void TestGeneratorWindow::settingsReachTheSettingsFile() {
    makeShop({"Tools"});
    typeInto("Sales Tax,%", "0.05");
    clickTab("Web Style");
    typeInto("Name of Store's start file (Link to)", "shop");
    tick(withText<QRadioButton>("Contents menu only"));
    clickTab("Layout");
    QVERIFY(fileBytes(project("Shop.sit")).contains("[Start]\r\nshop\r\n[Tax]\r\n0.05\r\n"));
    // The layout choice lives only in the window; "Generate" uses it.
    QCOMPARE(m_controller->settings().layout, SiteSettings::Layout::ContentsOnly);
}

void TestGeneratorWindow::saveNeedsAChosenCategory() {
    makeShop({"Tools"});
    chooseCategory(0);
    addItem("A1", "Hammer", "9.5");
    const QByteArray saved = fileBytes(project("Tools.pro"));
    QCOMPARE(saved, "A1^Hammer^9.5^^^^^^^\r\n");

    clickTab("Project");
    clickTab("Layout");
    QCOMPARE(categoryBox()->currentText(), QString());
    m_prompts->expectMessage(kChooseCategory);
    click("Add");
    QVERIFY(m_prompts->done());
    m_prompts->expectMessage(kChooseCategory);
    doubleClickItem(0);
    QTRY_VERIFY(m_prompts->done());
    QCOMPARE(itemList()->count(), 1);
    QCOMPARE(fileBytes(project("Tools.pro")), saved);
    QCOMPARE(QDir(project({})).entryList({"*.pro"}), QStringList({"Shop.pro", "Tools.pro"}));
}

void TestGeneratorWindow::notAvailableCommands_data() {
    QTest::addColumn<QString>("caption");
    for (const char* caption : {"Banner", "Menu", "Main", "Store menu", "Get it", "Preview"})
        QTest::newRow(caption) << QString::fromLatin1(caption);
}

void TestGeneratorWindow::notAvailableCommands() {
    QFETCH(QString, caption);
    QPushButton* target = button(caption);
    for (int i = 0; i < m_window->tabs()->count(); ++i)
        if (m_window->tabs()->widget(i)->isAncestorOf(target))
            clickTab(m_window->tabs()->tabText(i));
    const QString text = '"' + caption + "\" is not available in this version yet.";
    m_prompts->expectMessage(text);
    click(caption);
    QCOMPARE(m_prompts->shown(), QStringList{text});
    // With no project a tab switch writes nothing either.
    QCOMPARE(QDir(m_home->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList());
}

void TestGeneratorWindow::templatesTabReachesTheSite() {
    makeShop({"Tools"});
    clickTab("Templates");
    QCOMPARE(named<QLineEdit>("Orders are mailed to:")->text(), "orders@example.com");
    typeInto("Orders are mailed to:", "sales@shop.test");
    typeInto("Login at the gateway:", "shop7");
    auto* page = named<QPlainTextEdit>("Payment choice page");
    QVERIFY(page->toPlainText().startsWith("<html>\n"));
    QTest::keyClick(page, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(page, "<p>pay</p>");
    QTest::keyClick(page, Qt::Key_Return);
    QCOMPARE(m_controller->templates().paymentPage, "<p>pay</p>\r\n");
    // The form tags are settings: the tab switch saves them with the project.
    clickTab("Layout");
    const QByteArray settings = fileBytes(project("Shop.sit"));
    QVERIFY(settings.contains("mailto:sales@shop.test?subject=Online Order"));
    QVERIFY(settings.contains("name=\"LOGIN\" value=\"shop7\""));
}

void TestGeneratorWindow::frontPageShowsProgress() {
    makeShop({"Tools"});
    const QString server = m_home->filePath("www");
    QVERIFY(QDir().mkpath(server));
    clickTab("Settings");
    typeInto("Server name:", server);
    clickTab("Layout");
    click("Generate");
    auto* bar = m_window->findChild<QProgressBar*>();
    QList<bool> shown;
    connect(m_controller, &GeneratorController::publishProgress, bar,
            [&] { shown << (bar->isVisible() && !m_window->tabs()->isEnabled()); });
    m_prompts->expectMessage("20 of 20 files were published to " + server);
    click("Front Page");
    QVERIFY(m_prompts->done());
    QVERIFY(shown.size() > 2);
    QVERIFY(shown.at(shown.size() - 2));
    QVERIFY(bar->isHidden());
    QVERIFY(m_window->tabs()->isEnabled());
    QCOMPARE(bar->accessibleName(), "Publishing progress");
}

QTEST_MAIN(TestGeneratorWindow)
#include "test_generator_window.moc"
