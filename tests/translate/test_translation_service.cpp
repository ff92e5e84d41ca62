// The translation requests: the ten language pairs of the "Translation"
// submenu, how a page address is carried in the request, and where the
// service's address comes from.

#include "translate/LanguagePair.h"
#include "translate/TranslationService.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <QtTest>

namespace {
const QString kBase = QStringLiteral("http://translate.example/cgi-bin/translate");
const QString kPageRequest =
    QStringLiteral("?urltext=http%3A%2F%2Fwww.example.com%2F&lp=%1&doit=done");
} // namespace

class TestTranslationService : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pairsInMenuOrder();
    void pageAddressReachesTheServiceWhole_data();
    void pageAddressReachesTheServiceWhole();
    void serviceAddressComesFromTheSettings();
};

void TestTranslationService::pairsInMenuOrder() {
    const QStringList captions = {"Portuguese to English", "Spanish to English",
                                  "Italian to English",    "German to English",
                                  "French to English",     "English to Spanish",
                                  "English to Portuguese", "English to Italian",
                                  "English to German",     "English to French"};
    const QStringList codes = {"pt_en", "es_en", "it_en", "de_en", "fr_en",
                               "en_es", "en_pt", "en_it", "en_de", "en_fr"};
    const QList<LanguagePair>& pairs = LanguagePair::all();
    QCOMPARE(pairs.size(), 10);
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(pairs[i].caption, captions[i]);
        QCOMPARE(pairs[i].item, codes[i]);
        QCOMPARE(pairs[i].code, codes[i]);
    }
    QCOMPARE(TranslationService(kBase).requestUrl("http://www.example.com/", "pt_en"),
             kBase + kPageRequest.arg("pt_en"));
}

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

void TestTranslationService::pageAddressReachesTheServiceWhole() {
    QFETCH(QString, address);
    QFETCH(QString, urltext);
    const QString request = TranslationService(kBase).requestUrl(address, "de_en");
    QCOMPARE(request, kBase + "?urltext=" + urltext + "&lp=de_en&doit=done");
    // What a server reads back out of the query is the page address itself.
    const QUrlQuery query(QUrl(request).query(QUrl::FullyEncoded));
    QCOMPARE(query.queryItemValue("urltext", QUrl::FullyDecoded), address);
    QCOMPARE(query.queryItems().size(), 3);
}

void TestTranslationService::serviceAddressComesFromTheSettings() {
    QTemporaryDir home;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.path());
    QCOMPARE(TranslationService::configured().base(), kBase);
    const QString local = QStringLiteral("http://127.0.0.1:8080/cgi-bin/translate");
    QSettings("Quillmart", "Quillmart").setValue("Startup/TranslationService", local);
    QCOMPARE(TranslationService::configured().requestUrl("http://www.example.com/", "fr_en"),
             local + kPageRequest.arg("fr_en"));
}

QTEST_GUILESS_MAIN(TestTranslationService)
#include "test_translation_service.moc"
