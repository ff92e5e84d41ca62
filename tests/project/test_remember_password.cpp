#include "generator/GeneratorController.h"
#include "keyring/PasswordKeyring.h"
#include "orders/OrderController.h"
#include "project/ui/GeneratorWindow.h"
#include "support/NginxFixture.h"
#include "support/PostgresFixture.h"
#include "support/ProgramRun.h"
#include "support/ScriptedPrompts.h"
#include "support/SecretServiceFixture.h"
#include "support/ServerRequired.h"
#include "support/UserInput.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>

using Kind = ScriptedPrompts::Kind;
using UserInput::named;

// "Remember password" against a real secret service: the box on the
// "Settings" tab driven by keys and clicks, and `quillmart publish` taking
// (or missing) what the window remembered, on a WebDAV server that asks for
// it; and an order database's password that `quillmart orders` remembers,
// for itself and the window, on a PostgreSQL server that asks for it.
class TestRememberPassword : public QObject {
    Q_OBJECT

    SecretServiceFixture m_secrets;
    NginxFixture m_nginx;
    PostgresFixture m_postgres;
    QTemporaryDir m_home;
    ScriptedPrompts m_prompts;

    static void showTab(GeneratorWindow& window, int index) {
        UserInput::click(window.tabs()->tabBar(), Qt::LeftButton,
                         window.tabs()->tabBar()->tabRect(index).center());
    }
    // Server and user typed on "Settings"; Tab leaves for "Password :".
    void typeAccount(GeneratorWindow& window) {
        showTab(window, 2);
        UserInput::enterText(named<QLineEdit>(&window, "Server name:"),
                             "http://" + m_nginx.serverName(), Qt::Key_unknown);
        UserInput::enterText(named<QLineEdit>(&window, "User name:"), "merchant", Qt::Key_Tab);
    }
    // The box comes next in the tab order.
    static QCheckBox* tabToTheBox(GeneratorWindow& window) {
        UserInput::press(&window, Qt::Key_Tab);
        auto* box = qobject_cast<QCheckBox*>(QApplication::focusWidget());
        return box && box->text() == "Remember password" ? box : nullptr;
    }
    ProgramRun publish() const {
        return ProgramRun::of(QUILLMART_EXECUTABLE,
                              {"publish", m_home.filePath("Shop"), "--server",
                               "http://" + m_nginx.serverName(), "--user", "merchant"},
                              QProcessEnvironment::systemEnvironment());
    }
    ProgramRun orders(const QStringList& options) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QM_DB", m_postgres.password());
        environment.insert("QM_OTHER", "guess");
        return ProgramRun::of(
            QUILLMART_EXECUTABLE,
            QStringList{"orders", "list", "--db", m_postgres.url("orders")} + options, environment);
    }
    static bool refused(const ProgramRun& run) {
        return run.exitCode == 1 && run.err.contains("refused the login of \"merchant\"");
    }

private Q_SLOTS:
    void initTestCase() {
        QUILLMART_REQUIRE_SERVER(SecretServiceFixture::missing() + NginxFixture::missing() +
                                 PostgresFixture::missing());
        QVERIFY2(m_secrets.start(), qPrintable(m_secrets.error()));
        QVERIFY2(m_nginx.start("merchant", "s3cret"), qPrintable(m_nginx.error()));
        // No password file of the user's may stand in for the keyring.
        qputenv("PGPASSFILE", m_home.filePath("no.pgpass").toLocal8Bit());
        QVERIFY2(m_postgres.start() && m_postgres.createDatabase("orders"),
                 qPrintable(m_postgres.error()));
    }

    // Remembered only once it has opened the database, so a wrong one
    // never replaces it; the command and the window find it; forgotten,
    // neither does.
    void remembersTheDatabasePassword() {
        QVERIFY(refused(orders({})));
        ProgramRun run = orders({"--db-password-env", "QM_DB", "--remember-db-password"});
        QCOMPARE(run.out, "0 orders\n");
        QVERIFY2(run.exitCode == 0 && run.err.contains("remembered in the desktop keyring"),
                 run.err.constData());
        QVERIFY(refused(orders({"--db-password-env", "QM_OTHER", "--remember-db-password"})));
        run = orders({});
        QVERIFY2(run.exitCode == 0 && run.out == "0 orders\n", run.err.constData());
        OrderController window(m_postgres.url("orders"), m_prompts);
        std::optional<QString> problem;
        connect(&window, &OrderController::ordersRead, this,
                [&](const QList<StoredOrder>&, const QString& said) { problem = said; });
        window.readOrders();
        QTRY_VERIFY_WITH_TIMEOUT(problem, 20000);
        QCOMPARE(*problem, QString());
        QVERIFY(refused(orders({"--forget-db-password"})) && refused(orders({})));
    }

    void remembersForTheWindowAndTheCommand() {
        GeneratorController first(m_home.path(), m_prompts);
        GeneratorWindow window(first);
        window.show();
        showTab(window, 1);
        m_prompts.expect(Kind::Input, "Enter the new project's name", "Shop")
            .expectMessage("You may fill the category listing")
            .expectMessage("Orders are mailed to: orders@example.com")
            .expect(Kind::YesNo, "Publish anyway?", "yes")
            .expect(Kind::YesNo, "is not encrypted", "yes")
            .expectMessage("files were published to http");
        UserInput::click(named<QPushButton>(&window, "New Project"));
        typeAccount(window);
        UserInput::enterText(named<QLineEdit>(&window, "Password :"), "s3cret", Qt::Key_unknown);
        QVERIFY(tabToTheBox(window));
        UserInput::press(&window, Qt::Key_Space);
        showTab(window, 3);
        UserInput::click(named<QPushButton>(&window, "Generate"));
        UserInput::click(named<QPushButton>(&window, "Front Page"));
        QVERIFY(m_prompts.done());
        // Another kind's password for the same server and user stays apart.
        QVERIFY(PasswordKeyring().write(PasswordKeyring::Kind::Mail,
                                        "http://" + m_nginx.serverName(), "merchant",
                                        "not this one"));
        ProgramRun run = publish();
        QVERIFY2(run.exitCode == 0, run.err.constData());

        // A new window fills the password in; unticking forgets it.
        GeneratorController second(m_home.path(), m_prompts);
        GeneratorWindow again(second);
        again.show();
        typeAccount(again);
        QCOMPARE(named<QLineEdit>(&again, "Password :")->text(), "s3cret");
        QCheckBox* box = tabToTheBox(again);
        QVERIFY(box && box->isChecked());
        UserInput::press(&again, Qt::Key_Space);
        run = publish();
        QVERIFY2(run.exitCode == 1 && run.err.contains("wrong user name or password"),
                 run.err.constData());

        // Without a secret service the box is off and says why, as the status
        // bar does; the field keeps its password; the command says so too.
        m_secrets.stopKeyring();
        typeAccount(again);
        QVERIFY(!box->isEnabled() && !box->isChecked());
        QVERIFY2(box->toolTip().startsWith("Passwords cannot be remembered. The desktop keyring "
                                           "(secret service) cannot be used: "),
                 qPrintable(box->toolTip()));
        QCOMPARE(again.statusBar()->currentMessage(), box->toolTip());
        QCOMPARE(box->accessibleDescription(), box->toolTip());
        QCOMPARE(named<QLineEdit>(&again, "Password :")->text(), "s3cret");
        run = publish();
        QVERIFY2(run.err.startsWith("quillmart publish: no remembered password: The desktop "
                                    "keyring (secret service) cannot be used: "),
                 run.err.constData());
    }
};

QTEST_MAIN(TestRememberPassword)
#include "test_remember_password.moc"
