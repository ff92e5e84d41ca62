// The translation requests: the ten language pairs of the "Translation"
// submenu, the address each one asks the service for, how a page address is
// carried in it, and where the service's address comes from.

#include "translate/LanguagePair.h"
#include "translate/TranslationService.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <QtTest>

class TestTranslationService : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void eachPairAsksForItsTranslation_data();
    void eachPairAsksForItsTranslation();
    void pageAddressReachesTheServiceWhole_data();
    void pageAddressReachesTheServiceWhole();
    void serviceAddressComesFromTheSettings();
};

namespace {
const QString kBase = QStringLiteral("http://translate.example/cgi-bin/translate");
const QString kPage = QStringLiteral("http://www.example.com/");
} // namespace

// The pairs in menu order, each with the request it sends for one page.
void TestTranslationService::eachPairAsksForItsTranslation_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("request");
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"Portuguese to English", "pt_en",
         "http://translate.example/cgi-bin/translate"
         "?urltext=http%3A%2F%2Fwww.example.com%2F&lp=pt_en&doit=done"},
        {"Spanish to English", "es_en",
         "http://translate.example/cgi-bin/translate"
         "?urltext=http%3A%2F%2Fwww.example.com%2F&lp=es_en&doit=done"},
        {"Italian to English", "it_en",
         "http://translate.example/cgi-bin/translate"
         "?urltext=http%3A%2F%2Fwww.example.com%2F&lp=it_en&doit=done"},
        {"German to English", "de_en",
         "http://translate.example/cgi-bin/translate"
         "?urltext=http%3A%2F%2Fwww.example.com%2F&lp=de_en&doit=done"},
        {"French to English", "fr_en",
         "http://translate.example/cgi-bin/translate"
         "?urltext=http%3A%2F%2Fwww.example.com%2F&lp=fr_en&doit=done"},
        {"English to Spanish", "en_es",
         "http://translate.example/cgi-bin/translate"
         "?urltext=http%3A%2F%2Fwww.example.com%2F&lp=en_es&doit=done"},
        {"English to Portuguese", "en_pt",
         "http://translate.example/cgi-bin/translate"
         "?urltext=http%3A%2F%2Fwww.example.com%2F&lp=en_pt&doit=done"},
        {"English to Italian", "en_it",
         "http://translate.example/cgi-bin/translate"
         "?urltext=http%3A%2F%2Fwww.example.com%2F&lp=en_it&doit=done"},
        {"English to German", "en_de",
         "http://translate.example/cgi-bin/translate"
         "?urltext=http%3A%2F%2Fwww.example.com%2F&lp=en_de&doit=done"},
        {"English to French", "en_fr",
         "http://translate.example/cgi-bin/translate"
         "?urltext=http%3A%2F%2Fwww.example.com%2F&lp=en_fr&doit=done"},
    };
    int position = 0;
    for (const auto& [caption, code, request] : rows)
        QTest::newRow(code) << position++ << caption << code << request;
}

void TestTranslationService::eachPairAsksForItsTranslation() {
    QFETCH(int, position);
    QFETCH(QString, caption);
    QFETCH(QString, code);
    QFETCH(QString, request);
    const QList<LanguagePair>& pairs = LanguagePair::all();
    QCOMPARE(pairs.size(), 10);
    const LanguagePair& pair = pairs.at(position);
    QCOMPARE(pair.caption, caption);
    QCOMPARE(pair.item, code);
    QCOMPARE(pair.code, code);
    QCOMPARE(TranslationService(kBase).requestUrl(kPage, pair.code), request);
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
    QCOMPARE(query.queryItemValue("lp"), QStringLiteral("de_en"));
    QCOMPARE(query.queryItems().size(), 3);
}

void TestTranslationService::serviceAddressComesFromTheSettings() {
    QTemporaryDir home;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.path());
    QCOMPARE(TranslationService::configured().base(), kBase);
    {
        QSettings settings("Quillmart", "Quillmart");
        settings.setValue("Startup/TranslationService", "http://127.0.0.1:8080/cgi-bin/translate");
    }
    QCOMPARE(TranslationService::configured().requestUrl(kPage, "fr_en"),
             QStringLiteral("http://127.0.0.1:8080/cgi-bin/translate"
                            "?urltext=http%3A%2F%2Fwww.example.com%2F&lp=fr_en&doit=done"));
}

QTEST_GUILESS_MAIN(TestTranslationService)
#include "test_translation_service.moc"
