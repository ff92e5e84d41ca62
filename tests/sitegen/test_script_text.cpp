#include "text/ScriptText.h"

#include <QTest>

class TestScriptText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void convertsText_data() {
        QTest::addColumn<char>("kind"); // i: identifier, s: string body, h: HTML, p: price
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        const auto row = [](char kind, const char* tag, const QString& text, const QString& out) {
            QTest::addRow("%c %s", kind, tag) << kind << text << out;
        };
        row('i', "leading digit, blank", "2 go", "_2_x20_go");
        row('i', "accent", "Café", "Caf_xe9_");
        row('i', "outside the BMP", QString::fromUtf8("A\xF0\x9F\x98\x80"), "A_x1f600_");
        row('i', "quote and dot", "a\".b", "a_x22__x2e_b");
        row('s', "plain", "Hammer, 9.5 & 'co' <b> a/b Müller €",
            "Hammer, 9.5 & 'co' <b> a/b Müller €");
        row('s', "quote and backslash", "12\" C:\\dir", "12\\\" C:\\\\dir");
        row('s', "CR LF", "a\r\nb", "a\\r\\nb");
        row('s', "controls", QString::fromUtf16(u"\t\u0001\u007f\u0085"), "\\x09\\x01\\x7f\\x85");
        row('s', "closing tag", "</script></b>", "<\\/script><\\/b>");
        row('h', "tags and ampersand", "Tom & <b>x</b>", "Tom &amp; &lt;b&gt;x&lt;/b&gt;");
        row('h', "quotes, reference", "\"a\" 'b' &amp;", "&quot;a&quot; &#39;b&#39; &amp;amp;");
        for (const char* good : {"12.5", ".5", "12."})
            row('p', good, good, "yes");
        for (const char* bad : {"", "12 ", ".", "1.2.3", "1,5", "-3"})
            row('p', bad, bad, "no");
    }
    void convertsText() {
        QFETCH(char, kind);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const QString out = kind == 'i'                 ? ScriptText::identifier(text)
                            : kind == 's'               ? ScriptText::stringBody(text)
                            : kind == 'h'               ? ScriptText::html(text)
                            : ScriptText::isPrice(text) ? "yes"
                                                        : "no";
        QCOMPARE(out, expected);
    }
};

QTEST_GUILESS_MAIN(TestScriptText)
#include "test_script_text.moc"
