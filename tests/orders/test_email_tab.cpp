#include "orders/OrderController.h"
#include "orders/OrderMail.h"
#include "orders/ui/EmailTab.h"
#include "support/DovecotFixture.h"
#include "support/ScriptedPrompts.h"
#include "support/ServerRequired.h"
#include "support/UserInput.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>
#include <QtTest>

using Kind = ScriptedPrompts::Kind;

class TestEmailTab : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void fieldsAndChecks();
    void getOrdersKeepsTheTabUsable();

private:
    template <typename T> T* find(const QString& text, QString (T::*what)() const) const;
    template <typename T> T* named(const QString& name) const {
        return find<T>(name, &QWidget::accessibleName);
    }
    QPushButton* button(const QString& caption) const {
        return find<QPushButton>(caption, &QPushButton::text);
    }
    void typeInto(const QString& label, const QString& text);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<OrderController> m_controller;
    std::unique_ptr<EmailTab> m_tab;
};

void TestEmailTab::initTestCase() {
    QUILLMART_REQUIRE_SERVER(DovecotFixture::missing());
}

void TestEmailTab::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_prompts = std::make_unique<ScriptedPrompts>();
    m_controller = std::make_unique<OrderController>(m_dir->filePath("orders.sqlite"), *m_prompts);
    m_tab = std::make_unique<EmailTab>(*m_controller);
    m_tab->show();
}

void TestEmailTab::cleanup() {
    QVERIFY2(m_prompts->done(), "a prompt the test expected was never shown");
    m_tab.reset();
    m_controller.reset();
}

template <typename T> T* TestEmailTab::find(const QString& text, QString (T::*what)() const) const {
    for (T* widget : m_tab->findChildren<T*>())
        if ((widget->*what)() == text)
            return widget;
    qFatal("no widget \"%s\"", qPrintable(text));
}

void TestEmailTab::typeInto(const QString& label, const QString& text) {
    UserInput::enterText(named<QLineEdit>(label), text, Qt::Key_unknown);
}

void TestEmailTab::fieldsAndChecks() {
    QStringList labelled;
    for (const QLabel* label : m_tab->findChildren<QLabel*>())
        if (label->buddy())
            labelled << label->text() + "=" + label->buddy()->accessibleName();
    QCOMPARE(labelled, (QStringList{"POP Host:=POP Host:", "User Name:=User Name:",
                                    "Password:=Password:", "E-Mail:=E-Mail:"}));
    QCOMPARE(named<QLineEdit>("Password:")->echoMode(), QLineEdit::Password);
    QVERIFY(named<QPlainTextEdit>("Order log")->isReadOnly());

    // "Host Delete" warns when ticked only.
    auto* box = m_tab->findChild<QCheckBox*>();
    m_prompts->expect(Kind::Warning, "Messages will be deleted after they are read from the host.");
    UserInput::click(box, Qt::LeftButton, QPoint(4, box->height() / 2));
    QVERIFY(m_controller->hostDelete());
    UserInput::click(box, Qt::LeftButton, QPoint(4, box->height() / 2));
    QVERIFY(!m_controller->hostDelete());

    m_prompts->expectMessage("Enter the mail server in \"POP Host:\" first");
    UserInput::click(button("Get Orders"));
    QCOMPARE(m_prompts->shown().size(), 2);
}

// The mailbox is read while the tab keeps handling events; the orders
// arrive in the lines, the log, the counter and "Show Orders".
void TestEmailTab::getOrdersKeepsTheTabUsable() {
    DovecotFixture server;
    QVERIFY2(server.start(), qPrintable(server.error()));
    for (const char* id : {"A1", "B2"}) {
        OrderMail mail;
        mail.items = {OrderMail::item(id, "1", "5.00", "5.00")};
        QVERIFY(server.addMessage(mail.text().toUtf8()));
    }
    QVERIFY(server.addMessage("Subject: Newsletter\r\n\r\nNews.\r\n"));
    typeInto("POP Host:", QStringLiteral("pop3://127.0.0.1:%1").arg(server.port()));
    typeInto("User Name:", server.user());
    // As a screen reader sets a field: through the accessibility interface.
    QAccessible::queryAccessibleInterface(named<QLineEdit>("Password:"))
        ->setText(QAccessible::Value, server.password());

    auto* progress = named<QProgressBar>("Order fetch progress");
    bool progressShown = false;
    connect(m_controller.get(), &OrderController::fetchProgress, progress, [&](int, int total) {
        progressShown = progressShown || (total > 0 && progress->isVisible());
    });
    // The password would go unencrypted: asked once for the server.
    m_prompts->expect(Kind::YesNo, "is not encrypted", "no");
    UserInput::click(button("Get Orders"));
    QVERIFY(button("Get Orders")->isEnabled());
    m_prompts->expect(Kind::YesNo, "is not encrypted", "yes");
    m_prompts->expectMessage("2 new orders taken in, 1 other messages, 0 taken in before.");
    // The log grows by what each order adds; nothing shown is set again.
    auto* log = named<QPlainTextEdit>("Order log");
    int logRemoved = 0;
    connect(log->document(), &QTextDocument::contentsChange, this,
            [&](int, int removed, int) { logRemoved += removed; });
    UserInput::click(button("Get Orders"));
    QVERIFY(!button("Get Orders")->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(m_prompts->done(), 20000);
    QVERIFY(progressShown);
    QVERIFY(progress->isHidden());
    QVERIFY(button("Get Orders")->isEnabled());
    QCOMPARE(named<QLabel>("Order counter")->text(), " 3");
    QCOMPARE(named<QListWidget>("Order lines")->item(0)->text(), "A1 ^ 1 ^ 5.00 ^ 5.00^");
    QVERIFY(log->toPlainText().startsWith(" Online Order\n"));
    QCOMPARE(log->toPlainText().count(" Online Order\n"), 2);
    QCOMPARE(logRemoved, 0);
    m_prompts->expectMessage("0 new orders taken in, 0 other messages, 3 taken in before.");
    UserInput::click(button("Get Orders"));
    QTRY_VERIFY_WITH_TIMEOUT(m_prompts->done(), 20000);

    int rows = -1;
    QString newest;
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        for (QTableView* view : dialog->findChildren<QTableView*>())
            if (view->accessibleName() == "Orders, newest first") {
                rows = view->model()->rowCount();
                newest = view->model()->index(0, 0).data().toString();
            }
        dialog->reject();
    });
    UserInput::click(button("Show Orders"));
    QCOMPARE(rows, 2);
    QCOMPARE(newest, "2");
}

QTEST_MAIN(TestEmailTab)
#include "test_email_tab.moc"
