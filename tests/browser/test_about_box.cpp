#include "browser/ui/AboutBox.h"
#include "platform/Launcher.h"
#include "support/ExpectedFile.h"
#include "support/ScriptedPrompts.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

// Remembers each program it is asked to start.
class RecordingLauncher : public Launcher {
public:
    bool start(const QString& program, const QStringList& arguments) override {
        started << (QStringList{program} + arguments).join(' ');
        return true;
    }
    QStringList started;
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
    QTest::addColumn<QString>("started"); // empty: the box tells it cannot start one
    QTest::newRow("GNOME settings opens its overview")
        << QStringList{"gnome-control-center"} << "/usr/bin/gnome-control-center info-overview";
    QTest::newRow("a dedicated tool before the desktop's settings")
        << QStringList{"gnome-control-center", "hardinfo"} << "/usr/bin/hardinfo";
    QTest::newRow("none installed") << QStringList{} << QString();
}

// The box names the program and its version; "System Info..." starts the
// first system information program installed, or says none can be started.
void TestAboutBox::systemInfo() {
    QFETCH(QStringList, programs);
    QFETCH(QString, started);
    RecordingLauncher launcher;
    ScriptedPrompts prompts;
    if (started.isEmpty())
        prompts.expectMessage("System Information Is Unavailable At This Time");
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
    QCOMPARE(launcher.started, started.isEmpty() ? QStringList() : QStringList{started});
}

QTEST_MAIN(TestAboutBox)
#include "test_about_box.moc"
