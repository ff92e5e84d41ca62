#include "orders/OrderMail.h"
#include "support/DovecotFixture.h"
#include "support/ExpectedFile.h"
#include "support/ProgramRun.h"
#include "support/ServerRequired.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// Makes a folder read-only for its owner, or writable again. No file mode
// stops root from writing, so for root the folder gets the file system's
// immutable flag instead.
bool setReadOnly(const QString& folder, bool readOnly) {
    if (geteuid() != 0)
        return QFile::setPermissions(
            folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                        (readOnly ? QFileDevice::Permissions() : QFileDevice::WriteOwner));
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = readOnly ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return done;
}

} // namespace

class TestOrdersCommand : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void importsAndLists();
    void fetchesFromAMailbox();
    void namesADatabaseItCannotOpen_data();
    void namesADatabaseItCannotOpen();
    void refusals_data();
    void refusals();

private:
    ProgramRun quillmart(QStringList arguments) const;
    QString writeMessage(const QString& name, const QByteArray& text) const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestOrdersCommand::initTestCase() {
    QUILLMART_REQUIRE_SERVER(DovecotFixture::missing());
}

void TestOrdersCommand::init() {
    m_dir = std::make_unique<QTemporaryDir>();
}

// Every run uses the test's own order database.
ProgramRun TestOrdersCommand::quillmart(QStringList arguments) const {
    arguments << "--db" << m_dir->filePath("orders.sqlite");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QUILLMART_HOME", m_dir->filePath("home"));
    environment.insert("QM_MAIL", "s3cret pass");
    return ProgramRun::of(QStringLiteral(QUILLMART_EXECUTABLE), arguments, environment);
}

QString TestOrdersCommand::writeMessage(const QString& name, const QByteArray& text) const {
    QFile file(m_dir->filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(text);
    return file.fileName();
}

// A message saved with LF line ends is read as the mail it was; the same
// message (by its Message-ID, or by its bytes when it has none) is taken in
// once. Text that is not UTF-8 is read as Windows-1252.
void TestOrdersCommand::importsAndLists() {
    OrderMail mail;
    const QByteArray saved =
        QString("Message-ID: <1@shop.test>\r\n" + mail.text()).replace("\r\n", "\n").toUtf8();
    const QString order = writeMessage("order.eml", saved);
    const QString copy = writeMessage("copy.eml", saved);
    const QString other = writeMessage("other.eml", "Subject: Hello\r\n\r\nHi\r\n");
    mail.set("NameS", "J\u00e9r\u00f4me").set("Adrs1S", "-2 Dock Road").set("CityS", "\tTulsa");
    mail.set("NameB", "=1+2").set("Adrs1B", "+1 Elm Street").set("CityB", "@Dallas");
    const QString typed =
        writeMessage("typed.eml", mail.set("AMOUNT", "$$$ -5.00").text().toLatin1());
    ProgramRun run = quillmart({"orders", "import", order, other, copy, typed, typed});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, (order + ": order 1 taken in\n" + other + ": not an order\n" + copy +
                       ": taken in before\n" + typed + ": order 2 taken in\n" + typed +
                       ": taken in before\n")
                          .toUtf8());

    run = quillmart({"orders", "list", "--csv"});
    QCOMPARE(run.exitCode, 0);
    const QByteArray expected =
        expectedFile("app/expected/orders.csv", false)
            .replace("<today>", QDate::currentDate().toString(Qt::ISODate).toUtf8());
    QVERIFY2(run.out == expected, firstDifference(run.out, expected).constData());

    run = quillmart({"orders", "list"});
    QVERIFY(run.out.contains("  item: 1 | A1  | 2 | 5.00 | 10.00\n"));
    QVERIFY(run.out.endsWith("2 orders\n"));
}

