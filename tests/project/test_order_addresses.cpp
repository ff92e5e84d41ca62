#include "store/OrderAddresses.h"
#include "store/OrderTemplates.h"
#include "store/SiteSettings.h"

#include <QtTest>

class TestOrderAddresses : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void defaultsAreExampleAddresses();
    void addressesSurviveTheRoundTrip_data();
    void addressesSurviveTheRoundTrip();
    void handEditedFormsKeepTheirOtherText();
};

void TestOrderAddresses::defaultsAreExampleAddresses() {
    const SiteSettings settings = SiteSettings::defaults();
    QCOMPARE(OrderAddresses::orderEmail(settings.emailFormTag), "orders@example.com");
    QCOMPARE(OrderAddresses::gatewayHost(settings.actionCode), "gateway.example.com");
    QCOMPARE(OrderAddresses::gatewayLogin(settings.actionCode), "tessmark");
    QCOMPARE(OrderAddresses::saveResultsEmail(OrderTemplates::defaults().order1Tail),
             "orders@example.com");
}

void TestOrderAddresses::addressesSurviveTheRoundTrip_data() {
    QTest::addColumn<QString>("address");
    QTest::newRow("plain") << "sales@shop.test";
    QTest::newRow("quote and ampersand") << "a\"b&c@shop.test";
    QTest::newRow("query and fragment marks") << "x?subject=spam#y@shop.test";
    QTest::newRow("markup") << "<b>@shop.test";
    QTest::newRow("empty") << "";
}

// Whatever the merchant types comes back as typed, and never ends the
// attribute it is written into.
void TestOrderAddresses::addressesSurviveTheRoundTrip() {
    QFETCH(QString, address);
    const SiteSettings settings = SiteSettings::defaults();
    const QString tag = OrderAddresses::withOrderEmail(settings.emailFormTag, address);
    QCOMPARE(OrderAddresses::orderEmail(tag), address);
    QVERIFY(tag.contains("?subject=Online Order\" METHOD=\"POST\""));
    QString code = OrderAddresses::withGatewayLogin(settings.actionCode, address);
    code = OrderAddresses::withGatewayHost(code, address);
    QCOMPARE(OrderAddresses::gatewayLogin(code), address);
    QCOMPARE(OrderAddresses::gatewayHost(code), address);
    QCOMPARE(code.count(QLatin1Char('"')), settings.actionCode.count(QLatin1Char('"')));
    const QString tail =
        OrderAddresses::withSaveResultsEmail(OrderTemplates::defaults().order1Tail, address);
    QCOMPARE(OrderAddresses::saveResultsEmail(tail), address);
}

void TestOrderAddresses::handEditedFormsKeepTheirOtherText() {
    const QString tag = QStringLiteral("<form ACTION=\"mailto:old@shop.test?subject=Online Order\" "
                                       "class=\"mine\">\r\n<input type=\"hidden\" name=\"NOTE\">");
    QCOMPARE(OrderAddresses::withOrderEmail(tag, "new@shop.test"),
             QString(tag).replace("old@", "new@"));
    const QString code = QStringLiteral("<form action=\"https://old.test/pay.asp\" id=\"x\">"
                                        "<input name=\"LOGIN\" value=\"me\">");
    QCOMPARE(OrderAddresses::withGatewayHost(code, "new.test"),
             QString(code).replace("old.test", "new.test"));
}

QTEST_GUILESS_MAIN(TestOrderAddresses)
#include "test_order_addresses.moc"
