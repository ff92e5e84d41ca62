#include "platform/TextFile.h"
#include "project/SettingsFile.h"
#include "project/SiteSettings.h"
#include "support/ExpectedFile.h"

#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(SiteSettings)

namespace {

SiteSettings withoutStartAndTax() {
    SiteSettings s = SiteSettings::defaults();
    s.startFileName.clear();
    s.salesTax.clear();
    return s;
}

SiteSettings withMultiLineFont() {
    SiteSettings s = SiteSettings::defaults();
    s.fontTag = QStringLiteral("<font size='3'\r\nface='Arial' color='#800000'>");
    return s;
}

// Settings that differ from the defaults in every value the file holds,
// and in the ones it does not hold.
SiteSettings otherBase() {
    SiteSettings s;
    s.layout = SiteSettings::Layout::ContentsOnly;
    s.startFileName = QStringLiteral("base-start");
    s.fontTag = QStringLiteral("base-font");
    s.tableTag = QStringLiteral("base-table");
    s.actionCode = QStringLiteral("base-action");
    s.emailFormTag = QStringLiteral("base-mail");
    s.salesTax = QStringLiteral("base-tax");
    s.frontPageServer = QStringLiteral("server");
    s.frontPageUser = QStringLiteral("user");
    s.frontPagePassword = QStringLiteral("secret");
    return s;
}

// `settings` with the values the file does not hold taken from `base`.
SiteSettings keepingUnstored(SiteSettings settings, const SiteSettings& base) {
    settings.layout = base.layout;
    settings.frontPageServer = base.frontPageServer;
    settings.frontPageUser = base.frontPageUser;
    settings.frontPagePassword = base.frontPagePassword;
    return settings;
}

} // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void writesTheSettingsFile_data();
    void writesTheSettingsFile();
    void writingTwiceGivesTheSameBytes();
    void readsWrittenFilesBack_data();
    void readsWrittenFilesBack();
    void readsLfLineEnds();
    void keepsBaseValuesOfMissingSections();
    void unsafeAddressesStayInsideTheirAttribute();
};

void TestSettingsFile::writesTheSettingsFile_data() {
    QTest::addColumn<SiteSettings>("settings");
    QTest::addColumn<QString>("expected");

    QTest::newRow("defaults") << SiteSettings::defaults() << "settings_defaults.sit";
    QTest::newRow("start file and sales tax emptied")
        << withoutStartAndTax() << "settings_no_start_no_tax.sit";
    QTest::newRow("multi-line font tag") << withMultiLineFont() << "settings_multiline_font.sit";
}

void TestSettingsFile::writesTheSettingsFile() {
    QFETCH(SiteSettings, settings);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shop.sit"));
    QCOMPARE(TextFile::writeText(path, SettingsFile::write(settings)), QString());

    const QByteArray actual = fileBytes(path);
    const QByteArray wanted = expectedFile(QStringLiteral("project/expected/") + expected);
    QVERIFY2(actual == wanted, firstDifference(actual, wanted).constData());
}

void TestSettingsFile::writingTwiceGivesTheSameBytes() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shop.sit"));
    const SiteSettings settings = withMultiLineFont();
    QCOMPARE(TextFile::writeText(path, SettingsFile::write(settings)), QString());
    const QByteArray first = fileBytes(path);
    QCOMPARE(TextFile::writeText(path, SettingsFile::write(settings)), QString());
    QCOMPARE(fileBytes(path), first);
}

void TestSettingsFile::readsWrittenFilesBack_data() {
    QTest::addColumn<SiteSettings>("settings");

    SiteSettings allEmpty = SiteSettings::defaults();
    allEmpty.emailFormTag.clear();
    allEmpty.fontTag.clear();
    allEmpty.tableTag.clear();
    allEmpty.startFileName.clear();
    allEmpty.salesTax.clear();
    allEmpty.actionCode.clear();

    SiteSettings edited = SiteSettings::defaults();
    edited.emailFormTag = SiteSettings::emailFormTagFor(QStringLiteral("sales@shop.test"));
    edited.actionCode = QStringLiteral("<form action=\"pay.asp\">");
    edited.startFileName = QStringLiteral("start page");
    edited.salesTax = QStringLiteral("0.07");

    QTest::newRow("defaults") << SiteSettings::defaults();
    QTest::newRow("start file and sales tax emptied") << withoutStartAndTax();
    QTest::newRow("every value emptied") << allEmpty;
    QTest::newRow("multi-line font tag") << withMultiLineFont();
    QTest::newRow("edited values") << edited;
}

void TestSettingsFile::readsWrittenFilesBack() {
    QFETCH(SiteSettings, settings);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shop.sit"));
    QCOMPARE(TextFile::writeText(path, SettingsFile::write(settings)), QString());

    const SiteSettings base = otherBase();
    const SiteSettings read = SettingsFile::read(*TextFile::readText(path), base);
    QCOMPARE(read, keepingUnstored(settings, base));
}

void TestSettingsFile::readsLfLineEnds() {
    const QString lf = QString::fromUtf8(
        expectedFile(QStringLiteral("project/expected/settings_defaults.sit"), false));
    QCOMPARE(SettingsFile::read(lf, SiteSettings()), SiteSettings::defaults());
}

void TestSettingsFile::keepsBaseValuesOfMissingSections() {
    const SiteSettings base = otherBase();
    QCOMPARE(SettingsFile::read(QString(), base), base);
    QCOMPARE(SettingsFile::read(QStringLiteral("no markers\r\nat all\r\n"), base), base);

    // Cut inside the [Tax] section: everything before it is whole, the
    // sales tax and the action code keep their earlier values.
    const QString full = SettingsFile::write(SiteSettings::defaults());
    const QString cut = full.left(full.indexOf(QStringLiteral("[Tax]")) + 9);
    SiteSettings expected = keepingUnstored(SiteSettings::defaults(), base);
    expected.salesTax = base.salesTax;
    expected.actionCode = base.actionCode;
    QCOMPARE(SettingsFile::read(cut, base), expected);

    // A file without its [Table] marker loses the font and table values only.
    QString noTable = full;
    noTable.remove(QStringLiteral("[Table]\r\n"));
    expected = keepingUnstored(SiteSettings::defaults(), base);
    expected.fontTag = base.fontTag;
    expected.tableTag = base.tableTag;
    QCOMPARE(SettingsFile::read(noTable, base), expected);
}

void TestSettingsFile::unsafeAddressesStayInsideTheirAttribute() {
    const QString tag = SiteSettings::emailFormTagFor(QStringLiteral("a\"b<c>&d?e#f%g@shop.test"));
    QVERIFY2(tag.startsWith(QStringLiteral(
                 "<form ACTION=\"mailto:a%22b%3Cc%3E%26d%3Fe%23f%25g@shop.test?subject=Online "
                 "Order\" METHOD=\"POST\"\r\n")),
             qPrintable(tag));

    const QString action = SiteSettings::actionCodeFor(
        QStringLiteral("https://pay.test/t.asp?a=1&b=\"2\""), QStringLiteral("me\"<x>&"));
    QVERIFY2(action.contains(
                 QStringLiteral("action=\"https://pay.test/t.asp?a=1&amp;b=&quot;2&quot;\">\r\n")),
             qPrintable(action));
    QVERIFY2(
        action.endsWith(QStringLiteral("name=\"LOGIN\" value=\"me&quot;&lt;x&gt;&amp;\">\r\n")),
        qPrintable(action));
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "test_settings_file.moc"
