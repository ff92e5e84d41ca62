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
    record[ItemRecord::ItemDesc] = desc;
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
    for (const char* flags : {"000", "100", "010", "001", "110", "101", "011", "111"}) {
        const auto on = [&](int i) { return flags[i] == '1'; };
        QTest::addRow("options %s", flags)
            << threeCategories(on(0), on(1), on(2)) << QStringLiteral("options_%1.js").arg(flags);
    }
    QTest::newRow("escaped fields") << trickyFields(kTrickyDesc) << "escaping.js";
}

void TestCatalogScript::writesExactText() {
    QFETCH(SiteInput, input);
    QFETCH(QString, expected);
    const QByteArray actual = CatalogScript::write(input).toUtf8();
    const QByteArray wanted = expectedFile(QStringLiteral("sitegen/expected/") + expected);
    QVERIFY2(actual == wanted, firstDifference(actual, wanted).constData());
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
