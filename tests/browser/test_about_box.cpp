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
        started << (QStringList{program} + arguments).join(QLatin1Char(' '));
        return !failing;
    }
    QStringList started;
    bool failing = false;
};

// A machine on which exactly the given programs are installed, in /usr/bin.
AboutBox::ProgramFinder installed(const QStringList& programs) {
    return [programs](const QString& name) {
        return programs.contains(name) ? QStringLiteral("/usr/bin/") + name : QString();
    };
}

QString labelText(const AboutBox& box, const QString& name) {
    const auto* label = box.findChild<QLabel*>(name);
    return label ? label->text() : QStringLiteral("<no label %1>").arg(name);
}

QPushButton* button(const AboutBox& box, const QString& caption) {
    for (auto* candidate : box.findChildren<QPushButton*>()) {
        if (candidate->text() == caption)
            return candidate;
    }
    return nullptr;
}

} // namespace

class TestAboutBox : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void showsTheProgramsIdentity();
    void okClosesTheModelessBox();
    void systemInfoStartsTheFirstInstalledProgram_data();
    void systemInfoStartsTheFirstInstalledProgram();
    void systemInfoTellsWhenItCannotStart_data();
    void systemInfoTellsWhenItCannotStart();
};

void TestAboutBox::showsTheProgramsIdentity() {
    RecordingLauncher launcher;
    ScriptedPrompts prompts;
    AboutBox box(launcher, prompts, installed({}));

    QCOMPARE(box.windowTitle(), QStringLiteral("About Quillmart 6.0"));
    QCOMPARE(labelText(box, QStringLiteral("title")), QStringLiteral("Quillmart 6.0"));
    QCOMPARE(labelText(box, QStringLiteral("version")), QStringLiteral("Version 6.0.9"));
    QByteArray expected = expectedFile(QStringLiteral("browser/expected/about_description.txt"));
    expected.chop(2); // the file's own last line end
    const QByteArray shown = labelText(box, QStringLiteral("description")).toUtf8();
    QVERIFY2(shown == expected, firstDifference(shown, expected).constData());
    QVERIFY(labelText(box, QStringLiteral("disclaimer")).contains(QStringLiteral("warranty")));
    QVERIFY(box.findChild<QLabel*>(QStringLiteral("icon"))->pixmap().width() > 0);
}

void TestAboutBox::okClosesTheModelessBox() {
    RecordingLauncher launcher;
    ScriptedPrompts prompts;
    AboutBox box(launcher, prompts, installed({}));
    box.show();
    QVERIFY(!box.isModal());
    QVERIFY(button(box, QStringLiteral("&System Info...")));
    QPushButton* ok = button(box, QStringLiteral("OK"));
    QVERIFY(ok);
    ok->click();
    QVERIFY(!box.isVisible());
}

void TestAboutBox::systemInfoStartsTheFirstInstalledProgram_data() {
    QTest::addColumn<QStringList>("programs");
    QTest::addColumn<QString>("started");
    QTest::newRow("hardinfo") << QStringList{QStringLiteral("hardinfo")}
                              << QStringLiteral("/usr/bin/hardinfo");
    QTest::newRow("GNOME settings opens its overview")
        << QStringList{QStringLiteral("gnome-control-center")}
        << QStringLiteral("/usr/bin/gnome-control-center info-overview");
    QTest::newRow("a dedicated tool before the desktop's settings")
        << QStringList{QStringLiteral("gnome-control-center"), QStringLiteral("hardinfo")}
        << QStringLiteral("/usr/bin/hardinfo");
}

void TestAboutBox::systemInfoStartsTheFirstInstalledProgram() {
    QFETCH(QStringList, programs);
    QFETCH(QString, started);
    RecordingLauncher launcher;
    ScriptedPrompts prompts;
    AboutBox box(launcher, prompts, installed(programs));

    button(box, QStringLiteral("&System Info..."))->click();
    QCOMPARE(launcher.started, QStringList{started});
    QVERIFY(prompts.shown().isEmpty());
}

void TestAboutBox::systemInfoTellsWhenItCannotStart_data() {
    QTest::addColumn<QStringList>("programs");
    QTest::addColumn<bool>("startFails");
    QTest::newRow("none installed") << QStringList{} << false;
    QTest::newRow("installed but does not start")
        << QStringList{QStringLiteral("kinfocenter")} << true;
}

void TestAboutBox::systemInfoTellsWhenItCannotStart() {
    QFETCH(QStringList, programs);
    QFETCH(bool, startFails);
    RecordingLauncher launcher;
    launcher.failing = startFails;
    ScriptedPrompts prompts;
    prompts.expectMessage(QStringLiteral("System Information Is Unavailable At This Time"));
    AboutBox box(launcher, prompts, installed(programs));

    button(box, QStringLiteral("&System Info..."))->click();
    QVERIFY(prompts.done());
    QCOMPARE(prompts.shown(),
             QStringList{QStringLiteral("System Information Is Unavailable At This Time")});
}

QTEST_MAIN(TestAboutBox)
#include "test_about_box.moc"
