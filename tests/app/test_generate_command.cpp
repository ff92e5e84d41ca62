#include "support/ExpectedFile.h"
#include "support/ProgramRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Run = ProgramRun;

// Runs the program as a user would from a shell and waits for it.
Run runProgram(const QStringList& arguments, const QProcessEnvironment& environment) {
    return ProgramRun::of(QStringLiteral(QUILLMART_EXECUTABLE), arguments, environment);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

qsizetype linesStartingWith(const QByteArray& text, const QByteArray& start) {
    qsizetype count = 0;
    for (const QByteArray& line : text.split('\n'))
        count += line.startsWith(start) ? 1 : 0;
    return count;
}

} // namespace

class TestGenerateCommand : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void generatesTheCatalog();
    void refusals_data();
    void refusals();
    void aRefusedWriteStops();
    void version();
    void withoutDisplay();

private:
    QString shop(const QString& file = {}) const { return m_home->filePath("Shop/" + file); }
    // The project "Shop" with the category Tools; `tools` is its item file
    // ("dir": a folder in its place, "none": no item file, "nothing": no
    // project folder at all, "empty": a project folder without files).
    void makeShop(const QByteArray& tools);
    QStringList withFolder(QStringList arguments) const;

    QTemporaryDir* m_home = nullptr;
    QProcessEnvironment m_environment;
};

void TestGenerateCommand::init() {
    m_home = new QTemporaryDir;
    m_environment = QProcessEnvironment::systemEnvironment();
    m_environment.insert("QUILLMART_HOME", m_home->filePath("home"));
}

void TestGenerateCommand::cleanup() {
    delete m_home;
}

void TestGenerateCommand::makeShop(const QByteArray& tools) {
    if (tools == "nothing")
        return;
    QVERIFY(QDir(m_home->path()).mkdir("Shop"));
    if (tools == "empty")
        return;
    writeFile(shop("Shop.caa"), "Tools\r\nGarden\r\n");
    if (tools == "dir")
        QVERIFY(QDir().mkdir(shop("Tools.pro")));
    else if (tools != "none")
        writeFile(shop("Tools.pro"), tools);
}

QStringList TestGenerateCommand::withFolder(QStringList arguments) const {
    arguments.replaceInStrings("FOLDER", m_home->filePath("Shop"));
    return arguments;
}

void TestGenerateCommand::generatesTheCatalog() {
    makeShop("A1^Hammer^9.5^hammer.jpg^^Acme^2^7^X^\r\n");
    const Run run = runProgram(
        withFolder({"generate", "--manufacturer", "FOLDER/", "--weight", "--layout", "contents"}),
        m_environment);
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.exitCode, 0);

    QStringList written = QString::fromLocal8Bit(run.out).split('\n', Qt::SkipEmptyParts);
    QVERIFY2(!written.isEmpty(), run.out);
    QCOMPARE(written.first(), QDir::toNativeSeparators(shop("data1.js")));
    for (const QString& path : written)
        QVERIFY2(QFileInfo(path).isFile() && path.startsWith(shop()), qPrintable(path));
    QCOMPARE(written.removeDuplicates(), 0);
    QVERIFY(fileBytes(shop("data1.js"))
                .contains("\r\nfunction Item(itemid, itemdesc, itemprice, "
                          "itemquantity,itemman,itemW,wprice,cv){\r\n"));
}

void TestGenerateCommand::refusals_data() {
    QTest::addColumn<QByteArray>("tools");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("message");
    const auto row = [](const char* name, const QByteArray& tools, const QStringList& options,
                        const QByteArray& message) {
        QTest::newRow(name) << tools << QStringList{"generate", "FOLDER"} + options << message;
    };
    row("no such folder", "nothing", {}, "no such project folder");
    row("no project file", "empty", {}, "Shop.caa");
    row("unreadable item file", "dir", {}, "Tools.pro");
    row("bad retail price", "A1^Hammer^9.5^^^^^^^\r\nA2^Saw^12,50^^^^^^^\r\n", {},
        "Tools, item A2: price \"12,50\"");
    row("unknown option", "none", {"--colour"}, "unknown argument \"--colour\"");
    row("bad layout", "none", {"--layout", "sideways"}, "\"sideways\"");
    row("layout without value", "none", {"--layout"}, "--layout takes banner or contents");
    QTest::newRow("no folder") << QByteArray("none") << QStringList{"generate"}
                               << QByteArray("no project folder given");
}

void TestGenerateCommand::refusals() {
    QFETCH(QByteArray, tools);
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, message);
    makeShop(tools);
    const Run run = runProgram(withFolder(arguments), m_environment);
    QCOMPARE(run.status, QProcess::NormalExit);
    QVERIFY(run.exitCode != 0);
    QCOMPARE(run.out, QByteArray());
    QVERIFY2(run.err.contains(message), run.err);
    QVERIFY2(linesStartingWith(run.err, "quillmart") == 1, run.err);
    QVERIFY(!QFile::exists(shop("data1.js")));
}

// The system refuses to write beyond 3 KB, as a full disk refuses any
// write: the first page over it stops the run, and nothing after it changes.
void TestGenerateCommand::aRefusedWriteStops() {
    makeShop("A1^Hammer^9.5^^^^^^^\r\n");
    writeFile(shop("complect.htm"), "old");
    const Run run = ProgramRun::of("/bin/sh",
                                   {"-c", "trap '' XFSZ; ulimit -f 6; exec \"$0\" \"$@\"",
                                    QUILLMART_EXECUTABLE, "generate", shop()},
                                   m_environment);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(
        run.err.contains("Could not write " + shop("basket.htm").toUtf8() + ": File too large\n"),
        run.err);
    QVERIFY2(run.err.contains("is incomplete"), run.err);
    QCOMPARE(fileBytes(shop("complect.htm")), "old");
}

// A headless command starts without the window libraries: loading the web
// engine alone would take longer than most commands take to run.
void TestGenerateCommand::version() {
    m_environment.insert("LD_DEBUG", "libs");
    const Run run = runProgram({"--version"}, m_environment);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QByteArray("quillmart 6.0.9\n"));
    QVERIFY2(run.err.contains("libQt6Core.so"), "the loader reported nothing");
    QVERIFY(!run.err.contains("libQt6WebEngineCore.so"));
    QVERIFY(!run.err.contains("libQt6Widgets.so"));
}

void TestGenerateCommand::withoutDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        m_environment.remove(name);
    const Run run = runProgram({}, m_environment);
    QCOMPARE(run.status, QProcess::NormalExit);
    QVERIFY(run.exitCode != 0);
    QCOMPARE(run.err.count('\n'), 1);
    QVERIFY2(run.err.toLower().contains("display"), run.err);
    QVERIFY(!QFileInfo::exists(m_home->filePath("home")));
}

QTEST_GUILESS_MAIN(TestGenerateCommand)
#include "test_generate_command.moc"
