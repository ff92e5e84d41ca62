#include "sitegen/ScriptText.h"

#include <QTest>

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
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "Tools"
                           << "Tools";
    QTest::newRow("underscore, dollar, digits") << "_a$1"
                                                << "_a$1";
    QTest::newRow("blank") << "Power Tools"
                           << "Power_x20_Tools";
    QTest::newRow("hyphen") << "Hand-Tools"
                            << "Hand_x2d_Tools";
    QTest::newRow("leading digit") << "2nd"
                                   << "_2nd";
    QTest::newRow("leading digit and blank") << "2 go"
                                             << "_2_x20_go";
    QTest::newRow("accented letter") << "Café"
                                     << "Caf_xe9_";
    QTest::newRow("outside the BMP") << QString::fromUtf8("A\xF0\x9F\x98\x80") << "A_x1f600_";
    QTest::newRow("quote and dot") << "a\".b"
                                   << "a_x22__x2e_b";
    QTest::newRow("empty") << ""
                           << "_";
}

void TestScriptText::identifier() {
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(ScriptText::identifier(name), expected);
}

void TestScriptText::stringBody_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "Hammer, 9.5 & 'co' <b>"
                           << "Hammer, 9.5 & 'co' <b>";
    QTest::newRow("quote") << "12\" saw"
                           << "12\\\" saw";
    QTest::newRow("backslash") << "C:\\dir"
                               << "C:\\\\dir";
    QTest::newRow("CR LF") << "a\r\nb"
                           << "a\\r\\nb";
    QTest::newRow("line separators")
        << QString::fromUtf16(u"a\u2028b\u2029c") << "a\\u2028b\\u2029c";
    QTest::newRow("other controls")
        << QString::fromUtf16(u"\t\u0001\u007f\u0085") << "\\x09\\x01\\x7f\\x85";
    QTest::newRow("closing tag") << "</script></b>"
                                 << "<\\/script><\\/b>";
    QTest::newRow("slash alone") << "a/b <p/>"
                                 << "a/b <p/>";
    QTest::newRow("non-ASCII kept") << "Müller €"
                                    << "Müller €";
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << "\\ud800";
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
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "Müller 9.5 / x"
                           << "Müller 9.5 / x";
    QTest::newRow("ampersand") << "Tom & Jerry"
                               << "Tom &amp; Jerry";
    QTest::newRow("tags") << "<b>x</b>"
                          << "&lt;b&gt;x&lt;/b&gt;";
    QTest::newRow("quotes") << "\"a\" 'b'"
                            << "&quot;a&quot; &#39;b&#39;";
    QTest::newRow("reference stays text") << "&amp;"
                                          << "&amp;amp;";
}

void TestScriptText::html() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(ScriptText::html(text), expected);
}

QTEST_GUILESS_MAIN(TestScriptText)
#include "test_script_text.moc"
