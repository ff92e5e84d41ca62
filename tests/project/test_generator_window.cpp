#include "project/GeneratorController.h"
#include "project/GeneratorWindow.h"
#include "support/ExpectedFile.h"
#include "support/ScriptedPrompts.h"
#include "support/UserInput.h"

#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using Kind = ScriptedPrompts::Kind;

// Proves the window's wiring: labels, and one pass through each command.
// The rules behind the commands are checked on the controller.
class TestGeneratorWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void labelsNameTheirFields();
    void merchantSession();
    void settingsReachTheSettingsFile();
    void assistiveToolsReachTheController();
    void frontPageShowsProgress();
    void notAvailableCommands_data();
    void notAvailableCommands();

private:
    template <typename W> W* find(const QString& text, QString (W::*what)() const) const;
    template <typename W> W* named(const QString& name) const {
        return find<W>(name, &QWidget::accessibleName);
    }
    QPushButton* button(const QString& caption) const {
        return find<QPushButton>(caption, &QPushButton::text);
    }
    QListWidget* itemList() const { return named<QListWidget>("Item List"); }
    QComboBox* categoryBox() const { return named<QComboBox>("Category name"); }
    QString project(const QString& file) const { return m_home->filePath("Shop/" + file); }

    void clickTab(const QString& caption);
    void click(const QString& caption);
    // Replaces a field's text as a user does: select all, then type.
    void typeInto(const QString& label, const QString& text);
    QPoint itemAt(int row) const {
        return itemList()->visualItemRect(itemList()->item(row)).center();
    }
    // "New Project" "Shop" with these categories, then back on "Layout".
    void makeShop(const QStringList& categories);

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

template <typename W>
W* TestGeneratorWindow::find(const QString& text, QString (W::*what)() const) const {
    for (W* widget : m_window->findChildren<W*>())
        if ((widget->*what)() == text)
            return widget;
    qFatal("no widget \"%s\"", qPrintable(text));
}

void TestGeneratorWindow::clickTab(const QString& caption) {
    QTabBar* bar = m_window->tabs()->tabBar();
    for (int i = 0; i < bar->count(); ++i)
        if (bar->tabText(i) == caption)
            UserInput::click(bar, Qt::LeftButton, bar->tabRect(i).center());
    QCOMPARE(bar->tabText(bar->currentIndex()), caption);
}

void TestGeneratorWindow::click(const QString& caption) {
    QPushButton* target = button(caption);
    QVERIFY2(target->isVisible(), qPrintable(caption + " is not on the shown tab"));
    UserInput::click(target);
}

void TestGeneratorWindow::typeInto(const QString& label, const QString& text) {
    auto* field = named<QLineEdit>(label);
    UserInput::enterText(field, text, Qt::Key_unknown);
    QCOMPARE(field->text(), text);
}

void TestGeneratorWindow::makeShop(const QStringList& categories) {
    clickTab("Project");
    m_prompts->expect(Kind::Input, "Enter the new project's name , please", "Shop");
    m_prompts->expectMessage("You may fill the category listing for the new Store");
    click("New Project");
    QVERIFY(m_prompts->done());
    for (const QString& category : categories) {
        UserInput::enterText(named<QLineEdit>("Category name :"), category, Qt::Key_unknown);
        click("Add Category");
    }
    clickTab("Layout");
}

// The window is announced as a window with its caption, and every field a
// user types into has a label that is its buddy and names it.
void TestGeneratorWindow::labelsNameTheirFields() {
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(m_window);
    QCOMPARE(window->role(), QAccessible::Window);
    QCOMPARE(window->text(QAccessible::Name), "Quillmart 6.0");
    QHash<QWidget*, QString> labelled;
    for (const QLabel* label : m_window->findChildren<QLabel*>())
        if (label->buddy())
            labelled.insert(label->buddy(), label->text());
    QList<QWidget*> fields;
    for (QLineEdit* edit : m_window->findChildren<QLineEdit*>())
        if (!qobject_cast<QComboBox*>(edit->parentWidget()))
            fields << edit;
    for (QComboBox* box : m_window->findChildren<QComboBox*>())
        fields << box;
    for (QPlainTextEdit* edit : m_window->findChildren<QPlainTextEdit*>())
        if (!edit->isReadOnly())
            fields << edit;
    QVERIFY(fields.size() > 20);
    for (QWidget* field : fields)
        QVERIFY2(labelled.value(field) == field->accessibleName() &&
                     !field->accessibleName().isEmpty(),
                 qPrintable(field->accessibleName()));
}

