#include "browser/StartPages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>
#include <QUrl>

class TestStartPages : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pagesWorkOffline_data();
    void pagesWorkOffline();
};

void TestStartPages::pagesWorkOffline_data() {
    QTest::addColumn<QString>("page");
    QTest::newRow("index") << QStringLiteral("index.htm");
    QTest::newRow("welcome") << QStringLiteral("welcome.htm");
}

// Both start pages are files of the shipped folder, and every picture, style
// sheet or linked page is a file next to them, so they show completely on a
// machine without a network.
void TestStartPages::pagesWorkOffline() {
    QFETCH(QString, page);
    const QString url = StartPages::folderUrl();
    QVERIFY2(url.startsWith("file:") && url.endsWith("/velgan/"), qPrintable(url));
    QCOMPARE(StartPages::defaultLocation(), url);
    // The settings keep a shipped page relative to the folder.
    QCOMPARE(StartPages::fromKept("./" + page), url + page);
    const QDir folder(QUrl(url).toLocalFile());
    QFile file(folder.filePath(page));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY(text.contains(QStringLiteral("<title>")));

    static const QRegularExpression reference(QStringLiteral(R"((?:src|href)\s*=\s*"([^"#]*))"),
                                              QRegularExpression::CaseInsensitiveOption);
    for (auto match = reference.globalMatch(text); match.hasNext();) {
        const QString target = match.next().captured(1);
        QVERIFY2(!target.contains(':'), qPrintable(target));
        QVERIFY2(target.isEmpty() || QFileInfo::exists(folder.filePath(target)),
                 qPrintable(target));
    }
}

QTEST_GUILESS_MAIN(TestStartPages)
#include "test_start_pages.moc"
