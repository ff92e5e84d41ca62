#include "generator/GeneratorController.h"
#include "project/ui/GeneratorWindow.h"
#include "project/ui/PageStyleDialog.h"
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
    // Shows the tab, and the inner tab, that holds `widget`.
    void reveal(QWidget* widget) {
        for (QTabWidget* tabs : m_window->findChildren<QTabWidget*>())
            for (int i = 0; i < tabs->count(); ++i)
                if (tabs->widget(i)->isAncestorOf(widget) && tabs->currentIndex() != i)
                    UserInput::click(tabs->tabBar(), Qt::LeftButton,
                                     tabs->tabBar()->tabRect(i).center());
        QVERIFY(widget->isVisible());
    }
    // The "Page style" dialog a style button opened.
    PageStyleDialog* openPageStyle(const QString& page) {
        reveal(named<QPushButton>(page));
        click(page);
        auto* dialog = m_window->findChild<PageStyleDialog*>();
        return dialog && QTest::qWaitForWindowExposed(dialog) ? dialog : nullptr;
    }
    // Wide enough for every tab of the order form templates.
    void showWindow() {
        m_window = std::make_unique<GeneratorWindow>(*m_controller);
        m_window->resize(1200, 800);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    // A new window on the same home folder, as after a restart.
    void openAgain() {
        m_window.reset();
        m_controller = std::make_unique<GeneratorController>(m_home->path(), *m_prompts);
        showWindow();
        clickTab("Project");
        m_prompts->expect(Kind::OpenFile, "*.caa", project("Shop.caa"));
        click("Open Project");
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

    // The field a label names, or with `button`, the box or button a
    // caption names.
    QWidget* setting(const QString& name, bool button) const {
        for (QWidget* widget : m_window->findChildren<QWidget*>())
            if ((qobject_cast<QAbstractButton*>(widget) != nullptr) == button &&
                !qobject_cast<QLabel*>(widget) &&
                (widget->accessibleName() == name || widget->property("text").toString() == name))
                return widget;
        qFatal("no setting \"%s\"", qPrintable(name));
    }
    void setAsAPerson(const QString& field, const QString& typed) {
        QWidget* widget = setting(field, typed.isEmpty() || typed.startsWith('#'));
        reveal(widget);
        if (qobject_cast<QPushButton*>(widget)) {
            PageStyleDialog* dialog = openPageStyle(field);
            QVERIFY(dialog);
            UserInput::type(dialog, typed);
            UserInput::press(dialog, Qt::Key_Return);
            QTRY_VERIFY(!m_window->findChild<PageStyleDialog*>());
        } else if (typed.isEmpty()) {
            click(field);
        } else {
            UserInput::enterText(widget, typed, Qt::Key_unknown);
        }
    }
    // What the window shows of a setting; "checked" for a ticked box.
    QString shownValue(const QString& field, const QString& typed) {
        QWidget* widget = setting(field, typed.isEmpty() || typed.startsWith('#'));
        reveal(widget);
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            return edit->text();
        if (auto* text = qobject_cast<QPlainTextEdit*>(widget))
            return text->toPlainText();
        if (qobject_cast<QPushButton*>(widget)) {
            PageStyleDialog* dialog = openPageStyle(field);
            const QString colour = qobject_cast<QLineEdit*>(dialog->focusWidget())->text();
            UserInput::press(dialog, Qt::Key_Escape);
            return colour;
        }
        return qobject_cast<QAbstractButton*>(widget)->isChecked() ? "checked" : "unchecked";
    }

private Q_SLOTS:
    void init() {
        m_home = std::make_unique<QTemporaryDir>();
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_controller = std::make_unique<GeneratorController>(m_home->path(), *m_prompts);
        showWindow();
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
        m_prompts->expectMessage("Orders are mailed to: orders@example.com");
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
        m_prompts->expect(Kind::YesNo, "Publish anyway?", "yes")
            .expectMessage("20 of 20 files were published to " + server);
        click("Front Page");
        QVERIFY(shown.size() > 2 && shown.at(shown.size() - 2));
        QVERIFY(bar->isHidden() && m_window->tabs()->isEnabled());
        clickTab("Project");
        clickRow(named<QListWidget>("Categories' names :"), 0);
        UserInput::press(m_window.get(), Qt::Key_Delete);
        clickTab("Layout");
        QCOMPARE(fileBytes(project("Shop.caa")), "");
    }

    // A field set without keys, as a screen reader sets it, reaches the
    // controller too; a template keeps CR LF line ends; a tab switch saves
    // the form tags. Each field typed with keys: everySettingComesBack.
    void settingsReachTheController() {
        makeShop();
        clickTab("Templates");
        UserInput::enterText(named<QPlainTextEdit>("Weight mail order body"), "<p>pay</p>");
        for (const QString field : {"Login at the gateway:", "Item ID"})
            QAccessible::queryAccessibleInterface(named<QLineEdit>(field))
                ->setText(QAccessible::Value, "shop7");
        QCOMPARE(m_controller->itemFields()[ItemRecord::ItemId].toString(), "shop7");
        clickTab("Layout");
        QVERIFY(fileBytes(project("Shop.sit")).contains("name=\"LOGIN\" value=\"shop7\""));
        QCOMPARE(m_controller->templates().weightMailBody, "<p>pay</p>\r\n");
    }

    // Each setting of the window, set as a person sets it, is there again
    // when a new window opens the project after this one was closed.
    // `typed` goes into a field; without it the box is ticked. A style
    // button's row types into its dialog's first field. The password is
    // the exception: it is not kept, and comes back empty.
    void everySettingComesBack_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("back");
        const auto row = [](const char* field, const QString& typed) {
            QTest::newRow(field) << field << typed << typed;
        };
        QTest::newRow("layout") << "Contents menu only" << QString() << "checked";
        QTest::newRow("pages") << "Pages without frames (for phones)" << QString() << "checked";
        row("Name of Store's start file (Link to)", "shop");
        row("Banner text:", "Anna's Tools");
        row("Banner picture:", "/home/anna/logo.png");
        row("Company page:", "Open Monday to Friday.");
        row("Banner", "#ffcc00");
        row("Store menu", "#203040");
        row("Here You may define Font style", "<font size='3'>");
        row("Here You may define Table style", "<table border='0'>");
        row("Server name:", "sftp://shop.test/www");
        row("User name:", "anna");
        QTest::newRow("password") << "Password :"
                                  << "secret7"
                                  << "";
        for (const char* option : {"Manufacturer", "Description URL", "Picture URL", "Weight"})
            QTest::newRow(option) << option << QString() << "checked";
        row("Sales Tax,%", "0.07");
        row("Orders are mailed to:", "sales@shop.test");
        row("Payment gateway host:", "pay.shop.test");
        row("Login at the gateway:", "shop7");
        row("Order1 results are mailed to:", "results@shop.test");
        for (const char* text :
             {"Weight mail order body", "Weight gateway order body", "Plain order body",
              "Weight COD body", "Plain COD body", "Order1 tail", "Payment choice page"})
            row(text, "<p>mine</p>");
    }
    void everySettingComesBack() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, back);
        makeShop();
        setAsAPerson(field, typed);
        m_window->close();
        openAgain();
        QCOMPARE(shownValue(field, typed), back);
    }

    // On a real X display, through the X server: the banner text typed,
    // a page colour typed into the "Page style" dialog and Generate clicked;
    // the banner page holds both. Then the layout without frames is chosen
    // and the shop generated again: its start page names the shop. The X
    // server's events reach the window only while the test waits, so each
    // step waits for its effect before the next one looks up where to click.
    void styledOnARealDisplay() {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs a real X display; the realdisplay test gives it one");
        m_prompts->expect(Kind::Input, "Enter the new project's name", "Shop")
            .expectMessage("You may fill the category listing");
        m_controller->newProject();
        m_window->move(0, 0);
        QVERIFY(XInput::focus(m_window.get()));
        QTabBar* bar = m_window->tabs()->tabBar();
        QVERIFY(XInput::click(bar, bar->tabRect(0).center()));
        QTRY_COMPARE_WITH_TIMEOUT(bar->currentIndex(), 0, 30000);
        QVERIFY(XInput::click(setting("Banner text:", false)));
        QVERIFY(XInput::type("Anna Tools"));
        QTRY_COMPARE_WITH_TIMEOUT(m_controller->identity().bannerText, "Anna Tools", 30000);
        QVERIFY(XInput::click(setting("Banner", true)));
        // With no window manager on the display, the new dialog is given the
        // focus as a window manager gives it.
        QTRY_VERIFY_WITH_TIMEOUT(m_window->findChild<PageStyleDialog*>(), 30000);
        auto* dialog = m_window->findChild<PageStyleDialog*>();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        QVERIFY(XInput::run({"windowfocus", "--sync", QString::number(dialog->winId())}));
        QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeWindow() &&
                                     QApplication::activeWindow()->windowTitle() == "Page style",
                                 30000);
        QVERIFY(XInput::type("#ffcc00"));
        QVERIFY(XInput::key("Return"));
        QTRY_VERIFY_WITH_TIMEOUT(!m_window->findChild<PageStyleDialog*>(), 30000);
        QVERIFY(XInput::click(bar, bar->tabRect(3).center()));
        QTRY_COMPARE_WITH_TIMEOUT(bar->currentIndex(), 3, 30000);
        m_prompts->expectMessage("Orders are mailed to: orders@example.com");
        QVERIFY(XInput::click(setting("Generate", true)));
        QTRY_VERIFY_WITH_TIMEOUT(m_prompts->done(), 30000);
        const QByteArray banner = fileBytes(project("banner.htm"));
        QVERIFY2(banner.contains("<body bgcolor='#ffcc00'>\r\n"), banner.constData());
        QVERIFY2(banner.contains("<strong> Anna Tools</strong>"), banner.constData());

        QVERIFY(XInput::click(bar, bar->tabRect(0).center()));
        QTRY_COMPARE_WITH_TIMEOUT(bar->currentIndex(), 0, 30000);
        // On its round button: the row is wider than what takes a click.
        QWidget* radio = setting("Pages without frames (for phones)", true);
        QVERIFY(XInput::click(radio, QPoint(8, radio->height() / 2)));
        QTRY_COMPARE_WITH_TIMEOUT(m_controller->settings().layout, SiteSettings::Layout::Pages,
                                  30000);
        QVERIFY(XInput::click(bar, bar->tabRect(3).center()));
        QTRY_COMPARE_WITH_TIMEOUT(bar->currentIndex(), 3, 30000);
        m_prompts->expectMessage("Orders are mailed to: orders@example.com");
        QVERIFY(XInput::click(setting("Generate", true)));
        QTRY_VERIFY_WITH_TIMEOUT(m_prompts->done(), 30000);
        const QByteArray start = fileBytes(project("index.htm"));
        QVERIFY2(start.contains("<h1>Anna Tools</h1>"), start.constData());
    }

    void notAvailableCommands() {
        for (const QString caption : {"Get it", "Preview"}) {
            reveal(named<QPushButton>(caption));
            m_prompts->expectMessage('"' + caption + "\" is not part of this version.");
            click(caption);
        }
    }
};

QTEST_MAIN(TestGeneratorWindow)
#include "test_generator_window.moc"
