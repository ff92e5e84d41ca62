#include "support/HttpFixture.h"
#include "web/Downloader.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using Delivery = HttpFixture::Delivery;

class TestDownloader : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_folder;
    std::unique_ptr<HttpFixture> m_server;

    QString serve(const QByteArray& body, const QByteArray& type = "text/html",
                  Delivery delivery = Delivery::Send, int status = 200) {
        HttpFixture::Response response;
        response.contentType = type;
        response.body = body;
        response.delivery = delivery;
        response.status = status;
        m_server->setResponse("page.htm", response);
        return m_server->url("page.htm").toString();
    }

    // The state the downloader reports for `url`, once it reports one.
    static int stateAfter(Downloader& downloader, const QString& url) {
        QSignalSpy states(&downloader, &Downloader::stateChanged);
        downloader.execute(url);
        return states.wait(10000) ? states.at(0).at(0).toInt() : 0;
    }

private Q_SLOTS:
    void init() {
        m_server = std::make_unique<HttpFixture>(m_folder.path());
        QVERIFY(m_server->start());
    }

    void pagesAreDecodedAndCut_data() {
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("text");
        QTest::newRow("header before meta") << QByteArray("text/html; charset=\"utf-8\"")
                                            << QByteArray("<meta charset=iso-8859-7>\xC3\xA9")
                                            << QStringLiteral("<meta charset=iso-8859-7>\u00e9");
        QTest::newRow("unknown header charset, meta")
            << QByteArray("text/html; charset=nonsense")
            << QByteArray("<meta charset=utf-8>\xC3\xA9")
            << QStringLiteral("<meta charset=utf-8>\u00e9");
        QTest::newRow("bom utf-16le") << QByteArray()
                                      << QByteArray("\xFF\xFE"
                                                    "c\0a\0f\0\xE9\0",
                                                    10)
                                      << QStringLiteral("caf\u00e9");
        QTest::newRow("none: windows-1252") << QByteArray("text/html") << QByteArray("price \x80 5")
                                            << QStringLiteral("price \u20ac 5");
        // An error page is a page; a local file is read as well.
        QTest::newRow("500") << QByteArray("500") << QByteArray("<HTML>gone</HTML>")
                             << QStringLiteral("<HTML>gone</HTML>");
        QTest::newRow("local file, cut")
            << QByteArray("file") << QByteArray("<html>\x80 local page</html>")
            << QStringLiteral("<html>\u20ac");
    }

    // The body is decoded by the first charset found, cut at the chunk size
    // in characters and read once.
    void pagesAreDecodedAndCut() {
        QFETCH(QByteArray, contentType);
        QFETCH(QByteArray, body);
        QFETCH(QString, text);
        QString url = serve(body, contentType, Delivery::Send, contentType == "500" ? 500 : 200);
        Downloader downloader;
        if (contentType == "file") {
            QFile file(m_folder.filePath("local page.htm"));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(body) == body.size());
            url = QUrl::fromLocalFile(file.fileName()).toString();
            downloader.setChunkSize(7);
        }
        QCOMPARE(stateAfter(downloader, url), int(Downloader::ResponseCompleted));
        QCOMPARE(downloader.getChunk(), text);
        QCOMPARE(downloader.getChunk(), QString());
    }

    // A long body's transfer ends at the cut, also inside a two-byte character.
    void longBodyIsCutAndTheTransferAborted() {
        const QByteArray body = QByteArray("\xC3\xA9").repeated(16 * 1024 * 1024);
        const QString url = serve(body, "text/html; charset=utf-8");
        Downloader downloader;
        downloader.setChunkSize(1001);
        QCOMPARE(stateAfter(downloader, url), int(Downloader::ResponseCompleted));
        QCOMPARE(downloader.getChunk(), QStringLiteral("\u00e9").repeated(1001));
        QTRY_COMPARE(m_server->openConnections(), 0);
        QVERIFY(m_server->bodyBytesSent("page.htm") < body.size());
    }

    // A page that never answers, and an error without an HTTP status.
    void requestsWithoutAResponseFail_data() {
        QTest::addColumn<bool>("hangs");
        QTest::newRow("hangs") << true;
        QTest::newRow("missing local file") << false;
    }

    void requestsWithoutAResponseFail() {
        QFETCH(bool, hangs);
        Downloader downloader;
        downloader.setTimeout(300);
        const QString url = hangs ? serve({}, {}, Delivery::Hang)
                                  : QUrl::fromLocalFile(m_folder.filePath("none.htm")).toString();
        QCOMPARE(stateAfter(downloader, url), int(Downloader::RequestFailed));
        QVERIFY(!downloader.stillExecuting());
        QCOMPARE(downloader.getChunk(), QString());
    }

    // Cancel ends a request quietly, its time-out too; a new execute cancels
    // the running one.
    void cancelAndNewExecuteEndTheRunningRequest() {
        const QString first = serve({}, {}, Delivery::Hang);
        Downloader downloader;
        downloader.setTimeout(100);
        QSignalSpy states(&downloader, &Downloader::stateChanged);
        downloader.execute(first);
        QTRY_COMPARE(m_server->requested().size(), 1);
        downloader.cancel();
        QVERIFY(!downloader.stillExecuting());
        QTRY_COMPARE(m_server->openConnections(), 0);
        QTest::qWait(300); // past the time-out: it must not fire either
        QCOMPARE(states.count(), 0);
        downloader.execute(first);
        m_server->setResponse("second.htm", {});
        downloader.execute(m_server->url("second.htm").toString());
        QVERIFY(states.wait(10000));
        QTRY_COMPARE(m_server->openConnections(), 0);
        QCoreApplication::processEvents();
        QCOMPARE(states.count(), 1);
        QCOMPARE(downloader.url(), m_server->url("second.htm").toString());
    }
};

QTEST_GUILESS_MAIN(TestDownloader)
#include "test_downloader.moc"