void TestGeneratorWindow::merchantSession() {
    makeShop({"Tools", "Garden"});
    QCOMPARE(named<QLineEdit>("Project Name :")->text(), "Shop");
    QVERIFY(named<QLineEdit>("Project Name :")->isReadOnly());
    QCOMPARE(fileBytes(project("Shop.caa")), "Tools\r\nGarden\r\n");
    const QByteArray settings = fileBytes(project("Shop.sit"));
    const QByteArray defaults = expectedFile("project/expected/settings_defaults.sit");
    QVERIFY2(settings == defaults, firstDifference(settings, defaults));

    UserInput::click(categoryBox());
    UserInput::press(m_window, Qt::Key_Down);
    QCOMPARE(categoryBox()->currentText(), "Tools");
    typeInto("Manufacturer", "Acme");
    for (const char* id : {"A1", "A2"}) {
        typeInto("Item ID", id);
        typeInto("RPrice", "9.5");
        click("Add");
    }
    QCOMPARE(fileBytes(project("Tools.pro")), "A1^^9.5^^^Acme^^^^\r\nA2^^9.5^^^Acme^^^^\r\n");

    UserInput::click(itemList()->viewport(), Qt::LeftButton, itemAt(0));
    QCOMPARE(named<QLineEdit>("Item ID")->text(), "A1");
    click("Down");
    QCOMPARE(itemList()->item(1)->text(), "A1^^9.5^^^Acme^^^^");
    click("Up");
    QCOMPARE(itemList()->item(0)->text(), "A1^^9.5^^^Acme^^^^");

    // A double-click takes the item out of the list and the file; so does
    // Delete on the selected item.
    typeInto("Item ID", "A3");
    click("Add");
    UserInput::doubleClick(itemList()->viewport(), itemAt(1));
    QTRY_COMPARE(itemList()->count(), 2);
    UserInput::click(itemList()->viewport(), Qt::LeftButton, itemAt(1));
    UserInput::press(m_window, Qt::Key_Delete);
    QCOMPARE(itemList()->count(), 1);
    QCOMPARE(fileBytes(project("Tools.pro")), "A1^^9.5^^^Acme^^^^\r\n");

    QAbstractButton* manufacturer = find<QAbstractButton>("Manufacturer", &QAbstractButton::text);
    UserInput::click(manufacturer, Qt::LeftButton, QPoint(6, manufacturer->height() / 2));
    click("Generate");
    QVERIFY(QFile::remove(project("data1.js")));
    m_prompts->expectMessage("To publish it, enter the server name on the \"Settings\" tab.");
    click("Update");
    QVERIFY(QFile::exists(project("data1.js")));

    // After a tab switch the Category box is empty again: saving waits for a choice.
    clickTab("Project");
    clickTab("Layout");
    QCOMPARE(categoryBox()->currentText(), QString());
    m_prompts->expectMessage("Choose a category in the Category box first");
    click("Add");
    QVERIFY(m_prompts->done());
    // Delete on the category list takes the selected category out.
    clickTab("Project");
    auto* categories = named<QListWidget>("Categories' names :");
    UserInput::click(categories->viewport(), Qt::LeftButton,
                     categories->visualItemRect(categories->item(0)).center());
    UserInput::press(m_window, Qt::Key_Delete);
    clickTab("Layout");
    QCOMPARE(fileBytes(project("Shop.caa")), "Garden\r\n");
}

