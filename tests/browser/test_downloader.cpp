#include "support/HttpFixture.h"
#include "web/Downloader.h"

#include <QFile>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

using Response = HttpFixture::Response;
using Delivery = HttpFixture::Delivery;

class TestDownloader : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_folder;
    std::unique_ptr<HttpFixture> m_server;

    static Response page(const QByteArray& body, const QByteArray& contentType = "text/html") {
        Response response;
        response.contentType = contentType;
        response.body = body;
        return response;
    }

    static Response hanging(Delivery delivery) {
        Response response;
        response.delivery = delivery;
        return response;
    }

    QString serve(const QString& path, const Response& response) {
        m_server->setResponse(path, response);
        return m_server->url(path).toString();
    }

    // The state the downloader reports for `url`, once it reports one.
    static int stateAfter(Downloader& downloader, const QString& url) {
        QSignalSpy states(&downloader, &Downloader::stateChanged);
        downloader.execute(url);
        if (!states.wait(10000))
            return 0;
        return states.at(0).at(0).toInt();
    }

private Q_SLOTS:
    void init() {
        QVERIFY(m_folder.isValid());
        m_server = std::make_unique<HttpFixture>(m_folder.path());
        QVERIFY(m_server->start());
    }

    void cleanup() { m_server.reset(); }

    void longBodyIsCutAtTheChunkSizeAndTheTransferAborted_data() {
        QTest::addColumn<QByteArray>("unit");
        QTest::addColumn<QString>("character");
        QTest::newRow("ascii") << QByteArray("a") << QStringLiteral("a");
        QTest::newRow("two-byte utf-8") << QByteArray("\xC3\xA9") << QStringLiteral("\u00e9");
    }

    void longBodyIsCutAtTheChunkSizeAndTheTransferAborted() {
        QFETCH(QByteArray, unit);
        QFETCH(QString, character);
        const QByteArray body = unit.repeated(32 * 1024 * 1024 / unit.size());
        const QString url = serve("big.htm", page(body, "text/html; charset=utf-8"));
        Downloader downloader;
        downloader.setChunkSize(1000);
        QCOMPARE(stateAfter(downloader, url), int(Downloader::ResponseCompleted));
        QCOMPARE(downloader.getChunk(), character.repeated(1000));
        QTRY_COMPARE(m_server->openConnections(), 0);
        QVERIFY(m_server->bodyBytesSent("big.htm") < body.size());
    }

    void shortBodyArrivesWholeAndIsReadOnce() {
        const QString url = serve("short.htm", [] {
            Response response = page("<html>short page</html>");
            response.delayMs = 50;
            return response;
        }());
        Downloader downloader;
        QSignalSpy states(&downloader, &Downloader::stateChanged);
        downloader.execute(url, 32000);
        QVERIFY(downloader.stillExecuting());
        QCOMPARE(downloader.url(), url);
        QVERIFY(states.wait(10000));
        QCOMPARE(states.count(), 1);
        QCOMPARE(states.at(0).at(0).toInt(), int(Downloader::ResponseCompleted));
        QVERIFY(!downloader.stillExecuting());
        QCOMPARE(downloader.url(), url);
        QCOMPARE(downloader.getChunk(), QStringLiteral("<html>short page</html>"));
        QCOMPARE(downloader.getChunk(), QString());
    }

    // Error pages, the server's own for a missing file too, are pages.
    void errorPagesCompleteWithTheirBody_data() {
        QTest::addColumn<int>("status");
        QTest::newRow("500") << 500;
        QTest::newRow("missing file") << 0;
    }

    void errorPagesCompleteWithTheirBody() {
        QFETCH(int, status);
        Response response = page("<HTML>gone</HTML>");
        response.status = status;
        const QString url =
            status ? serve("error.htm", response) : m_server->url("missing.txt").toString();
        Downloader downloader;
        QCOMPARE(stateAfter(downloader, url), int(Downloader::ResponseCompleted));
        QCOMPARE(downloader.getChunk(), status ? "<HTML>gone</HTML>" : "404 Not Found\n");
    }

    void requestsWithoutAResponseFail_data() {
        QTest::addColumn<QString>("failure");
        QTest::newRow("connection refused") << QStringLiteral("refused");
        QTest::newRow("server closes") << QStringLiteral("closes");
        QTest::newRow("server never answers") << QStringLiteral("hangs");
        QTest::newRow("missing local file") << QStringLiteral("missing");
    }

    void requestsWithoutAResponseFail() {
        QFETCH(QString, failure);
        Downloader downloader;
        QString url;
        if (failure == "refused") {
            QTcpServer closedPort;
            QVERIFY(closedPort.listen(QHostAddress::LocalHost));
            url = QStringLiteral("http://127.0.0.1:%1/x.htm").arg(closedPort.serverPort());
        } else if (failure == "closes") {
            url = serve("closing.htm", hanging(Delivery::Fail));
        } else if (failure == "hangs") {
            url = serve("hanging.htm", hanging(Delivery::Hang));
            downloader.setTimeout(300);
        } else {
            url = QUrl::fromLocalFile(m_folder.filePath("no such file.htm")).toString();
        }
        QCOMPARE(stateAfter(downloader, url), int(Downloader::RequestFailed));
        QVERIFY(!downloader.stillExecuting());
        QCOMPARE(downloader.getChunk(), QString());
    }

    // Cancel ends a request quietly, its time-out too; a new execute cancels
    // the running one.
    void cancelAndNewExecuteEndTheRunningRequest() {
        const QString first = serve("hanging.htm", hanging(Delivery::Hang));
        Downloader downloader;
        downloader.setTimeout(100);
        QSignalSpy states(&downloader, &Downloader::stateChanged);
        downloader.execute(first);
        QTRY_COMPARE(m_server->requested().size(), 1);
        downloader.cancel();
        QVERIFY(!downloader.stillExecuting());
        QCOMPARE(downloader.url(), first);
        QTRY_COMPARE(m_server->openConnections(), 0);
        QTest::qWait(300); // past the time-out: it must not fire either
        QCOMPARE(states.count(), 0);

        downloader.execute(first);
        downloader.execute(serve("second.htm", page("second page")));
        QVERIFY(states.wait(10000));
        QCOMPARE(downloader.getChunk(), QStringLiteral("second page"));
        QTRY_COMPARE(m_server->openConnections(), 0);
        QCoreApplication::processEvents();
        QCOMPARE(states.count(), 1);
    }

    void bodyIsDecodedByTheFirstCharsetFound_data() {
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("text");
        QTest::newRow("header utf-8")
            << QByteArray("text/html; charset=utf-8") << QByteArray("caf\xC3\xA9 \xE2\x82\xAC")
            << QStringLiteral("caf\u00e9 \u20ac");
        QTest::newRow("header before meta") << QByteArray("text/html; charset=\"utf-8\"")
                                            << QByteArray("<meta charset=iso-8859-7>\xC3\xA9")
                                            << QStringLiteral("<meta charset=iso-8859-7>\u00e9");
        QTest::newRow("meta charset")
            << QByteArray("text/html") << QByteArray("<html><meta charset=\"utf-8\">\xC3\xA9")
            << QStringLiteral("<html><meta charset=\"utf-8\">\u00e9");
        QTest::newRow("meta http-equiv")
            << QByteArray("text/html")
            << QByteArray("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
                          "charset=ISO-8859-7\">\xE1")
            << QStringLiteral("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
                              "charset=ISO-8859-7\">\u03b1");
        QTest::newRow("unknown header charset, meta")
            << QByteArray("text/html; charset=nonsense")
            << QByteArray("<meta charset=utf-8>\xC3\xA9")
            << QStringLiteral("<meta charset=utf-8>\u00e9");
        QTest::newRow("bom utf-8") << QByteArray("text/html")
                                   << QByteArray("\xEF\xBB\xBF"
                                                 "caf\xC3\xA9")
                                   << QStringLiteral("caf\u00e9");
        QTest::newRow("bom utf-16le") << QByteArray()
                                      << QByteArray("\xFF\xFE"
                                                    "c\0a\0f\0\xE9\0",
                                                    10)
                                      << QStringLiteral("caf\u00e9");
        QTest::newRow("none: windows-1252") << QByteArray("text/html") << QByteArray("price \x80 5")
                                            << QStringLiteral("price \u20ac 5");
    }

    void bodyIsDecodedByTheFirstCharsetFound() {
        QFETCH(QByteArray, contentType);
        QFETCH(QByteArray, body);
        QFETCH(QString, text);
        Downloader downloader;
        QCOMPARE(stateAfter(downloader, serve("page.htm", page(body, contentType))),
                 int(Downloader::ResponseCompleted));
        QCOMPARE(downloader.getChunk(), text);
    }

    void fileUrlIsReadAndCut() {
        QFile file(m_folder.filePath("local page.htm"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<html>\x80 local page</html>");
        file.close();
        const QString url = QUrl::fromLocalFile(file.fileName()).toString();
        Downloader downloader;
        QCOMPARE(stateAfter(downloader, url), int(Downloader::ResponseCompleted));
        QCOMPARE(downloader.getChunk(), QStringLiteral("<html>\u20ac local page</html>"));
        downloader.setChunkSize(7);
        QCOMPARE(stateAfter(downloader, url), int(Downloader::ResponseCompleted));
        QCOMPARE(downloader.getChunk(), QStringLiteral("<html>\u20ac"));
    }
};

QTEST_GUILESS_MAIN(TestDownloader)
#include "test_downloader.moc"
