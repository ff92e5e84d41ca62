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
    void pageAddressReachesTheServiceWhole();
};

// Without a setting the shipped service is asked; the setting replaces it.
// The page address is carried whole, its own query, plus and percent signs
// included, so that the service reads back the address itself.
void TestTranslationService::pageAddressReachesTheServiceWhole() {
    QTemporaryDir home;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.path());
    QCOMPARE(TranslationService::configured().base(),
             QStringLiteral("http://translate.example/cgi-bin/translate"));
    const QString base = QStringLiteral("http://127.0.0.1:8080/cgi-bin/translate");
    QSettings("Quillmart", "Quillmart").setValue("Startup/TranslationService", base);
    const QString address = QStringLiteral("http://x.example/a+b%20c.cgi?cat=2&page=3");
    const QString request = TranslationService::configured().requestUrl(address, "de_en");
    QCOMPARE(request, base +
                          "?urltext=http%3A%2F%2Fx.example%2Fa%2Bb%2520c.cgi%3Fcat%3D2%26page%3D3"
                          "&lp=de_en&doit=done");
    const QUrlQuery query(QUrl(request).query(QUrl::FullyEncoded));
    QCOMPARE(query.queryItemValue("urltext", QUrl::FullyDecoded), address);
}

QTEST_GUILESS_MAIN(TestTranslationService)
#include "test_translation_service.moc"
