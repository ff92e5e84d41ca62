#include "browser/ui/AboutBox.h"
#include "platform/Launcher.h"
#include "support/ExpectedFile.h"
#include "support/ScriptedPrompts.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

const QString kUnavailable = QStringLiteral("System Information Is Unavailable At This Time");

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
    for (auto* candidate : box.findChildren<QPushButton*>())
        if (candidate->text() == caption)
            return candidate;
    return nullptr;
}

} // namespace

class TestAboutBox : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void showsTheProgramsIdentityAndOkCloses();
    void systemInfo_data();
    void systemInfo();
};

void TestAboutBox::showsTheProgramsIdentityAndOkCloses() {
    RecordingLauncher launcher;
    ScriptedPrompts prompts;
    AboutBox box(launcher, prompts, installed({}));
    QCOMPARE(box.windowTitle(), QStringLiteral("About Quillmart 6.0"));
    QCOMPARE(labelText(box, "title"), QStringLiteral("Quillmart 6.0"));
    QCOMPARE(labelText(box, "version"), QStringLiteral("Version 6.0.9"));
    QByteArray expected = expectedFile(QStringLiteral("browser/expected/about_description.txt"));
    expected.chop(2); // the file's own last line end
    const QByteArray shown = labelText(box, "description").toUtf8();
    QVERIFY2(shown == expected, firstDifference(shown, expected).constData());
    QVERIFY(labelText(box, "disclaimer").contains(QStringLiteral("warranty")));
    QVERIFY(box.findChild<QLabel*>("icon")->pixmap().width() > 0);

    box.show();
    QVERIFY(!box.isModal());
    button(box, "OK")->click();
    QVERIFY(!box.isVisible());
}

void TestAboutBox::systemInfo_data() {
    QTest::addColumn<QStringList>("programs");
    QTest::addColumn<bool>("startFails");
    QTest::addColumn<QString>("started"); // empty: the box tells it cannot start one
    QTest::newRow("hardinfo") << QStringList{"hardinfo"} << false << "/usr/bin/hardinfo";
    QTest::newRow("GNOME settings opens its overview")
        << QStringList{"gnome-control-center"} << false
        << "/usr/bin/gnome-control-center info-overview";
    QTest::newRow("a dedicated tool before the desktop's settings")
        << QStringList{"gnome-control-center", "hardinfo"} << false << "/usr/bin/hardinfo";
    QTest::newRow("none installed") << QStringList{} << false << QString();
    QTest::newRow("installed but does not start")
        << QStringList{"kinfocenter"} << true << QString();
}

void TestAboutBox::systemInfo() {
    QFETCH(QStringList, programs);
    QFETCH(bool, startFails);
    QFETCH(QString, started);
    RecordingLauncher launcher;
    launcher.failing = startFails;
    ScriptedPrompts prompts;
    if (started.isEmpty())
        prompts.expectMessage(kUnavailable);
    AboutBox box(launcher, prompts, installed(programs));
    button(box, "&System Info...")->click();
    QVERIFY(prompts.done());
    if (!started.isEmpty())
        QCOMPARE(launcher.started, QStringList{started});
    QCOMPARE(prompts.shown(), started.isEmpty() ? QStringList{kUnavailable} : QStringList());
}

QTEST_MAIN(TestAboutBox)
#include "test_about_box.moc"
