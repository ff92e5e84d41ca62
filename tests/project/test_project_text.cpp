#include "project/SettingsFile.h"
#include "store/ItemRecord.h"
#include "store/NameRules.h"
#include "store/OrderAddresses.h"
#include "store/OrderTemplates.h"
#include "store/SiteSettings.h"
#include "support/ExpectedFile.h"

#include <QTest>

// The texts a project keeps: item record lines, names, the settings file,
// and the addresses inside the order form tags.
namespace {

// Settings that differ from the defaults in every value.
SiteSettings otherBase() {
    SiteSettings s;
    s.layout = SiteSettings::Layout::ContentsOnly;
    s.startFileName = s.fontTag = s.tableTag = s.actionCode = s.emailFormTag = s.salesTax = "base";
    s.frontPageServer = s.frontPageUser = s.frontPagePassword = "unstored";
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

class TestProjectText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsAndWritesItemRecords_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("fields"); // joined by '|'
        QTest::addColumn<bool>("complete");
        QTest::addColumn<QString>("written");
        const auto row = [](const char* tag, const QString& line, const QString& fields,
                            bool complete, const QString& written) {
            QTest::newRow(tag) << line << fields << complete << written;
        };
        row("all fields", "A1^Claw hammer^12.5^a.jpg^http://s.test/a.htm^Acme^1.2^9.75^x^",
            "A1|Claw hammer|12.5|a.jpg|http://s.test/a.htm|Acme|1.2|9.75|x", true,
            "A1^Claw hammer^12.5^a.jpg^http://s.test/a.htm^Acme^1.2^9.75^x^");
        row("text after the ninth caret", "1^2^3^4^5^6^7^8^9^10^", "1|2|3|4|5|6|7|8|9", true,
            "1^2^3^4^5^6^7^8^9^");
        row("eight carets", "1^2^3^4^5^6^7^8^", "1|2|3|4|5|6|7|8|", false, "1^2^3^4^5^6^7^8^^");
        row("byte order mark and accents", "\uFEFFA1^Café", "\uFEFFA1|Café|||||||", false,
            "\uFEFFA1^Café^^^^^^^^");
    }
    void readsAndWritesItemRecords() {
        QFETCH(QString, line);
        QFETCH(QString, fields);
        QFETCH(bool, complete);
        QFETCH(QString, written);
        const ItemRecord record = ItemRecord::fromLine(line);
        QStringList read;
        for (int i = 0; i < ItemRecord::kFieldCount; ++i)
            read << record[ItemRecord::Field(i)].toString();
        QCOMPARE(read.join('|'), fields);
        QCOMPARE(ItemRecord::fromLines(line + "\r\n").value(0), record);
        QCOMPARE(ItemRecord::isComplete(line), complete);
        QCOMPARE(record.toLine(), written);
    }

    void judgesNames() {
        for (const QString good : {"Garden Tools", "Café Müller", "..."})
            QVERIFY2(NameRules::problem(good, "category").isEmpty(), qPrintable(good));
        for (const QString bad : {"", "..", "a/b", "a\\b", "a\tb"})
            QVERIFY2(!NameRules::problem(bad, "category").isEmpty(), qPrintable(bad));
        QCOMPARE(NameRules::problem("..", "project"),
                 "The project name must not be empty, must not be \".\" or \"..\", "
                 "and must not contain / or \\ or control characters.");
    }

    void writesAndReadsTheSettingsFile() {
        SiteSettings emptied = SiteSettings::defaults(), font = emptied, edited = emptied;
        emptied.startFileName.clear();
        emptied.salesTax.clear();
        font.fontTag = "<font size='3'\r\nface='Arial'>";
        edited.emailFormTag = SiteSettings::emailFormTagFor("sales@shop.test");
        edited.actionCode = edited.tableTag = QString();
        const SiteSettings base = otherBase();
        for (const SiteSettings& settings : {SiteSettings::defaults(), emptied, font, edited})
            QCOMPARE(SettingsFile::read(SettingsFile::write(settings), base),
                     keepingUnstored(settings, base));
        const QString expected = "project/expected/settings_";
        QCOMPARE(SettingsFile::write(SiteSettings::defaults()).toUtf8(),
                 expectedFile(expected + "defaults.sit"));
        QCOMPARE(SettingsFile::write(emptied).toUtf8(),
                 expectedFile(expected + "no_start_no_tax.sit"));
    }

    void keepsBaseValuesOfMissingSections() {
        const SiteSettings base = otherBase();
        QCOMPARE(SettingsFile::read("no markers\r\nat all\r\n", base), base);
        // Cut inside the [Tax] section: everything before it is whole.
        const QString full = SettingsFile::write(SiteSettings::defaults());
        SiteSettings expected = keepingUnstored(SiteSettings::defaults(), base);
        expected.salesTax = expected.actionCode = "base";
        QCOMPARE(SettingsFile::read(full.left(full.indexOf("[Tax]") + 9), base), expected);
    }

    // Whatever the merchant types comes back as typed, and never ends the
    // attribute it is written into.
    void addressesStayInsideTheirAttribute() {
        const SiteSettings settings = SiteSettings::defaults();
        const QString tail = OrderTemplates::defaults().order1Tail;
        for (const QString typed : {"a\"b&c@s.test", "x?subject=1#y@s.test"}) {
            const QString tag = OrderAddresses::withOrderEmail(settings.emailFormTag, typed);
            QCOMPARE(OrderAddresses::orderEmail(tag), typed);
            QVERIFY(tag.contains("?subject=Online Order\" METHOD=\"POST\""));
            const QString code = OrderAddresses::withGatewayHost(
                OrderAddresses::withGatewayLogin(settings.actionCode, typed), typed);
            QCOMPARE(OrderAddresses::gatewayLogin(code) + OrderAddresses::gatewayHost(code),
                     typed + typed);
            QCOMPARE(code.count('"'), settings.actionCode.count('"'));
            QCOMPARE(
                OrderAddresses::saveResultsEmail(OrderAddresses::withSaveResultsEmail(tail, typed)),
                typed);
        }
        QVERIFY(SiteSettings::emailFormTagFor("a\"b<c>&d?e#f%g@s.test")
                    .startsWith("<form ACTION=\"mailto:a%22b%3Cc%3E%26d%3Fe%23f%25g@s.test?subject="
                                "Online Order\" METHOD=\"POST\"\r\n"));
        const QString action =
            SiteSettings::actionCodeFor("https://pay.test/t.asp?a=1&b=\"2\"", "me\"<x>&");
        QVERIFY(action.contains("action=\"https://pay.test/t.asp?a=1&amp;b=&quot;2&quot;\">\r\n"));
        QVERIFY(action.endsWith("name=\"LOGIN\" value=\"me&quot;&lt;x&gt;&amp;\">\r\n"));
        QVERIFY(OrderTemplates::order1TailFor("a\" -->").contains(
            "S-Email-Address=\"a&quot; --&gt;\""));
        // A hand-edited tag keeps its other text.
        const QString mine =
            "<form ACTION=\"mailto:old@s.test?subject=Online Order\" class=\"mine\">";
        QCOMPARE(OrderAddresses::withOrderEmail(mine, "new@s.test"),
                 QString(mine).replace("old@", "new@"));
    }
};

QTEST_GUILESS_MAIN(TestProjectText)
#include "test_project_text.moc"
