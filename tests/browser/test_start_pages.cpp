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

// Every picture, style sheet or linked page of both shipped start pages is
// a file next to them, so they show completely without a network. The
// settings keep a shipped page relative to the folder.
void TestStartPages::pagesWorkOffline() {
    QCOMPARE(StartPages::fromKept("./index.htm"), StartPages::folderUrl() + "index.htm");
    const QDir folder(QUrl(StartPages::folderUrl()).toLocalFile());
    static const QRegularExpression reference(R"((?:src|href)\s*=\s*"([^"#]*))",
                                              QRegularExpression::CaseInsensitiveOption);
    for (const char* page : {"index.htm", "welcome.htm"}) {
        QFile file(folder.filePath(page));
        QVERIFY(file.open(QIODevice::ReadOnly));
        for (auto match = reference.globalMatch(QString::fromUtf8(file.readAll()));
             match.hasNext();) {
            const QString target = match.next().captured(1);
            QVERIFY2(!target.contains(':') && (target.isEmpty() || folder.exists(target)),
                     qPrintable(target));
        }
    }
}

QTEST_GUILESS_MAIN(TestStartPages)
#include "test_start_pages.moc"
