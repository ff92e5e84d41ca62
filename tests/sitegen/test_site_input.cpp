#include "ItemFixture.h"
#include "sitegen/SiteInput.h"

#include <QTest>

class TestSiteInput : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void badPrices();
    void badAddresses();
};

void TestSiteInput::badPrices() {
    SiteInput input;
    input.categories = {
        {QStringLiteral("Tools"),
         {item(QStringLiteral("A1^Hammer^9.5^^^^^^^")), item(QStringLiteral("A2^Saw^^^^^^^^")),
          item(QStringLiteral("^Nails^1,5^^^^^^^")), item(QStringLiteral("A4^Glue^.5^^^^^^^"))}},
        {QStringLiteral("Empty"), {}},
        {QStringLiteral("Power Tools"),
         {item(QStringLiteral("P1^Drill^-3^^^^^^^")), item(QStringLiteral("P2^Vice^12 ^^^^^^^"))}},
    };
    QCOMPARE(input.badPrices(), QStringList({
                                    QStringLiteral("Tools, item A2: price \"\""),
                                    QStringLiteral("Tools, item (no ID): price \"1,5\""),
                                    QStringLiteral("Power Tools, item P1: price \"-3\""),
                                    QStringLiteral("Power Tools, item P2: price \"12 \""),
                                }));

    input.categories.removeLast();
    input.categories.first().items = {item(QStringLiteral("A1^Hammer^9.5^^^^^^^"))};
    QVERIFY(input.badPrices().isEmpty());
}

// Hand-edited item files may hold addresses the window's "Add" refuses.
void TestSiteInput::badAddresses() {
    SiteInput input;
    input.categories = {
        {QStringLiteral("Hats"),
         {item(QStringLiteral("H1^Straw^9^http://p.test/h1.jpg^http://p.test/h1.htm^^^^^")),
          item(QStringLiteral("H2^Cap^9^http://p.test/h2.jpg' onload='x^^^^^^")),
          item(QStringLiteral("^Beret^9^^<b>about</b>^^^^^")),
          item(QStringLiteral("H4^Fez^9^\"q.jpg^\tx.htm^^^^^"))}}};
    QCOMPARE(input.badAddresses(),
             QStringList({
                 QStringLiteral("Hats, item H2: picture \"http://p.test/h2.jpg' onload='x\", "
                                "description \"\""),
                 QStringLiteral("Hats, item (no ID): picture \"\", description \"<b>about</b>\""),
                 QStringLiteral("Hats, item H4: picture \"\"q.jpg\", description \"\tx.htm\""),
             }));
}

QTEST_GUILESS_MAIN(TestSiteInput)
#include "test_site_input.moc"
