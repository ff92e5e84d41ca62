#include "support/ExpectedFile.h"
#include "support/NginxFixture.h"
#include "support/ProgramRun.h"
#include "support/ServerRequired.h"

#include <QtTest>

class TestPublishCommand : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString& relative) const { return m_dir.filePath(relative); }
    void writeFile(const QString& name, const QByteArray& bytes) {
        QFile file(path(name));
        QVERIFY(QDir().mkpath(QFileInfo(file).path()) && file.open(QIODevice::WriteOnly) &&
                file.write(bytes) == bytes.size());
    }
    ProgramRun quillmart(const QStringList& arguments) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QM_SECRET", "s3cret");
        environment.insert("QM_OTHER", "guess");
        return ProgramRun::of(QUILLMART_EXECUTABLE, arguments, environment);
    }

private Q_SLOTS:
    // A generated one-category shop "Shop" and an empty server folder "www".
    void initTestCase() {
        QUILLMART_REQUIRE_SERVER(NginxFixture::missing());
        writeFile("Shop/Shop.caa", "Tools\r\n");
        writeFile("Shop/Tools.pro", "A1^Hammer^9.5^^^^2^7^^\r\n");
        QVERIFY(QDir().mkpath(path("www")));
        QCOMPARE(quillmart({"generate", path("Shop")}).exitCode, 0);
    }

    // The whole way to a real WebDAV server, and a refused password.
    void publishesToAWebDavServer() {
        NginxFixture nginx;
        QVERIFY2(nginx.start("merchant", "s3cret"), qPrintable(nginx.error()));
        const QString server = "http://" + nginx.serverName();
        QStringList publish{"publish", path("Shop"), "--server",       server,
                            "--user",  "merchant",   "--password-env", "QM_SECRET"};
        const ProgramRun run = quillmart(publish);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out,
                 "20 of 20 files were published to " + server.toUtf8() + " (web \"Shop\").\n");
        // Plain http was typed: the password went, but not without a word.
        QVERIFY2(run.err.startsWith("quillmart publish: warning: The connection to " +
                                    server.toUtf8() + " is not encrypted"),
                 run.err.constData());
        QCOMPARE(fileBytes(nginx.rootPath() + "/Shop/complect.htm"),
                 fileBytes(path("Shop/complect.htm")));
        const ProgramRun wrong = quillmart(publish.replaceInStrings("QM_SECRET", "QM_OTHER"));
        QCOMPARE(wrong.exitCode, 1);
        QVERIFY2(wrong.err.contains("\nNothing was published") &&
                     wrong.err.contains("wrong user name or password"),
                 wrong.err.constData());
    }

    void dryRunSendsNothing() {
        const ProgramRun run =
            quillmart({"publish", path("Shop"), "--server", "www.shop.test", "--dry-run"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.startsWith("Dry run: nothing is sent to www.shop.test (web \"Shop\").\n"
                                   "Would remove from the web, if it exists:\n  data1.js\n"));
    }

    void refusals() {
        const std::tuple<QStringList, int, const char*> rows[] = {
            {{"--server", "x.test", "--password-env", "QM_UNSET"},
             1,
             "the variable QM_UNSET is not set"},
            {{"--force"}, 2, "unknown argument \"--force\""}};
        for (const auto& [options, exitCode, message] : rows) {
            const ProgramRun run = quillmart(QStringList{"publish", path("Shop")} + options);
            QCOMPARE(run.exitCode, exitCode);
            QVERIFY2(run.err.contains(message) && run.out.isEmpty(), run.err.constData());
        }
    }

    // The start file, from the project's settings, would lead out of the
    // web: the dry run does not go on either.
    void aStartFileOutsideTheWebStops() {
        writeFile("Shop/Shop.sit", "[Start]\r\n../../outside/precious\r\n[Tax]\r\n");
        const ProgramRun run =
            quillmart({"publish", path("Shop"), "--server", path("www"), "--dry-run"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("\"../../outside/precious.htm\" is not a plain file name") &&
                     run.out.isEmpty(),
                 run.err.constData());
    }
};

QTEST_GUILESS_MAIN(TestPublishCommand)
#include "test_publish_command.moc"
