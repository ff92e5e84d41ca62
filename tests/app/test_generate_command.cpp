#include "support/ExpectedFile.h"
#include "support/ProgramRun.h"

#include <QtTest>

class TestGenerateCommand : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    QString shop(const QString& file = {}) const { return m_home.filePath("Shop/" + file); }
    // The project "Shop" with the categories Tools, whose item file holds
    // `tools`, and Garden, which has none.
    void makeShop(const QByteArray& tools) {
        QDir(shop()).removeRecursively();
        QVERIFY(QDir().mkpath(shop()));
        for (const auto& [name, bytes] : {std::pair{"Shop.caa", QByteArray("Tools\r\nGarden\r\n")},
                                          std::pair{"Tools.pro", tools}}) {
            QFile file(shop(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        }
    }
    ProgramRun quillmart(const QStringList& arguments,
                         const QString& program = QUILLMART_EXECUTABLE) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QUILLMART_HOME", m_home.filePath("home"));
        return ProgramRun::of(program, arguments, environment);
    }

private Q_SLOTS:
    void generatesTheCatalog() {
        makeShop("A1^Hammer^9.5^hammer.jpg^^Acme^2^7^X^\r\n");
        const ProgramRun run =
            quillmart({"generate", "--manufacturer", shop(), "--weight", "--layout", "contents"});
        QCOMPARE(run.err + QByteArray::number(run.exitCode), "0");
        const QStringList written = QString::fromLocal8Bit(run.out).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(written.value(0), shop("data1.js"));
        QCOMPARE(written.size(), 20);
        QVERIFY(
            fileBytes(shop("data1.js"))
                .contains(
                    "(itemid, itemdesc, itemprice, itemquantity,itemman,itemW,wprice,cv){\r\n"));
    }

    void refusals() {
        const std::pair<QStringList, const char*> rows[] = {
            {{"generate", "SHOP", "--colour"}, "unknown argument \"--colour\""},
            {{"generate", "SHOP"}, "Tools, item A2: price \"12,50\""}};
        makeShop("A1^Hammer^9.5^^^^^^^\r\nA2^Saw^12,50^^^^^^^\r\n");
        for (const auto& [arguments, message] : rows) {
            const ProgramRun run =
                quillmart(QStringList(arguments).replaceInStrings("SHOP", shop()));
            QVERIFY(run.status == QProcess::NormalExit && run.exitCode != 0 && run.out.isEmpty());
            QVERIFY2(
                run.err.contains(message) &&
                    QString(run.err).split('\n').filter(QRegularExpression("^quillmart")).size() ==
                        1,
                run.err);
        }
        QVERIFY(!QFile::exists(shop("data1.js")));
    }

    // The system refuses to write beyond 3 KB, as a full disk refuses any
    // write: the first page over it stops the run with the system's reason.
    void aRefusedWriteStops() {
        makeShop("A1^Hammer^9.5^^^^^^^\r\n");
        const ProgramRun run = quillmart({"-c", "trap '' XFSZ; ulimit -f 6; exec \"$0\" \"$@\"",
                                          QUILLMART_EXECUTABLE, "generate", shop()},
                                         "/bin/sh");
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("Could not write " + shop("basket.htm").toUtf8() +
                                  ": File too large\n") &&
                     run.err.contains("is incomplete"),
                 run.err);
    }

    void withoutDisplayFailsPlainly() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(name);
        environment.insert("QUILLMART_HOME", m_home.filePath("home"));
        const ProgramRun run = ProgramRun::of(QUILLMART_EXECUTABLE, {}, environment);
        QVERIFY(run.status == QProcess::NormalExit && run.exitCode != 0);
        QVERIFY2(run.err.count('\n') == 1 && run.err.toLower().contains("display"), run.err);
        QVERIFY(!QFileInfo::exists(m_home.filePath("home")));
    }
};

QTEST_GUILESS_MAIN(TestGenerateCommand)
#include "test_generate_command.moc"
