// A program folder that cannot be used is named with the reason before
// anything is written, and the order command stops there.

#include "platform/HomeFolder.h"
#include "support/ProgramRun.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestHomeFolder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void unusableFolderIsNamed();
};

void TestHomeFolder::unusableFolderIsNamed() {
    QTemporaryDir scratch;
    const QString file = scratch.filePath("notes.txt");
    QFile(file).open(QIODevice::WriteOnly);
    const QString home = file + "/home";
    const QString expected = "The program's folder " + home + " cannot be used: Not a directory.";
    qputenv("QUILLMART_HOME", home.toUtf8());
    QCOMPARE(HomeFolder::prepare(), expected);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QUILLMART_HOME", home);
    const ProgramRun run = ProgramRun::of(QUILLMART_EXECUTABLE, {"orders", "list"}, environment);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.err, ("quillmart: " + expected + '\n').toUtf8());
    QCOMPARE(QFileInfo(file).size(), 0);
}

QTEST_GUILESS_MAIN(TestHomeFolder)
#include "test_home_folder.moc"
