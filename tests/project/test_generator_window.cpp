#include "project/GeneratorController.h"
#include "project/ui/GeneratorWindow.h"
#include "support/ExpectedFile.h"
#include "support/ScriptedPrompts.h"
#include "support/UserInput.h"

#include <QtTest>
#include <QtWidgets>

using Kind = ScriptedPrompts::Kind;

// Proves the window's wiring: labels, and one pass through each command.
// The rules behind the commands are checked on the controller.
class TestGeneratorWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<GeneratorController> m_controller;
    std::unique_ptr<GeneratorWindow> m_window;

    template <typename W = QWidget> W* named(const QString& name) const {
        return UserInput::named<W>(m_window.get(), name);
    }
    QString project(const QString& file) const { return m_home->filePath("Shop/" + file); }
    void clickTab(const QString& caption) {
        QTabBar* bar = m_window->tabs()->tabBar();
        for (int i = 0; i < bar->count(); ++i)
            if (bar->tabText(i) == caption)
                UserInput::click(bar, Qt::LeftButton, bar->tabRect(i).center());
        QCOMPARE(bar->tabText(bar->currentIndex()), caption);
    }
    void click(const QString& caption) {
        QWidget* target = named<QAbstractButton>(caption);
        QVERIFY2(target->isVisible(), qPrintable(caption + " is not on the shown tab"));
        UserInput::click(target, Qt::LeftButton, QPoint(6, target->height() / 2));
    }
    // Replaces a field's text as a user does: select all, then type.
    void typeInto(const QString& label, const QString& text) {
        UserInput::enterText(named<QLineEdit>(label), text, Qt::Key_unknown);
        QCOMPARE(named<QLineEdit>(label)->text(), text);
    }
    void clickRow(QListWidget* list, int row) {
        UserInput::click(list->viewport(), Qt::LeftButton,
                         list->visualItemRect(list->item(row)).center());
    }
    // "New Project" "Shop" with the category Tools, then back on "Layout".
    void makeShop() {
        clickTab("Project");
        m_prompts->expect(Kind::Input, "Enter the new project's name , please", "Shop")
            .expectMessage("You may fill the category listing for the new Store");
        click("New Project");
        typeInto("Category name :", "Tools");
        click("Add Category");
        clickTab("Layout");
    }