// The settings and the form tags of the templates are saved with the
// project on a tab switch; the layout choice lives only in the window.
void TestGeneratorWindow::settingsReachTheSettingsFile() {
    makeShop({"Tools"});
    typeInto("Sales Tax,%", "0.05");
    clickTab("Web Style");
    typeInto("Name of Store's start file (Link to)", "shop");
    auto* contents = find<QRadioButton>("Contents menu only", &QRadioButton::text);
    UserInput::click(contents, Qt::LeftButton, QPoint(6, contents->height() / 2));
    clickTab("Templates");
    QCOMPARE(named<QLineEdit>("Orders are mailed to:")->text(), "orders@example.com");
    typeInto("Orders are mailed to:", "sales@shop.test");
    typeInto("Login at the gateway:", "shop7");
    // The last template page lies past the tab bar's edge: the bar's right
    // arrow brings it into sight.
    QTabBar* pages = named<QTabWidget>("Order form templates")->tabBar();
    QToolButton* right = nullptr;
    for (QToolButton* arrow : pages->findChildren<QToolButton*>())
        if (arrow->arrowType() == Qt::RightArrow)
            right = arrow;
    while (!pages->rect().contains(pages->tabRect(6)) && right->isEnabled())
        UserInput::click(right);
    UserInput::click(pages, Qt::LeftButton, pages->tabRect(6).center());
    UserInput::enterText(named<QPlainTextEdit>("Payment choice page"), "<p>pay</p>");
    clickTab("Layout");

    const QByteArray settings = fileBytes(project("Shop.sit"));
    QVERIFY(settings.contains("[Start]\r\nshop\r\n[Tax]\r\n0.05\r\n"));
    QVERIFY(settings.contains("mailto:sales@shop.test?subject=Online Order"));
    QVERIFY(settings.contains("name=\"LOGIN\" value=\"shop7\""));
    QCOMPARE(m_controller->settings().layout, SiteSettings::Layout::ContentsOnly);
    QCOMPARE(m_controller->templates().paymentPage, "<p>pay</p>\r\n");
}

// A screen reader or an automation tool sets a field's text through the
// accessibility interface, without keys: each kind of field passes it on.
void TestGeneratorWindow::assistiveToolsReachTheController() {
    makeShop({"Tools"});
    const auto setByTool = [this](const QString& label, const QString& text) {
        QAccessible::queryAccessibleInterface(named<QLineEdit>(label))
            ->setText(QAccessible::Value, text);
    };
    setByTool("Category name :", "Paint");
    setByTool(ItemRecord::label(ItemRecord::ItemId), "P-1");
    setByTool("Sales Tax,%", "0.07");
    setByTool("Orders are mailed to:", "desk@shop.test");
    QCOMPARE(m_controller->categoryEntry(), "Paint");
    QCOMPARE(m_controller->itemFields()[ItemRecord::ItemId].toString(), "P-1");
    QCOMPARE(m_controller->settings().salesTax, "0.07");
    QVERIFY(m_controller->settings().emailFormTag.contains("mailto:desk@shop.test?"));
}

void TestGeneratorWindow::frontPageShowsProgress() {
    makeShop({"Tools"});
    const QString server = m_home->filePath("www");
    QVERIFY(QDir().mkpath(server));
    clickTab("Settings");
    typeInto("Server name:", server);
    clickTab("Layout");
    click("Generate");
    auto* bar = named<QProgressBar>("Publishing progress");
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
}

void TestGeneratorWindow::notAvailableCommands_data() {
    QTest::addColumn<QString>("caption");
    for (const char* caption : {"Banner", "Menu", "Main", "Store menu", "Get it", "Preview"})
        QTest::newRow(caption) << QString::fromLatin1(caption);
}

void TestGeneratorWindow::notAvailableCommands() {
    QFETCH(QString, caption);
    for (int i = 0; i < m_window->tabs()->count(); ++i)
        if (m_window->tabs()->widget(i)->isAncestorOf(button(caption)))
            clickTab(m_window->tabs()->tabText(i));
    const QString text = '"' + caption + "\" is not available in this version yet.";
    m_prompts->expectMessage(text);
    click(caption);
    QCOMPARE(m_prompts->shown(), QStringList{text});
}

QTEST_MAIN(TestGeneratorWindow)
#include "test_generator_window.moc"