// STLS unless told otherwise; plain POP3 only when asked for, with a
// warning.
void TestOrdersCommand::fetchesFromAMailbox() {
    DovecotFixture server;
    QVERIFY2(server.start(), qPrintable(server.error()));
    OrderMail mail;
    QVERIFY(server.addMessage(mail.text().replace("\r\n", "\n").toUtf8()));
    QVERIFY(server.addMessage("Subject: Newsletter\n\nNews.\n"));
    const QStringList fetch{"orders",    "fetch",       "--host",
                            "127.0.0.1", "--port",      QString::number(server.port()),
                            "--user",    server.user(), "--password-env",
                            "QM_MAIL"};
    ProgramRun run = quillmart(fetch);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("does not offer a secure connection (STLS)"), run.err.constData());
    const QStringList plain = fetch + QStringList{"--plain"};
    run = quillmart(plain);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.contains("1 new orders taken in, 1 other messages, 0 taken in before."),
             run.out.constData());
    const QString warning =
        "quillmart orders: warning: the connection to 127.0.0.1:" + QString::number(server.port()) +
        " is not encrypted";
    QVERIFY2(run.err.startsWith(warning.toUtf8()), run.err.constData());
    QVERIFY(server.addMessage("Subject: Big\n\n" + QByteArray(1536 * 1024, 'x') + "\n"));
    run = quillmart(plain + QStringList{"--delete", "--size-limit", "1"});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("0 new orders taken in, 0 other messages, 2 taken in before. 2 "
                              "deleted on the server.\nThese messages could not be taken in and "
                              "stay on the server:\nmessage 3: it is 1.5 MB, more than the limit "
                              "of 1.0 MB"),
             run.err.constData());
    QCOMPARE(server.messageCount(), 1);

    server.stop();
    run = quillmart(plain);
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.err.contains("No orders were fetched from 127.0.0.1:"));
}

void TestOrdersCommand::namesADatabaseItCannotOpen_data() {
    QTest::addColumn<bool>("madeBefore");
    QTest::newRow("new database") << false;
    QTest::newRow("database made before") << true;
}

void TestOrdersCommand::namesADatabaseItCannotOpen() {
    QFETCH(bool, madeBefore);
    const QString home = m_dir->filePath("home");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QUILLMART_HOME", home);
    const auto run = [&environment](const QStringList& arguments) {
        return ProgramRun::of(QStringLiteral(QUILLMART_EXECUTABLE), arguments, environment);
    };
    QVERIFY(QDir().mkpath(home));
    if (madeBefore)
        QCOMPARE(run({"orders", "import", writeMessage("order.eml", OrderMail().text().toUtf8())})
                     .exitCode,
                 0);
    if (!setReadOnly(home, true))
        QSKIP("this file system cannot make a folder read-only");
    const auto writable = qScopeGuard([&home] { setReadOnly(home, false); });
    const ProgramRun list = run({"orders", "list"});
    QCOMPARE(list.exitCode, 1);
    QCOMPARE(QString::fromUtf8(list.err), "quillmart orders: the order database could not be "
                                          "opened: " +
                                              home + "/orders.sqlite: its folder " + home +
                                              " is read-only\n");
}

void TestOrdersCommand::refusals_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    // Every run gets "--db PATH" at the end.
    QTest::newRow("no action") << QStringList{"orders"} << "unknown orders command \"--db\"";
    QTest::newRow("unknown action")
        << QStringList{"orders", "purge"} << "unknown orders command \"purge\"";
    QTest::newRow("import nothing")
        << QStringList{"orders", "import"} << "import needs at least one message file";
    QTest::newRow("fetch without host") << QStringList{"orders", "fetch"} << "fetch needs --host";
    QTest::newRow("bad port") << QStringList{"orders", "fetch", "--host", "h", "--port", "pop"}
                              << "--port takes a port number, not \"pop\"";
    QTest::newRow("bad size limit")
        << QStringList{"orders", "fetch", "--host", "h", "--size-limit", "0"}
        << "--size-limit takes a size in megabytes (1 to 1024), not \"0\"";
}

void TestOrdersCommand::refusals() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const ProgramRun run = quillmart(arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(message.toUtf8()), run.err.constData());
}

QTEST_GUILESS_MAIN(TestOrdersCommand)
#include "test_orders_command.moc"
