#include "store/NameRules.h"

#include <QTest>

class TestNameRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void judgesNames_data();
    void judgesNames();
    void messageNamesWhatIsChecked();
};

void TestNameRules::judgesNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("plain") << "Hardware" << true;
    QTest::newRow("blanks") << "Garden Tools" << true;
    QTest::newRow("hyphen and digits") << "2nd-hand 99" << true;
    QTest::newRow("accents") << QStringLiteral("Café Müller") << true;
    QTest::newRow("dots inside") << "v1.2" << true;
    QTest::newRow("three dots") << "..." << true;
    QTest::newRow("leading blank") << " shop" << true;

    QTest::newRow("empty") << "" << false;
    QTest::newRow("dot") << "." << false;
    QTest::newRow("dot dot") << ".." << false;
    QTest::newRow("slash") << "a/b" << false;
    QTest::newRow("backslash") << "a\\b" << false;
    QTest::newRow("climbs out") << "../other" << false;
    QTest::newRow("tab") << "a\tb" << false;
    QTest::newRow("line feed") << "shop\n" << false;
    QTest::newRow("nul") << QString(QChar(0)) << false;
    QTest::newRow("delete") << QStringLiteral("a\x7F") << false;
}

void TestNameRules::judgesNames() {
    QFETCH(QString, name);
    QFETCH(bool, accepted);
    QCOMPARE(NameRules::problem(name, QStringLiteral("category")).isEmpty(), accepted);
}

void TestNameRules::messageNamesWhatIsChecked() {
    QCOMPARE(NameRules::problem("..", "project"),
             "The project name must not be empty, must not be \".\" or \"..\", "
             "and must not contain / or \\ or control characters.");
    QVERIFY(NameRules::problem("", "category").startsWith("The category name must not"));
}

QTEST_GUILESS_MAIN(TestNameRules)
#include "test_name_rules.moc"
