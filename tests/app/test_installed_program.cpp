// The program installed into a prefix of its own runs from there with the
// data it installed, never the source tree's: its version, the sample shop
// generated, the browser window reading the installed start folder. The
// desktop files it installs pass their validators, and the manual names
// every command and option of --help.

#include "support/ProgramRun.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kAppId = QStringLiteral("org.quillmart.quillmart");

ProgramRun runTool(const QString& program, const QStringList& arguments) {
    return ProgramRun::of(program, arguments, QProcessEnvironment::systemEnvironment(), 120000);
}

void copyFolder(const QString& from, const QString& to) {
    QDirIterator files(from, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString source = files.next();
        const QString target = to + '/' + QDir(from).relativeFilePath(source);
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(source, target);
    }
}

} // namespace

class TestInstalledProgram : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void desktopFilesAreValid();
    void manualNamesEveryOption();
    void runsFromThePrefix();
    void windowReadsTheInstalledStartFolder();

private:
    QString installed(const QString& path) const { return m_prefix.filePath(path); }
    QProcessEnvironment isolated(const QTemporaryDir& home) const;

    QTemporaryDir m_prefix;
};

void TestInstalledProgram::initTestCase() {
    const ProgramRun install =
        runTool(QUILLMART_CMAKE, {"--install", QUILLMART_BUILD_ROOT, "--prefix", m_prefix.path()});
    QVERIFY2(install.exitCode == 0, install.err.constData());
}

void TestInstalledProgram::desktopFilesAreValid() {
    const QString desktop = installed("share/applications/" + kAppId + ".desktop");
    const ProgramRun menu = runTool("desktop-file-validate", {desktop});
    // The entry belongs in two menus on purpose, which the validator hints at.
    QVERIFY2(menu.exitCode == 0 && !menu.out.contains("error"), menu.out.constData());
    const QString metainfo = installed("share/metainfo/" + kAppId + ".metainfo.xml");
    const ProgramRun centre = runTool("appstreamcli", {"validate", "--no-net", metainfo});
    QVERIFY2(centre.exitCode == 0, centre.out.constData());
    for (const char* icon : {"share/icons/hicolor/scalable/apps/quillmart.svg",
                             "share/icons/hicolor/48x48/apps/quillmart.png",
                             "share/icons/hicolor/256x256/apps/quillmart.png"})
        QVERIFY2(QFileInfo(installed(icon)).size() > 0, icon);
}

void TestInstalledProgram::manualNamesEveryOption() {
    const ProgramRun help = runTool(installed("bin/quillmart"), {"--help"});
    QCOMPARE(help.exitCode, 0);
    const ProgramRun manual = runTool("gzip", {"-dc", installed("share/man/man1/quillmart.1.gz")});
    QCOMPARE(manual.exitCode, 0);
    const QString page = QString::fromUtf8(manual.out).replace("\\-", "-");
    static const QRegularExpression word(
        R"((--[a-z-]+|\b(?:generate|publish|import|fetch|list|harvest)\b))");
    QStringList missing;
    for (auto match = word.globalMatch(QString::fromUtf8(help.out)); match.hasNext();) {
        const QString name = match.next().captured(1);
        if (!page.contains(QRegularExpression("(^|[^a-z-])" + QRegularExpression::escape(name) +
                                              "($|[^a-z-])")))
            missing << name;
    }
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(' ')));
}

void TestInstalledProgram::runsFromThePrefix() {
    const ProgramRun version = runTool(installed("bin/quillmart"), {"--version"});
    QCOMPARE(version.out, QByteArray("quillmart " QUILLMART_VERSION "\n"));

    QTemporaryDir work;
    const QString project = work.filePath("SampleShop");
    copyFolder(installed("share/quillmart/SampleShop"), project);
    const ProgramRun generate = runTool(installed("bin/quillmart"), {"generate", project});
    QVERIFY2(generate.exitCode == 0, generate.err.constData());
    QVERIFY(QFileInfo(project + "/data1.js").size() > 0);
}

QProcessEnvironment TestInstalledProgram::isolated(const QTemporaryDir& home) const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QUILLMART_HOME", home.path());
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    // The system's data folders must not offer a copy of their own.
    environment.insert("XDG_DATA_DIRS", home.filePath("no-data"));
    return environment;
}

// The installed channel server names new locations; the window's start
// reads them from there and keeps them in its settings.
void TestInstalledProgram::windowReadsTheInstalledStartFolder() {
    QFile locations(installed("share/quillmart/velgan/locations.txt"));
    QVERIFY(locations.open(QIODevice::WriteOnly));
    locations.write("http://installed.example/velgan/\r\nhttp://installed.example/velgan/\r\n");
    locations.close();

    QTemporaryDir home;
    QProcess window;
    window.setProcessEnvironment(isolated(home));
    window.start(installed("bin/quillmart"), {});
    const QString settings = home.filePath("Quillmart/Quillmart.conf");
    const auto saved = [&settings] {
        return QSettings(settings, QSettings::IniFormat).value("Startup/Location1").toString();
    };
    QTRY_COMPARE_WITH_TIMEOUT(saved(), "http://installed.example/velgan/", 60000);
    window.kill();
    window.waitForFinished();
}

QTEST_GUILESS_MAIN(TestInstalledProgram)
#include "test_installed_program.moc"
