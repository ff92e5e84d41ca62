#include "browser/StartPages.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>
#include <QUrl>

class TestStartPages : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pagesWorkOffline();
};

// Both start pages are files of the shipped folder, and every picture, style
// sheet or linked page is a file next to them, so they show completely on a
// machine without a network. The settings keep a shipped page relative to
// the folder.
void TestStartPages::pagesWorkOffline() {
    const QString url = StartPages::folderUrl();
    QVERIFY2(url.startsWith("file:") && url.endsWith("/velgan/"), qPrintable(url));
    QCOMPARE(StartPages::fromKept("./index.htm"), url + "index.htm");
    const QDir folder(QUrl(url).toLocalFile());
    static const QRegularExpression reference(R"((?:src|href)\s*=\s*"([^"#]*))",
                                              QRegularExpression::CaseInsensitiveOption);
    for (const char* page : {"index.htm", "welcome.htm"}) {
        QFile file(folder.filePath(page));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        QVERIFY(text.contains("<title>"));
        for (auto match = reference.globalMatch(text); match.hasNext();) {
            const QString target = match.next().captured(1);
            QVERIFY2(!target.contains(':') && (target.isEmpty() || folder.exists(target)),
                     qPrintable(target));
        }
    }
}

QTEST_GUILESS_MAIN(TestStartPages)
#include "test_start_pages.moc"
