#include "ItemFixture.h"
#include "sitegen/CatalogScript.h"
#include "sitegen/ScriptText.h"
#include "support/ExpectedFile.h"

#include <QJSEngine>
#include <QTest>

Q_DECLARE_METATYPE(SiteInput)

namespace {

SiteInput threeCategories(bool manufacturer, bool descriptionUrl, bool pictureUrl) {
    SiteInput input;
    input.options = {manufacturer, descriptionUrl, pictureUrl, false};
    input.categories = {
        {QStringLiteral("Tools"),
         {item(QStringLiteral("T1^Saw^12.5^saw.jpg^saw.htm^Bosch^3^10^a^")),
          item(QStringLiteral("T2^Drill^.5^drill.jpg^drill.htm^Makita^1.2^0.4^b^"))}},
        {QStringLiteral("Empty"), {}},
        {QStringLiteral("Garden"),
         {item(QStringLiteral("G1^Rake^7^rake.jpg^rake.htm^Fiskars^2^5^c^"))}},
    };
    return input;
}

const QString kTrickyDesc = QStringLiteral("12\" blade, C:\\saw\r\nsecond line</b>");

SiteInput trickyFields(const QString& desc) {
    ItemRecord record = item(QStringLiteral("P\"1^^19.99^^^Müller & Söhne^4^15^tab\there^"));
    record.set(ItemRecord::ItemDesc, desc);
    SiteInput input;
    input.options.manufacturer = true;
    input.categories = {{QStringLiteral("Power Tools"), {record}}, {QStringLiteral("Café"), {}}};
    return input;
}

// Runs the catalog in a fresh engine and returns the value of `expression`.
QJSValue evaluate(QJSEngine& engine, const SiteInput& input, const QString& expression) {
    const QJSValue loaded = engine.evaluate(CatalogScript::write(input));
    if (loaded.isError())
        return loaded;
    return engine.evaluate(expression);
}

} // namespace

class TestCatalogScript : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writesExactText_data();
    void writesExactText();
    void eachOptionAddsItsField_data();
    void eachOptionAddsItsField();
    void moneyFormatInJavaScript_data();
    void moneyFormatInJavaScript();
    void itemsReadBackInJavaScript();
};

void TestCatalogScript::writesExactText_data() {
    QTest::addColumn<SiteInput>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("no categories") << SiteInput{} << "no_categories.js";
    SiteInput tools;
    tools.options.manufacturer = true;
    tools.categories = {
        {QStringLiteral("Tools"), {item(QStringLiteral("A1^Hammer^9.5^^^Acme^2^7^X^"))}}};
    QTest::newRow("tools example") << tools << "tools_example.js";
    QTest::newRow("options off") << threeCategories(false, false, false) << "options_000.js";
    QTest::newRow("options on") << threeCategories(true, true, true) << "options_111.js";
    QTest::newRow("escaped fields") << trickyFields(kTrickyDesc) << "escaping.js";
}

void TestCatalogScript::writesExactText() {
    QFETCH(SiteInput, input);
    QFETCH(QString, expected);
    const QByteArray actual = CatalogScript::write(input).toUtf8();
    const QByteArray wanted = expectedFile(QStringLiteral("sitegen/expected/") + expected);
    QVERIFY2(actual == wanted, firstDifference(actual, wanted).constData());
}

// Between the quantity and the weight, in this order: manufacturer,
// description link, picture.
void TestCatalogScript::eachOptionAddsItsField_data() {
    QTest::addColumn<int>("flags");
    for (const int flags : {1, 2, 4, 3, 5, 6})
        QTest::addRow("options %d", flags) << flags;
}

void TestCatalogScript::eachOptionAddsItsField() {
    QFETCH(int, flags);
    const QString script = CatalogScript::write(threeCategories(flags & 1, flags & 2, flags & 4));
    QString parameters = "itemquantity,";
    QString values = "\"Saw\",12.5,0,";
    const char* const names[][2] = {
        {"itemman", "Bosch"}, {"descURL", "saw.htm"}, {"picURL", "saw.jpg"}};
    for (int i = 0; i < 3; ++i)
        if (flags & (1 << i)) {
            parameters += QString(names[i][0]) + ',';
            values += QStringLiteral("\"%1\",").arg(names[i][1]);
            QVERIFY(script.contains(QStringLiteral("this.%1 = %1\r\n").arg(names[i][0])));
        }
    QVERIFY2(script.contains(parameters + "itemW,wprice,cv){"), qPrintable(script));
    QVERIFY2(script.contains(values + "\"3\",\"10\",\"a\")"), qPrintable(script));
}

void TestCatalogScript::moneyFormatInJavaScript_data() {
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("shown");
    const char* const rows[][3] = {{"zero", "0", "0.00"},
                                   {"five cents", "0.05", "0.05"},
                                   {"ten cents", "0.1", "0.10"},
                                   {"rounds up to next dollar", "12.999", "13.00"},
                                   {"negative", "-2.5", "-2.50"},
                                   {"million", "1e6", "1000000.00"},
                                   {"tiny negative", "-0.001", "0.00"}};
    for (const auto& row : rows)
        QTest::newRow(row[0]) << QString(row[1]) << QString(row[2]);
}

void TestCatalogScript::moneyFormatInJavaScript() {
    QFETCH(QString, amount);
    QFETCH(QString, shown);
    QJSEngine engine;
    const QJSValue result = evaluate(engine, SiteInput{}, "moneyFormat(" + amount + ")");
    QVERIFY2(!result.isError(), qPrintable(result.toString()));
    QCOMPARE(result.toString(), shown);
}

void TestCatalogScript::itemsReadBackInJavaScript() {
    // Every character that needs an escape comes back as the merchant typed it.
    const QString desc = kTrickyDesc + QChar(0x2028) + QChar(0x01) + QStringLiteral("</script>");
    const QString list = ScriptText::identifier(QStringLiteral("Power Tools")) + "List";
    QJSEngine engine;
    const QJSValue result = evaluate(engine, trickyFields(desc), list + "[1]");
    QVERIFY2(!result.isError(), qPrintable(result.toString()));
    QCOMPARE(result.property("itemdesc").toString(), desc);
    QCOMPARE(result.property("itemid").toString(), QStringLiteral("P\"1"));
    QCOMPARE(result.property("itemman").toString(), QStringLiteral("Müller & Söhne"));
    QCOMPARE(result.property("cv").toString(), QStringLiteral("tab\there"));
    QCOMPARE(engine.evaluate(ScriptText::identifier("Café") + "List.length").toInt(), 0);
}

QTEST_GUILESS_MAIN(TestCatalogScript)
#include "test_catalog_script.moc"
