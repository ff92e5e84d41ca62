#include "support/ExpectedFile.h"
#include "support/NginxFixture.h"
#include "support/ProgramRun.h"
#include "support/ServerRequired.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestPublishCommand : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void publishesToAWebDavServer();
    void dryRunSendsNothing();
    void refusals_data();
    void refusals();
    void aStartFileOutsideTheWebStops();

private:
    ProgramRun quillmart(const QStringList& arguments) const;
    QString path(const QString& relative) const { return m_dir->filePath(relative); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestPublishCommand::initTestCase() {
    QUILLMART_REQUIRE_SERVER(NginxFixture::missing());
}

// A generated one-category shop "Shop" and an empty server folder "www".
void TestPublishCommand::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir().mkpath(path("Shop")) && QDir().mkpath(path("www")));
    for (const auto& [name, text] : {std::pair{"Shop/Shop.caa", "Tools\r\n"},
                                     std::pair{"Shop/Tools.pro", "A1^Hammer^9.5^^^^2^7^^\r\n"}}) {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QCOMPARE(quillmart({"generate", path("Shop")}).exitCode, 0);
}

ProgramRun TestPublishCommand::quillmart(const QStringList& arguments) const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QM_SECRET", "s3cret");
    environment.insert("QM_OTHER", "guess");
    environment.remove("QM_UNSET");
    return ProgramRun::of(QStringLiteral(QUILLMART_EXECUTABLE), arguments, environment);
}

// The whole way to a real WebDAV server: a second publish replaces the
// site's files and keeps what the server stored beside them.
void TestPublishCommand::publishesToAWebDavServer() {
    NginxFixture nginx;
    QVERIFY2(nginx.start("merchant", "s3cret"), qPrintable(nginx.error()));
    const QString server = "http://" + nginx.serverName();
    const QStringList publish{"publish", path("Shop"), "--server",       server,
                              "--user",  "merchant",   "--password-env", "QM_SECRET"};
    const ProgramRun run = quillmart(publish);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, "20 of 20 files were published to " + server.toUtf8() + " (web \"Shop\").\n");
    // Plain http was typed: the password went, but not without a word.
    QVERIFY2(run.err.startsWith("quillmart publish: warning: The connection to " + server.toUtf8() +
                                " is not encrypted"),
             run.err.constData());
    const QString web = nginx.rootPath() + "/Shop/";
    QCOMPARE(fileBytes(web + "complect.htm"), fileBytes(path("Shop/complect.htm")));

    QVERIFY(QDir().mkpath(web + "_private"));
    QFile orders(web + "_private/distorders.htm");
    QVERIFY(orders.open(QIODevice::WriteOnly) && orders.write("saved orders") > 0);
    orders.close();
    QCOMPARE(quillmart(publish).out, run.out);
    QCOMPARE(fileBytes(web + "_private/distorders.htm"), "saved orders");

    const ProgramRun wrong = quillmart({"publish", path("Shop"), "--server", server, "--user",
                                        "merchant", "--password-env", "QM_OTHER"});
    QCOMPARE(wrong.exitCode, 1);
    QVERIFY2(wrong.err.contains("\nNothing was published"), wrong.err.constData());
    QVERIFY2(wrong.err.contains("wrong user name or password"), wrong.err.constData());
}

void TestPublishCommand::dryRunSendsNothing() {
    const ProgramRun run =
        quillmart({"publish", path("Shop"), "--server", "www.shop.test", "--dry-run"});
    QCOMPARE(run.exitCode, 0);
    const QList<QByteArray> lines = run.out.split('\n');
    QCOMPARE(lines.at(0), "Dry run: nothing is sent to www.shop.test (web \"Shop\").");
    QCOMPARE(lines.at(1), "Would remove from the web, if it exists:");
    QCOMPARE(lines.at(2), "  data1.js");
    QVERIFY(
        run.out.contains("Would send:\n  " + path("Shop/data1.js").toUtf8() + " -> data1.js\n"));
    QVERIFY(run.out.endsWith("  " + path("Shop/index.htm").toUtf8() + " -> index.htm\n"));
    QCOMPARE(QDir(path("www")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

void TestPublishCommand::refusals_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    const auto row = [](const char* name, const QStringList& options, int exitCode,
                        const char* message) {
        QTest::newRow(name) << QStringList{"publish", "SHOP"} + options << exitCode
                            << QString(message);
    };
    row("no server anywhere", {}, 1, "no server");
    row("password variable not set", {"--server", "x.test", "--password-env", "QM_UNSET"}, 1,
        "the variable QM_UNSET is not set");
    row("server folder missing", {"--server", "/nonexistent/www"}, 1,
        "Nothing was published to /nonexistent/www (web \"Shop\").\nThe folder "
        "/nonexistent/www does not exist.");
    row("option without value", {"--server"}, 2, "--server takes a value");
    row("unknown option", {"--force"}, 2, "unknown argument \"--force\"");
    QTest::newRow("no folder") << QStringList{"publish"} << 2 << "no project folder given";
}

void TestPublishCommand::refusals() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    arguments.replaceInStrings("SHOP", path("Shop"));
    const ProgramRun run = quillmart(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.contains(message.toUtf8()), run.err.constData());
    QVERIFY(run.out.isEmpty());
}

// The start file, from the project's settings, would lead out of the web:
// neither the dry run nor the publish goes on, and nothing is removed.
void TestPublishCommand::aStartFileOutsideTheWebStops() {
    QFile settings(path("Shop/Shop.sit"));
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write("[Start]\r\n../../outside/precious\r\n[Tax]\r\n");
    settings.close();
    QVERIFY(QDir().mkpath(path("www/Shop")) && QDir().mkpath(path("outside")));
    QFile precious(path("outside/precious.htm"));
    QVERIFY(precious.open(QIODevice::WriteOnly) && precious.write("keep") == 4);
    precious.close();
    for (const QStringList& options : {QStringList{}, QStringList{"--dry-run"}}) {
        const ProgramRun run =
            quillmart(QStringList{"publish", path("Shop"), "--server", path("www")} + options);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("\"../../outside/precious.htm\" is not a plain file name"),
                 run.err.constData());
        QVERIFY(run.out.isEmpty());
    }
    QCOMPARE(fileBytes(path("outside/precious.htm")), "keep");
}

QTEST_GUILESS_MAIN(TestPublishCommand)
#include "test_publish_command.moc"
