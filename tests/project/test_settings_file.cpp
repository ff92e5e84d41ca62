#include "platform/TextFile.h"
#include "project/SettingsFile.h"
#include "store/SiteSettings.h"
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

// Settings that differ from the defaults in every value, stored in the
// file or not.
SiteSettings otherBase() {
    SiteSettings s;
    s.layout = SiteSettings::Layout::ContentsOnly;
    s.startFileName = "base-start";
    s.fontTag = "base-font";
    s.tableTag = "base-table";
    s.actionCode = "base-action";
    s.emailFormTag = "base-mail";
    s.salesTax = "base-tax";
    s.frontPageServer = s.frontPageUser = s.frontPagePassword = QStringLiteral("unstored");
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
    void writesAndReadsTheSettingsFile_data();
    void writesAndReadsTheSettingsFile();
    void readsLfLineEnds();
    void keepsBaseValuesOfMissingSections();
    void unsafeAddressesStayInsideTheirAttribute();
};

void TestSettingsFile::writesAndReadsTheSettingsFile_data() {
    QTest::addColumn<SiteSettings>("settings");
    QTest::addColumn<QString>("expected"); // empty: no expected file

    SiteSettings edited = SiteSettings::defaults();
    edited.emailFormTag = SiteSettings::emailFormTagFor("sales@shop.test");
    edited.actionCode = QString();
    edited.tableTag = QString();
    edited.startFileName = "start page";

    QTest::newRow("defaults") << SiteSettings::defaults() << "settings_defaults.sit";
    QTest::newRow("start file and sales tax emptied")
        << withoutStartAndTax() << "settings_no_start_no_tax.sit";
    QTest::newRow("multi-line font tag") << withMultiLineFont() << "settings_multiline_font.sit";
    QTest::newRow("edited values") << edited << QString();
}

void TestSettingsFile::writesAndReadsTheSettingsFile() {
    QFETCH(SiteSettings, settings);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath("shop.sit");
    QCOMPARE(TextFile::writeText(path, SettingsFile::write(settings)), QString());
    if (!expected.isEmpty()) {
        const QByteArray actual = fileBytes(path);
        const QByteArray wanted = expectedFile("project/expected/" + expected);
        QVERIFY2(actual == wanted, firstDifference(actual, wanted).constData());
    }
    const SiteSettings base = otherBase();
    QCOMPARE(SettingsFile::read(*TextFile::readText(path), base), keepingUnstored(settings, base));
}

void TestSettingsFile::readsLfLineEnds() {
    const QString lf =
        QString::fromUtf8(expectedFile("project/expected/settings_defaults.sit", false));
    QCOMPARE(SettingsFile::read(lf, SiteSettings()), SiteSettings::defaults());
}

void TestSettingsFile::keepsBaseValuesOfMissingSections() {
    const SiteSettings base = otherBase();
    QCOMPARE(SettingsFile::read(QString(), base), base);
    QCOMPARE(SettingsFile::read("no markers\r\nat all\r\n", base), base);

    // Cut inside the [Tax] section: everything before it is whole, the
    // sales tax and the action code keep their earlier values.
    const QString full = SettingsFile::write(SiteSettings::defaults());
    SiteSettings expected = keepingUnstored(SiteSettings::defaults(), base);
    expected.salesTax = base.salesTax;
    expected.actionCode = base.actionCode;
    QCOMPARE(SettingsFile::read(full.left(full.indexOf("[Tax]") + 9), base), expected);

    // A file without its [Table] marker loses the font and table values only.
    expected = keepingUnstored(SiteSettings::defaults(), base);
    expected.fontTag = base.fontTag;
    expected.tableTag = base.tableTag;
    QCOMPARE(SettingsFile::read(QString(full).remove("[Table]\r\n"), base), expected);
}

void TestSettingsFile::unsafeAddressesStayInsideTheirAttribute() {
    const QString tag = SiteSettings::emailFormTagFor("a\"b<c>&d?e#f%g@shop.test");
    QVERIFY2(tag.startsWith("<form ACTION=\"mailto:a%22b%3Cc%3E%26d%3Fe%23f%25g@shop.test?subject="
                            "Online Order\" METHOD=\"POST\"\r\n"),
             qPrintable(tag));
    const QString action =
        SiteSettings::actionCodeFor("https://pay.test/t.asp?a=1&b=\"2\"", "me\"<x>&");
    QVERIFY2(action.contains("action=\"https://pay.test/t.asp?a=1&amp;b=&quot;2&quot;\">\r\n"),
             qPrintable(action));
    QVERIFY2(action.endsWith("name=\"LOGIN\" value=\"me&quot;&lt;x&gt;&amp;\">\r\n"),
             qPrintable(action));
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "test_settings_file.moc"
