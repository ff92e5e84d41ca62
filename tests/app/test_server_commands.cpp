// The program's commands that talk to servers started by the test:
// `quillmart publish` to nginx WebDAV and `quillmart orders` with a dovecot
// POP3 mailbox and a PostgreSQL order database.

#include "orders/OrderMail.h"
#include "orders/OrderStore.h"
#include "support/DovecotFixture.h"
#include "support/ExpectedFile.h"
#include "support/NginxFixture.h"
#include "support/PostgresFixture.h"
#include "support/ProgramRun.h"
#include "support/ServerRequired.h"

#include <QtTest>

class TestServerCommands : public QObject {
    Q_OBJECT

    QTemporaryDir m_site; // the generated one-category shop "Shop"
    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString& relative) const { return m_site.filePath(relative); }
    PostgresFixture m_postgres;
    QStringList m_database; // the orders commands' database options

    // Every run uses the test's own home.
    QProcessEnvironment environment() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QUILLMART_HOME", m_dir->filePath("home"));
        environment.insert("QM_MAIL", "s3cret pass");
        environment.insert("QM_SECRET", "s3cret");
        environment.insert("QM_DB", m_postgres.password());
        return environment;
    }
    ProgramRun quillmart(const QStringList& arguments) const {
        return ProgramRun::of(QUILLMART_EXECUTABLE, arguments, environment());
    }
    // An orders command on the test's own database.
    ProgramRun orders(const QStringList& arguments) const {
        return quillmart(QStringList{"orders"} + arguments + m_database);
    }
    // Rows named after the database the init() gives them.
    static void databaseRows(const QList<const char*>& names) {
        QTest::addColumn<bool>("unused");
        for (const char* name : names)
            QTest::newRow(name) << true;
    }
    QString writeMessage(const QString& name, const QByteArray& text) const {
        writeBytes(m_dir->filePath(name), text);
        return m_dir->filePath(name);
    }
    // A plain POP3 fetch from `server`'s mailbox into the test's database.
    QStringList plainFetch(const DovecotFixture& server) const {
        return QString("orders fetch --host 127.0.0.1 --port %1 --user %2 --password-env QM_MAIL "
                       "--plain")
                   .arg(QString::number(server.port()), server.user())
                   .split(' ') +
               m_database;
    }

