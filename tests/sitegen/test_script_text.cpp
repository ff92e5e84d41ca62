#include "text/ScriptText.h"

#include <QTest>

namespace {

void textRow(const char* tag, const QString& text, const QString& expected) {
    QTest::newRow(tag) << text << expected;
}

void textColumns() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
}

} // namespace

class TestScriptText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void identifier_data();
    void identifier();
    void stringBody_data();
    void stringBody();
    void isPrice_data();
    void isPrice();
    void html_data();
    void html();
};

void TestScriptText::identifier_data() {
    textColumns();
    textRow("underscore, dollar, digits", "_a$1", "_a$1");
    textRow("blank", "Power Tools", "Power_x20_Tools");
    textRow("leading digit and blank", "2 go", "_2_x20_go");
    textRow("accented letter", "Café", "Caf_xe9_");
    textRow("outside the BMP", QString::fromUtf8("A\xF0\x9F\x98\x80"), "A_x1f600_");
    textRow("quote and dot", "a\".b", "a_x22__x2e_b");
    textRow("empty", "", "_");
}

void TestScriptText::identifier() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(ScriptText::identifier(text), expected);
}

void TestScriptText::stringBody_data() {
    textColumns();
    textRow("plain", "Hammer, 9.5 & 'co' <b>", "Hammer, 9.5 & 'co' <b>");
    textRow("quote and backslash", "12\" C:\\dir", "12\\\" C:\\\\dir");
    textRow("CR LF", "a\r\nb", "a\\r\\nb");
    textRow("line separators", QString::fromUtf16(u"a\u2028b\u2029c"), "a\\u2028b\\u2029c");
    textRow("other controls", QString::fromUtf16(u"\t\u0001\u007f\u0085"), "\\x09\\x01\\x7f\\x85");
    textRow("closing tag", "</script></b>", "<\\/script><\\/b>");
    textRow("slash alone, non-ASCII kept", "a/b <p/> Müller €", "a/b <p/> Müller €");
    textRow("lone surrogate", QString(QChar(0xD800)), "\\ud800");
}

void TestScriptText::stringBody() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(ScriptText::stringBody(text), expected);
}

void TestScriptText::isPrice_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("price");
    for (const char* good : {"12", "12.5", ".5", "12.", "0", "007.50"})
        QTest::addRow("%s", good) << good << true;
    for (const char* bad :
         {"", " ", " 12", "12 ", ".", "1.2.3", "1,5", "-3", "+3", "abc", "1e3", "$5", "0x1F"})
        QTest::addRow("refused '%s'", bad) << bad << false;
    QTest::newRow("non-ASCII digits") << QString::fromUtf16(u"\u0661\u0662") << false;
}

void TestScriptText::isPrice() {
    QFETCH(QString, text);
    QFETCH(bool, price);
    QCOMPARE(ScriptText::isPrice(text), price);
}

void TestScriptText::html_data() {
    textColumns();
    textRow("plain", "Müller 9.5 / x", "Müller 9.5 / x");
    textRow("ampersand and tags", "Tom & <b>x</b>", "Tom &amp; &lt;b&gt;x&lt;/b&gt;");
    textRow("quotes", "\"a\" 'b'", "&quot;a&quot; &#39;b&#39;");
    textRow("reference stays text", "&amp;", "&amp;amp;");
}

void TestScriptText::html() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(ScriptText::html(text), expected);
}

QTEST_GUILESS_MAIN(TestScriptText)
#include "test_script_text.moc"
