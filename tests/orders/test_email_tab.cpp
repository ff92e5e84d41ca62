#include "orders/OrderController.h"
#include "orders/OrderMail.h"
#include "orders/OrderStore.h"
#include "orders/ui/EmailTab.h"
#include "support/DovecotFixture.h"
#include "support/ScriptedPrompts.h"
#include "support/ServerRequired.h"
#include "support/UserInput.h"

#include <QtNetwork>
#include <QtTest>
#include <QtWidgets>

using Kind = ScriptedPrompts::Kind;
using UserInput::named;
using UserInput::whenDialogShows;

class TestEmailTab : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QUILLMART_REQUIRE_SERVER(DovecotFixture::missing()); }
    void fieldsReachTheFetchAndOrdersTheTab();
    void showsTheNewestOrders();
    void silentDatabaseServerLeavesTheTabWorking();
};

// A database server that takes connections and never answers them.
class SilentServer {
public:
    SilentServer() { m_server.listen(QHostAddress::LocalHost); }
    QString address() const {
        return QStringLiteral("postgresql://merchant@127.0.0.1:%1/orders")
            .arg(m_server.serverPort());
    }
    // Closes every connection, taken or still waiting to be.
    void hangUp() {
        m_server.close();
        qDeleteAll(m_server.findChildren<QTcpSocket*>());
    }

private:
    QTcpServer m_server;
};

