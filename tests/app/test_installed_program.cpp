// The program installed into a prefix of its own runs from there with the
// data it installed, never the source tree's: its version, the sample shop
// generated, the browser window reading the installed start folder. The
// desktop files it installs pass their validators.

#include "support/ProgramRun.h"

#include <QDirIterator>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {

ProgramRun runTool(const QString& program, const QStringList& arguments) {
    return ProgramRun::of(program, arguments, QProcessEnvironment::systemEnvironment(), 120000);
}

} // namespace

class TestInstalledProgram : public QObject {
    Q_OBJECT

    QTemporaryDir m_prefix;
    QString installed(const QString& path) const { return m_prefix.filePath(path); }

private Q_SLOTS:
    void initTestCase() {
        const ProgramRun install = runTool(
            QUILLMART_CMAKE, {"--install", QUILLMART_BUILD_ROOT, "--prefix", m_prefix.path()});
        QVERIFY2(install.exitCode == 0, install.err.constData());
    }

    void desktopFilesAreValid() {
        // The entry belongs in two menus on purpose, which the validator hints at.
        const ProgramRun menu =
            runTool("desktop-file-validate",
                    {installed("share/applications/org.quillmart.quillmart.desktop")});
        QVERIFY2(menu.exitCode == 0 && !menu.out.contains("error"), menu.out.constData());
        const ProgramRun centre = runTool(
            "appstreamcli", {"validate", "--no-net",
                             installed("share/metainfo/org.quillmart.quillmart.metainfo.xml")});
        QVERIFY2(centre.exitCode == 0, centre.out.constData());
    }

    void runsFromThePrefix() {
        QCOMPARE(runTool(installed("bin/quillmart"), {"--version"}).out,
                 "quillmart " QUILLMART_VERSION "\n");
        QTemporaryDir work;
        const QString shop = installed("share/quillmart/SampleShop");
        for (QDirIterator files(shop, QDir::Files, QDirIterator::Subdirectories);
             files.hasNext();) {
            const QString target =
                work.filePath("SampleShop/" + QDir(shop).relativeFilePath(files.next()));
            QVERIFY(QDir().mkpath(QFileInfo(target).path()) &&
                    QFile::copy(files.filePath(), target));
        }
        const ProgramRun generate =
            runTool(installed("bin/quillmart"), {"generate", work.filePath("SampleShop")});
        QVERIFY2(generate.exitCode == 0, generate.err.constData());
        QVERIFY(QFileInfo(work.filePath("SampleShop/data1.js")).size() > 0);
    }

    // The installed channel server names new locations; the window's start
    // reads them from there and keeps them in its settings.
    void windowReadsTheInstalledStartFolder() {
        QFile locations(installed("share/quillmart/velgan/locations.txt"));
        QVERIFY(locations.open(QIODevice::WriteOnly) &&
                locations.write(
                    "http://installed.example/velgan/\r\nhttp://installed.example/velgan/\r\n") >
                    0);
        locations.close();
        QTemporaryDir home;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QUILLMART_HOME", home.path());
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        // The system's data folders must not offer a copy of their own.
        environment.insert("XDG_DATA_DIRS", home.filePath("no-data"));
        QProcess window;
        window.setProcessEnvironment(environment);
        window.start(installed("bin/quillmart"), {});
        const QString settings = home.filePath("Quillmart/Quillmart.conf");
        QTRY_COMPARE_WITH_TIMEOUT(
            QSettings(settings, QSettings::IniFormat).value("Startup/Location1").toString(),
            "http://installed.example/velgan/", 60000);
        window.kill();
        window.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(TestInstalledProgram)
#include "test_installed_program.moc"
