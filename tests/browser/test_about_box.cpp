#include "browser/AboutBox.h"
#include "platform/Launcher.h"
#include "support/ExpectedFile.h"
#include "support/ScriptedPrompts.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

// Remembers each program it is asked to start; refuses them all when told.
class RecordingLauncher : public Launcher {
public:
    bool start(const QString& program, const QStringList& arguments) override {
        started << (QStringList{program} + arguments).join(' ');
        return !failing;
    }
    QStringList started;
    bool failing = false;
};

} // namespace

class TestAboutBox : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void systemInfo_data();
    void systemInfo();
};

void TestAboutBox::systemInfo_data() {
    QTest::addColumn<QStringList>("programs");
    QTest::addColumn<bool>("startFails");
    QTest::addColumn<QString>("started"); // empty: the box tells it cannot start one
    QTest::newRow("GNOME settings opens its overview")
        << QStringList{"gnome-control-center"} << false
        << "/usr/bin/gnome-control-center info-overview";
    QTest::newRow("a dedicated tool before the desktop's settings")
        << QStringList{"gnome-control-center", "hardinfo"} << false << "/usr/bin/hardinfo";
    QTest::newRow("none installed") << QStringList{} << false << QString();
    QTest::newRow("installed but does not start")
        << QStringList{"kinfocenter"} << true << QString();
}

// The box names the program and its version; "System Info..." starts the
// first system information program installed, or says none can be started.
void TestAboutBox::systemInfo() {
    QFETCH(QStringList, programs);
    QFETCH(bool, startFails);
    QFETCH(QString, started);
    RecordingLauncher launcher;
    launcher.failing = startFails;
    ScriptedPrompts prompts;
    const QString unavailable = QStringLiteral("System Information Is Unavailable At This Time");
    if (started.isEmpty())
        prompts.expectMessage(unavailable);
    AboutBox box(launcher, prompts, [programs](const QString& name) {
        return programs.contains(name) ? "/usr/bin/" + name : QString();
    });
    QCOMPARE(box.windowTitle(), QStringLiteral("About Quillmart 6.0"));
    QCOMPARE(box.findChild<QLabel*>("version")->text(), QStringLiteral("Version 6.0.9"));
    QByteArray description = expectedFile("browser/expected/about_description.txt");
    description.chop(2); // the file's own last line end
    QCOMPARE(box.findChild<QLabel*>("description")->text().toUtf8(), description);
    for (auto* button : box.findChildren<QPushButton*>())
        if (button->text() == "&System Info...")
            button->click();
    QVERIFY(prompts.done());
    if (!started.isEmpty())
        QCOMPARE(launcher.started, QStringList{started});
    QCOMPARE(prompts.shown(), started.isEmpty() ? QStringList{unavailable} : QStringList());
}

QTEST_MAIN(TestAboutBox)
#include "test_about_box.moc"