private Q_SLOTS:
    void init() {
        m_home = std::make_unique<QTemporaryDir>();
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_controller = std::make_unique<GeneratorController>(m_home->path(), *m_prompts);
        m_window = std::make_unique<GeneratorWindow>(*m_controller);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup() { QVERIFY2(m_prompts->done(), "a prompt the test expected was never shown"); }

    // The window is announced with its caption, and every label that has a
    // buddy names it.
    void labelsNameTheirFields() {
        QCOMPARE(QAccessible::queryAccessibleInterface(m_window.get())->text(QAccessible::Name),
                 "Quillmart 6.0");
        for (const QLabel* label : m_window->findChildren<QLabel*>())
            if (label->buddy())
                QCOMPARE(label->buddy()->accessibleName(), label->text());
    }

    void merchantSession() {
        makeShop();
        auto* box = named<QComboBox>("Category name");
        UserInput::click(box);
        UserInput::press(m_window.get(), Qt::Key_Down);
        QCOMPARE(box->currentText(), "Tools");
        typeInto("Manufacturer", "Acme");
        for (const char* id : {"A1", "A2", "A3"}) {
            typeInto("Item ID", id);
            typeInto("RPrice", "9.5");
            click("Add");
        }
        auto* items = named<QListWidget>("Item List");
        clickRow(items, 0);
        QCOMPARE(named<QLineEdit>("Item ID")->text(), "A1");
        click("Down");
        QCOMPARE(items->item(1)->text(), "A1^^9.5^^^Acme^^^^");
        click("Up");
        QCOMPARE(items->item(0)->text(), "A1^^9.5^^^Acme^^^^");
        // A double-click takes the item out of the list and the file; so
        // does Delete on the selected item.
        UserInput::doubleClick(items->viewport(), items->visualItemRect(items->item(2)).center());
        QTRY_COMPARE(items->count(), 2);
        clickRow(items, 1);
        UserInput::press(m_window.get(), Qt::Key_Delete);
        QCOMPARE(fileBytes(project("Tools.pro")), "A1^^9.5^^^Acme^^^^\r\n");

        click("Manufacturer");
        click("Generate");
        QVERIFY(fileBytes(project("data1.js")).contains("itemquantity,itemman,itemW"));
        m_prompts->expectMessage("To publish it, enter the server name on the \"Settings\" tab.");
        click("Update");
        // Front Page shows its progress and keeps the tabs shut meanwhile.
        const QString server = m_home->filePath("www");
        QVERIFY(QDir().mkpath(server));
        clickTab("Settings");
        typeInto("Server name:", server);
        clickTab("Layout");
        auto* bar = named<QProgressBar>("Publishing progress");
        QList<bool> shown;
        connect(m_controller.get(), &GeneratorController::publishProgress, bar,
                [&] { shown << (bar->isVisible() && !m_window->tabs()->isEnabled()); });
        m_prompts->expectMessage("20 of 20 files were published to " + server);
        click("Front Page");
        QVERIFY(shown.size() > 2 && shown.at(shown.size() - 2));
        QVERIFY(bar->isHidden() && m_window->tabs()->isEnabled());
        clickTab("Project");
        clickRow(named<QListWidget>("Categories' names :"), 0);
        UserInput::press(m_window.get(), Qt::Key_Delete);
        clickTab("Layout");
        QCOMPARE(fileBytes(project("Shop.caa")), "");
    }

    // The settings and the form tags are saved on a tab switch; the layout
    // choice and the templates live only in the window.
    void settingsReachTheController() {
        makeShop();
        typeInto("Sales Tax,%", "0.05");
        clickTab("Web Style");
        typeInto("Name of Store's start file (Link to)", "shop");
        click("Contents menu only");
        clickTab("Templates");
        typeInto("Orders are mailed to:", "sales@shop.test");
        UserInput::enterText(named<QPlainTextEdit>("Weight mail order body"), "<p>pay</p>");
        // A screen reader sets a field's text without keys.
        for (const QString field : {"Login at the gateway:", "Item ID"})
            QAccessible::queryAccessibleInterface(named<QLineEdit>(field))
                ->setText(QAccessible::Value, "shop7");
        QCOMPARE(m_controller->itemFields()[ItemRecord::ItemId].toString(), "shop7");
        clickTab("Layout");
        const QByteArray settings = fileBytes(project("Shop.sit"));
        QVERIFY(settings.contains("[Start]\r\nshop\r\n[Tax]\r\n0.05\r\n"));
        QVERIFY(settings.contains("mailto:sales@shop.test?subject=Online Order"));
        QVERIFY(settings.contains("name=\"LOGIN\" value=\"shop7\""));
        QCOMPARE(m_controller->settings().layout, SiteSettings::Layout::ContentsOnly);
        QCOMPARE(m_controller->templates().weightMailBody, "<p>pay</p>\r\n");
    }

    void notAvailableCommands() {
        for (const QString caption :
             {"Banner", "Menu", "Main", "Store menu", "Get it", "Preview"}) {
            for (int i = 0; i < m_window->tabs()->count(); ++i)
                if (m_window->tabs()->widget(i)->isAncestorOf(named<QPushButton>(caption)))
                    clickTab(m_window->tabs()->tabText(i));
            m_prompts->expectMessage('"' + caption + "\" is not available in this version yet.");
            click(caption);
        }
    }
};

QTEST_MAIN(TestGeneratorWindow)
#include "test_generator_window.moc"