// Host Delete, the host, the user and the password reach the fetch, which
// runs while the tab keeps handling events; the orders reach the counter,
// the lines, the log and "Show Orders". The password would go unencrypted:
// without consent nothing is fetched.
void TestEmailTab::fieldsReachTheFetchAndOrdersTheTab() {
    DovecotFixture server;
    QVERIFY2(server.start(), qPrintable(server.error()));
    for (const char* id : {"A1", "B2"})
        QVERIFY(server.addMessage(OrderMail::of(id).text().toUtf8()));
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    OrderController controller(dir.filePath("orders.sqlite"), prompts);
    EmailTab tab(controller);
    tab.show();
    prompts.expect(Kind::Warning, "Messages will be deleted after they are read from the host.");
    auto* box = tab.findChild<QCheckBox*>();
    UserInput::click(box, Qt::LeftButton, QPoint(4, box->height() / 2));
    UserInput::enterText(named<QLineEdit>(&tab, "POP Host:"),
                         QStringLiteral("pop3://127.0.0.1:%1").arg(server.port()), Qt::Key_unknown);
    UserInput::enterText(named<QLineEdit>(&tab, "User Name:"), server.user(), Qt::Key_unknown);
    // As a screen reader sets a field: through the accessibility interface.
    QAccessible::queryAccessibleInterface(named<QLineEdit>(&tab, "Password:"))
        ->setText(QAccessible::Value, server.password());
    auto* getOrders = named<QPushButton>(&tab, "Get Orders");
    prompts.expect(Kind::YesNo, "is not encrypted", "no");
    UserInput::click(getOrders);
    QVERIFY(getOrders->isEnabled());
    prompts.expect(Kind::YesNo, "is not encrypted", "yes")
        .expectMessage("2 new orders taken in, 0 other messages, 0 taken in before. 2 deleted");
    UserInput::click(getOrders);
    QVERIFY(!getOrders->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(prompts.done(), 20000);
    QVERIFY(getOrders->isEnabled());
    QCOMPARE(server.messageCount(), 0);
    QCOMPARE(named<QLabel>(&tab, "Order counter")->text(), " 3");
    QCOMPARE(named<QListWidget>(&tab, "Order lines")->item(0)->text(), "A1 ^ 1 ^ 5.00 ^ 5.00^");
    QVERIFY(named<QPlainTextEdit>(&tab, "Order log")->toPlainText().startsWith(" Online Order\n"));

    // "Refresh" shows what another machine stored in the shared database.
    QList<QStringList> shown;
    whenDialogShows(this, [&](QDialog* dialog) {
        const auto* view = named<QTableView>(dialog, "Orders, newest first");
        auto* refresh = named<QPushButton>(dialog, "&Refresh");
        for (int pass = 0; pass < 2; ++pass) {
            QTRY_VERIFY(refresh->isEnabled());
            shown << QStringList();
            for (int row = 0; row < view->model()->rowCount(); ++row)
                shown.last() << view->model()->index(row, 0).data().toString();
            OrderStore otherMachine;
            QVERIFY(otherMachine.open(dir.filePath("orders.sqlite")) &&
                    otherMachine.store(OrderMessage(OrderMail().text())).ok());
            UserInput::click(refresh);
        }
        dialog->reject();
    });
    UserInput::click(named<QPushButton>(&tab, "Show Orders"));
    QCOMPARE(shown, (QList<QStringList>{{"2", "1"}, {"3", "2", "1"}}));
}

// After more orders than the tab keeps, the list shows the newest 5,000
// order lines and the log the newest 100 summaries, under a note of how many
// it let go.
void TestEmailTab::showsTheNewestOrders() {
    DovecotFixture server;
    QVERIFY2(server.start(), qPrintable(server.error()));
    for (int order = 1; order <= 101; ++order) // 52 lines each: 50 items, empty, total
        QVERIFY(server.addMessage(OrderMail::of(qPrintable(QString::number(order)), 50).saved()));
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    OrderController controller(dir.filePath("orders.sqlite"), prompts);
    EmailTab tab(controller);
    controller.setPopHost(QStringLiteral("pop3://127.0.0.1:%1").arg(server.port()));
    controller.setUserName(server.user());
    controller.setPassword(server.password());
    prompts.expect(Kind::YesNo, "is not encrypted", "yes").expectMessage("101 new orders");
    controller.getOrders();
    QTRY_VERIFY_WITH_TIMEOUT(prompts.done(), 60000);

    const auto* lines = named<QListWidget>(&tab, "Order lines");
    QCOMPARE(lines->count(), 5000);
    QCOMPARE(lines->item(0)->text(), "5 ^ 1 ^ 5.00 ^ 5.00^"); // 44 lines into the fifth order
    const QString log = named<QPlainTextEdit>(&tab, "Order log")->toPlainText();
    const QString note = "Earlier orders not shown here: 1 (\"Show Orders\" lists them all).\n\n";
    QCOMPARE(log.left(note.size()), note);
    QCOMPARE(log.mid(note.size()),
             controller.log().entries().join(QString()).replace("\r\n", "\n"));
}

// While the order database's server keeps silent, "Get Orders" runs and
// "Show Orders" says it is reading: neither waits on the window's thread.
// When the server hangs up, each says the database could not be opened.
void TestEmailTab::silentDatabaseServerLeavesTheTabWorking() {
    SilentServer database;
    ScriptedPrompts prompts;
    OrderController controller(database.address(), prompts);
    EmailTab tab(controller);
    tab.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tab));
    controller.setPopHost("pop3s://127.0.0.1:1");
    controller.getOrders();
    QVERIFY(controller.isFetching());
    QCoreApplication::processEvents(); // as a person sees the tab with its progress bar

    QString state;
    whenDialogShows(this, [&](QDialog* dialog) {
        auto* stateLabel = named<QLabel>(dialog, "State");
        state = stateLabel->text();
        prompts.expectMessage("The order database could not be opened.");
        database.hangUp();
        QTRY_VERIFY(stateLabel->text().contains("The order database could not be opened."));
        dialog->reject();
    });
    UserInput::click(named<QPushButton>(&tab, "Show Orders"));
    QCOMPARE(state, "Reading the orders...");
    QTRY_VERIFY(prompts.done());
    QVERIFY(!controller.isFetching());
}

QTEST_MAIN(TestEmailTab)
#include "test_email_tab.moc"
