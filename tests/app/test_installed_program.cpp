// The program installed into a prefix of its own runs from there with the
// data it installed, never the source tree's: the window, loaded from its
// installed module, reads the installed channel server's start folder.

#include "support/ExpectedFile.h"
#include "support/ProgramRun.h"

#include <QtTest>

class TestInstalledProgram : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The installed channel server names new locations; the window's start
    // reads them from there and keeps them in its settings.
    void windowReadsTheInstalledStartFolder() {
        QTemporaryDir prefix, home;
        const ProgramRun install = ProgramRun::of(
            QUILLMART_CMAKE, {"--install", QUILLMART_BUILD_ROOT, "--prefix", prefix.path()},
            QProcessEnvironment::systemEnvironment(), 120000);
        QVERIFY2(install.exitCode == 0, install.err.constData());
        writeBytes(prefix.filePath("share/quillmart/velgan/locations.txt"),
                   "http://installed.example/velgan/\r\nhttp://installed.example/velgan/\r\n");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QUILLMART_HOME", home.path());
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        // The system's data folders must not offer a copy of their own.
        environment.insert("XDG_DATA_DIRS", home.filePath("no-data"));
        QProcess window;
        window.setProcessEnvironment(environment);
        window.start(prefix.filePath("bin/quillmart"), {});
        QTRY_COMPARE_WITH_TIMEOUT(
            QSettings(home.filePath("Quillmart/Quillmart.conf"), QSettings::IniFormat)
                .value("Startup/Location1")
                .toString(),
            "http://installed.example/velgan/", 60000);
        window.kill();
        window.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(TestInstalledProgram)
#include "test_installed_program.moc"
