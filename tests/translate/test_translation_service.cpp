// The translation request: how a page address is carried to the service and
// where the service's address comes from.

#include "translate/TranslationService.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <QtTest>

class TestTranslationService : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pageAddressReachesTheServiceWhole_data();
    void pageAddressReachesTheServiceWhole();
};

void TestTranslationService::pageAddressReachesTheServiceWhole_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("urltext");
    QTest::newRow("query and ampersand")
        << "http://shop.example/list.cgi?cat=2&page=3"
        << "http%3A%2F%2Fshop.example%2Flist.cgi%3Fcat%3D2%26page%3D3";
    QTest::newRow("blanks and fragment") << "http://shop.example/my page.htm#top"
                                         << "http%3A%2F%2Fshop.example%2Fmy%20page.htm%23top";
    QTest::newRow("plus and percent") << "http://x.example/a+b%20c"
                                      << "http%3A%2F%2Fx.example%2Fa%2Bb%2520c";
    QTest::newRow("empty box") << ""
                               << "";
}

// Without a setting the shipped service is asked; the setting replaces it.
void TestTranslationService::pageAddressReachesTheServiceWhole() {
    QFETCH(QString, address);
    QFETCH(QString, urltext);
    QTemporaryDir home;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.path());
    QCOMPARE(TranslationService::configured().base(),
             QStringLiteral("http://translate.example/cgi-bin/translate"));
    const QString base = QStringLiteral("http://127.0.0.1:8080/cgi-bin/translate");
    QSettings("Quillmart", "Quillmart").setValue("Startup/TranslationService", base);
    const QString request = TranslationService::configured().requestUrl(address, "de_en");
    QCOMPARE(request, base + "?urltext=" + urltext + "&lp=de_en&doit=done");
    // What a server reads back out of the query is the page address itself.
    const QUrlQuery query(QUrl(request).query(QUrl::FullyEncoded));
    QCOMPARE(query.queryItemValue("urltext", QUrl::FullyDecoded), address);
    QCOMPARE(query.queryItems().size(), 3);
}

QTEST_GUILESS_MAIN(TestTranslationService)
#include "test_translation_service.moc"