private Q_SLOTS:
    void initTestCase() {
        QUILLMART_REQUIRE_SERVER(NginxFixture::missing());
        QUILLMART_REQUIRE_SERVER(DovecotFixture::missing());
        m_dir = std::make_unique<QTemporaryDir>();
        writeBytes(path("Shop/Shop.caa"), "Tools\r\n");
        writeBytes(path("Shop/Tools.pro"), "A1^Hammer^9.5^^^^2^7^^\r\n");
        QCOMPARE(quillmart({"generate", path("Shop")}).exitCode, 0);
        QVERIFY2(!PostgresFixture::missing().isEmpty() || m_postgres.start(),
                 qPrintable(m_postgres.error()));
    }
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_database = QStringList{"--db", m_dir->filePath("orders.sqlite")};
        if (QTest::currentDataTag() != QByteArray("postgresql"))
            return;
        QUILLMART_REQUIRE_SERVER(PostgresFixture::missing());
        QVERIFY2(m_postgres.createDatabase("orders"), qPrintable(m_postgres.error()));
        m_database = QStringList{"--db", m_postgres.url("orders"), "--db-password-env", "QM_DB"};
    }

    // The whole way to a real WebDAV server.
    void publishesToAWebDavServer() {
        NginxFixture nginx;
        QVERIFY2(nginx.start("merchant", "s3cret"), qPrintable(nginx.error()));
        const QString server = "http://" + nginx.serverName();
        const ProgramRun run = quillmart({"publish", path("Shop"), "--server", server, "--user",
                                          "merchant", "--password-env", "QM_SECRET"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out,
                 "20 of 20 files were published to " + server.toUtf8() + " (web \"Shop\").\n");
        // Plain http was typed: the password went, but not without a word;
        // so did a shop whose orders would go to an example address.
        QVERIFY2(run.err.startsWith("quillmart publish: warning: The connection to " +
                                    server.toUtf8() + " is not encrypted"),
                 run.err.constData());
        QVERIFY2(run.err.contains("\nquillmart publish: warning: These order addresses are still "
                                  "the examples of a new project"),
                 run.err.constData());
    }

    // A dry run names what would go; a start file, from the project's
    // settings, that would lead out of the web stops the dry run too.
    void dryRun() {
        QStringList dry{"publish", path("Shop"), "--server", "www.shop.test", "--dry-run"};
        ProgramRun run = quillmart(dry);
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.startsWith("Dry run: nothing is sent to www.shop.test (web \"Shop\").\n"
                                   "Would remove from the web, if it exists:\n  data1.js\n"));
        writeBytes(path("Shop/Shop.sit"), "[Start]\r\n../../outside/precious\r\n[Tax]\r\n");
        run = quillmart(dry);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("\"../../outside/precious.htm\" is not a plain file name") &&
                     run.out.isEmpty(),
                 run.err.constData());
    }

    // A database that cannot be opened is named with the reason.
    void refusals() {
        const QString file = writeMessage("a file", "not a folder") + "/orders.sqlite";
        const std::tuple<QStringList, int, QString> rows[] = {
            {{"orders", "list", "--db", file},
             1,
             "quillmart orders: the order database could not be opened: " + file + ": its folder"},
            {{"publish", path("Shop"), "--server", "x.test", "--password-env", "QM_UNSET"},
             1,
             "the variable QM_UNSET is not set"},
            {{"orders", "fetch", "--host", "h", "--port", "pop"},
             2,
             "--port takes a port number, not \"pop\""}};
        for (const auto& [arguments, exitCode, message] : rows) {
            const ProgramRun run = quillmart(arguments);
            QCOMPARE(run.exitCode, exitCode);
            QVERIFY2(run.err.contains(message.toUtf8()) && run.out.isEmpty(), run.err.constData());
        }
    }

    // A message saved with LF line ends is read as the mail it was and is
    // taken in once; what the shopper typed never runs as a spreadsheet
    // formula. The same on a SQLite file and a PostgreSQL server.
    void importsAndLists_data() { databaseRows({"sqlite", "postgresql"}); }
    void importsAndLists() {
        OrderMail mail;
        const QString order =
            writeMessage("order.eml", "Message-ID: <1@shop.test>\n" + mail.saved());
        const QString other = writeMessage("other.eml", "Subject: Hello\r\n\r\nHi\r\n");
        mail.set("NameS", "J\u00e9r\u00f4me").set("Adrs1S", "-2 Dock Road").set("CityS", "\tTulsa");
        mail.set("NameB", "=1+2").set("Adrs1B", "+1 Elm Street").set("CityB", "@Dallas");
        const QString typed =
            writeMessage("typed.eml", mail.set("AMOUNT", "$$$ -5.00").text().toLatin1());
        ProgramRun run = orders({"import", order, other, order, typed});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, (order + ": order 1 taken in\n" + other + ": not an order\n" + order +
                           ": taken in before\n" + typed + ": order 2 taken in\n")
                              .toUtf8());
        run = orders({"list", "--csv"});
        const QByteArray expected =
            expectedFile("app/expected/orders.csv", false)
                .replace("<today>", QDate::currentDate().toString(Qt::ISODate).toUtf8());
        QVERIFY2(run.out == expected, firstDifference(run.out, expected).constData());
    }

    // A saved message larger than the size limit is not read, as a fetched
    // one is not.
    void importLeavesWhatIsTooLarge() {
        const QString big =
            writeMessage("big.eml", OrderMail().saved() + QByteArray(1536 * 1024, 'x'));
        const ProgramRun run = orders({"import", big, "--size-limit", "1"});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err,
                 (big + ": not taken in: it is 1.5 MB, more than the limit of 1.0 MB\n").toUtf8());
        QCOMPARE(orders({"list"}).out, "0 orders\n");
    }

    // STLS unless told otherwise; plain POP3 only when asked for, with a warning.
    void fetchesFromAMailbox() {
        DovecotFixture server;
        QVERIFY2(server.start(), qPrintable(server.error()));
        QVERIFY(server.addMessage(OrderMail().saved()) &&
                server.addMessage("Subject: Newsletter\n\nNews.\n"));
        const QStringList plain = plainFetch(server);
        ProgramRun run = quillmart(plain.mid(0, plain.indexOf("--plain")) + m_database);
        QVERIFY2(run.exitCode == 1 && run.err.contains("does not offer a secure connection (STLS)"),
                 run.err.constData());
        run = quillmart(plain);
        QVERIFY2(
            run.exitCode == 0 &&
                run.out.contains("1 new orders taken in, 1 other messages, 0 taken in before."),
            run.out.constData());
        QVERIFY2(run.err.startsWith("quillmart orders: warning: the connection to 127.0.0.1:" +
                                    QByteArray::number(server.port()) + " is not encrypted"),
                 run.err.constData());
        QVERIFY(server.addMessage("Subject: Big\n\n" + QByteArray(1536 * 1024, 'x') + "\n"));
        run = quillmart(plain + QStringList{"--delete", "--size-limit", "1"});
        QVERIFY2(run.exitCode == 1 && run.err.contains("2 deleted on the server.") &&
                     run.err.contains("more than the limit of 1.0 MB"),
                 run.err.constData());
    }

    // Two intakes fetch one mailbox at the same moment into one new
    // PostgreSQL database: each order is stored once, and the counts of
    // both add up.
    void twoIntakesShareADatabase_data() { databaseRows({"postgresql"}); }
    void twoIntakesShareADatabase() {
        DovecotFixture server;
        QVERIFY2(server.start(), qPrintable(server.error()));
        constexpr int kOrders = 40;
        for (int i = 0; i < kOrders; ++i)
            QVERIFY(server.addMessage(OrderMail::of(qPrintable(QString::number(i))).saved()));
        QVERIFY(server.addMessage("Subject: Newsletter\n\nNews.\n"));
        std::array<QProcess, 2> intakes;
        for (QProcess& intake : intakes) {
            intake.setProcessEnvironment(environment());
            intake.start(QUILLMART_EXECUTABLE, plainFetch(server));
        }
        static const QRegularExpression summary(
            "messages in the mailbox at \\S+ (\\d+) new orders taken in, (\\d+) other "
            "messages, (\\d+) taken in before.");
        std::array<int, 3> total{};
        for (QProcess& intake : intakes) {
            QVERIFY(intake.waitForFinished(60000));
            const QString out = intake.readAllStandardOutput();
            const QRegularExpressionMatch counts = summary.match(out);
            QVERIFY2(intake.exitCode() == 0 && counts.hasMatch(),
                     qPrintable(out + intake.readAllStandardError()));
            for (int i = 0; i < 3; ++i)
                total[i] += counts.captured(i + 1).toInt();
        }
        QCOMPARE(total, (std::array{kOrders, 1, kOrders + 1}));
        OrderStore store;
        QVERIFY(store.open(m_postgres.url("orders"), m_postgres.password()));
        QSet<QString> items;
        for (const StoredOrder& order : store.orders().valueOr({}))
            items << order.details.value(0).value(1);
        QCOMPARE(items.size(), kOrders);
        QCOMPARE(store.orderCount(), kOrders);
    }
};

QTEST_GUILESS_MAIN(TestServerCommands)
#include "test_server_commands.moc"
