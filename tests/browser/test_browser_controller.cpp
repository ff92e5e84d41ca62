// The browser's controller: its lists and address history, the views it
// follows, the addresses it opens; the shipped start pages; the translation
// request; and the downloader against a local web server.

#include "browser/BrowserController.h"
#include "browser/StartPages.h"
#include "files/TextFile.h"
#include "harvest/DocumentSnapshot.h"
#include "settings/StartupSettings.h"
#include "support/ExpectedFile.h"
#include "support/HttpFixture.h"
#include "support/RecordingLauncher.h"
#include "translate/TranslationService.h"
#include "web/BodyText.h"
#include "web/Downloader.h"

#include <QtTest>

using namespace Qt::StringLiterals;
using View = BrowserController::View;
using Delivery = HttpFixture::Delivery;

namespace {

QStringList numbered(int count) {
    QStringList items;
    for (int i = 1; i <= count; ++i)
        items.append("u" + QString::number(i));
    return items;
}

// The state the downloader reports for `url`, once it reports one.
int stateAfter(Downloader& downloader, const QString& url) {
    QSignalSpy states(&downloader, &Downloader::stateChanged);
    downloader.execute(url);
    return states.wait(10000) ? states.at(0).at(0).toInt() : 0;
}

} // namespace

class TestBrowserController : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // All lists but the featured pages' drop repeated lines; the address list
    // keeps 20 items, a further line replacing the 20th. At exit every list is
    // written whole, empty lines left out, and pictures that are no web
    // addresses are written as text.
    void listsAndAddresses() {
        const QStringList dup = {"a.com", "b.com", "a.com", "A.com", "", ""};
        for (const char* file :
             {"domain.prv", "domain2.prv", "favor.prv", "favor2.prv", "list6.prv"})
            QVERIFY(TextFile::writeLines(m_home.filePath(file), dup).ok());
        QVERIFY(TextFile::writeLines(m_home.filePath("lb.prv"), numbered(22)).ok());
        BrowserController c(m_home.path(), m_launcher, m_settings);
        c.startUp();
        for (const auto list : {ZoneSession::PrivateHistory, ZoneSession::PublicHistory,
                                ZoneSession::PrivateFavourites, ZoneSession::PublicFavourites})
            QCOMPARE(c.zone().entries(list), QStringList({"a.com", "b.com", "A.com", ""}));
        QCOMPARE(c.addressItems(), numbered(19) + QStringList{"u22"});
        QCOMPARE(c.statusText(2), QStringLiteral("Public zone"));

        c.pictureBuffer = {"http://pics.example/a.gif", "file:///tmp/b c.jpg"};
        c.shutDown();
        QCOMPARE(fileBytes(m_home.filePath("domain.prv")),
                 QByteArray("a.com\r\nb.com\r\nA.com\r\n"));
        QCOMPARE(fileBytes(m_home.filePath("list6.prv")),
                 QByteArray("a.com\r\nb.com\r\na.com\r\nA.com\r\n"));
        QCOMPARE(fileBytes(m_home.filePath("error.htm")),
                 expectedFile("browser/expected/error.htm"));
    }

    // At 19 addresses, a new one, a known one and the oldest: the entered
    // address loads in the shown view, and the next start shows the same
    // address history.
    void enterAddress() {
        const QStringList before = numbered(19);
        for (const auto& [text, expected] :
             {std::pair<QString, QStringList>{"new.com", before.mid(1) + QStringList{"new.com"}},
              {"u5", before.mid(1)},
              {"u1", before.mid(1) + QStringList{"u1"}}}) {
            QVERIFY(TextFile::writeLines(m_home.filePath("lb.prv"), before).ok());
            BrowserController c(m_home.path(), m_launcher, m_settings);
            c.startUp();
            QSignalSpy navigation(&c, &BrowserController::navigateRequested);
            c.setAddressText(text);
            c.enterAddress();
            QCOMPARE(navigation.first(), QVariantList({0, text}));
            c.shutDown();
            QCOMPARE(TextFile::readLines(m_home.filePath("lb.prv")).value_or(QStringList{}),
                     expected);
        }
    }

    // The address box and caption follow the shown view; the hidden view's
    // page does not name the window. Navigations go to the shown view. While
    // translating, only the translation's view finishing ends it and is shown;
    // a page the shown view finishes meanwhile is no translation.
    void viewsAndCaption() {
        BrowserController c(m_home.path(), m_launcher, m_settings);
        c.setLocations("http://one.test/velgan/", "http://two.test/velgan/");
        c.navigationComplete(View::View1, "http://one.test/", "One");
        c.navigationComplete(View::View2, "http://two.test/", "Two");
        QCOMPARE(c.addressText(), QStringLiteral("http://one.test/"));
        QCOMPARE(c.statusText(1), QStringLiteral("Working..."));
        c.downloadComplete(View::View1, "One again");
        c.downloadComplete(View::View2, "Two hidden");
        QCOMPARE(c.caption(), QStringLiteral("One again"));
        QCOMPARE(c.statusText(1), QStringLiteral("Done"));
        QSignalSpy navigation(&c, &BrowserController::navigateRequested);
        c.switchViews();
        QCOMPARE(c.addressText(), QStringLiteral("http://two.test/"));
        QCOMPARE(c.caption(), QStringLiteral("Browser 2"));
        c.goHome();
        c.goBackInView1();
        QCOMPARE(navigation.size(), 1);
        QCOMPARE(navigation.first(), QVariantList({1, "http://two.test/velgan/"}));
        c.translating = true;
        c.translationView = View::View1;
        c.navigationComplete(View::View2, "http://two.test/b.htm", "B");
        QVERIFY(c.translating && c.isShown(View::View2));
        c.navigationComplete(View::View1, "http://translate.test/?urltext=b", "T");
        QVERIFY(!c.translating && c.isShown(View::View1));
        QCOMPARE(c.statusText(1), QStringLiteral("Translation is done"));
    }

    // A harvested list opens web pages only. The collectors and the history
    // hear of pages the user browsed, local ones too; the program's own report
    // pages and the engine's error pages are not such.
    void onlyWebPagesOpen() {
        BrowserController c(m_home.path(), m_launcher, m_settings);
        QSignalSpy navigation(&c, &BrowserController::navigateRequested);
        QVERIFY(c.openHarvested("http://a.test/p.htm") && c.statusText(1).isEmpty());
        QVERIFY(!c.openHarvested(" JavaScript:void 0") && navigation.size() == 1);
        QCOMPARE(c.statusText(1), "Not opened: only web pages (http, https, ftp) open from a "
                                  "harvested list, not \" JavaScript:void 0\"");
        QSignalSpy arrived(&c, &BrowserController::documentArrived);
        DocumentSnapshot document;
        for (const QString& page :
             {QUrl::fromLocalFile("/tmp/x/report-abcdef.htm").toString(),
              QString("chrome-error://chromewebdata/"),
              QUrl::fromLocalFile(m_home.filePath("report-Ab3xYz.htm")).toString()}) {
            document.url = page;
            c.documentRead(View::View1, document);
        }
        QCOMPARE(arrived.size(), 1);
    }

    // Every picture, style sheet or linked page of both shipped start pages is
    // a file next to them, so they show completely without a network. The
    // settings keep a shipped page relative to the folder.
    void startPagesWorkOffline() {
        QCOMPARE(StartPages::fromKept("./index.htm"), StartPages::folderUrl() + "index.htm");
        const QDir folder(QUrl(StartPages::folderUrl()).toLocalFile());
        static const QRegularExpression reference("(?:src|href)\\s*=\\s*\"([^\"#]*)",
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

    // The page address is carried whole, its own query, plus and percent
    // signs included, so that the service reads back the address itself.
    void pageAddressReachesTheTranslationWhole() {
        const QString base = QStringLiteral("http://127.0.0.1:8080/cgi-bin/translate");
        QCOMPARE(TranslationService(base).requestUrl("http://x.example/a+b%20c.cgi?cat=2&page=3",
                                                     "de_en"),
                 base + "?urltext=http%3A%2F%2Fx.example%2Fa%2Bb%2520c.cgi%3Fcat%3D2%26page%3D3"
                        "&lp=de_en&doit=done");
    }

    void init() {
        m_server = std::make_unique<HttpFixture>(m_home.path());
        QVERIFY(m_server->start());
    }

    // The body is decoded by the first charset found (the header before a
    // META, a META after an unknown header charset, a byte order mark, else
    // Windows-1252), cut at the chunk size in characters and read once. An
    // error page is a page; a local file is read as well.
    void pagesAreDecodedAndCut() {
        for (const auto& [contentType, body, text] :
             {std::tuple<QByteArray, QByteArray, QString>{"text/html; charset=\"utf-8\"",
                                                          "<meta charset=iso-8859-7>\xC3\xA9",
                                                          u"<meta charset=iso-8859-7>\u00e9"_s},
              {"text/html; charset=nonsense", "<meta charset=utf-8>\xC3\xA9",
               u"<meta charset=utf-8>\u00e9"_s},
              {{}, QByteArray::fromHex("FFFE630061006600E900"), u"caf\u00e9"_s},
              {"500", "<HTML>gone</HTML>", u"<HTML>gone</HTML>"_s},
              {"file", "<html>\x80 local page</html>", u"<html>\u20ac"_s}}) {
            QString url =
                serve(body, contentType, Delivery::Send, contentType == "500" ? 500 : 200);
            Downloader downloader;
            if (contentType == "file") {
                writeBytes(m_home.filePath("local page.htm"), body);
                url = QUrl::fromLocalFile(m_home.filePath("local page.htm")).toString();
                downloader.setChunkSize(7);
            }
            QCOMPARE(stateAfter(downloader, url), int(Downloader::ResponseCompleted));
            QCOMPARE(downloader.getChunk(), text);
            QCOMPARE(downloader.getChunk(), QString());
        }
    }

    // A body's text does not depend on how the network cut it: an invalid
    // UTF-8 sequence cut by a piece's end takes no character after it along.
    void bodyTextIsTheSameHoweverItArrives() {
        BodyText inPieces("text/html; charset=utf-8");
        for (const QByteArray& piece :
             {QByteArray("caf\xC3"), QByteArray("caf\xE2"), QByteArray("p")}) {
            inPieces.append(piece);
            inPieces.update(false);
        }
        inPieces.update(true);
        QCOMPARE(inPieces.text(), u"caf\uFFFDcaf\uFFFDp"_s);
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
    void requestsWithoutAResponseFail() {
        for (const QString& url : {serve({}, {}, Delivery::Hang),
                                   QUrl::fromLocalFile(m_home.filePath("none.htm")).toString()}) {
            Downloader downloader;
            downloader.setTimeout(300);
            QCOMPARE(stateAfter(downloader, url), int(Downloader::RequestFailed));
            QVERIFY(!downloader.stillExecuting() && downloader.getChunk().isEmpty());
        }
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
        const QString second = m_server->serve("second.htm", {});
        downloader.execute(second);
        QVERIFY(states.wait(10000));
        QTRY_COMPARE(m_server->openConnections(), 0);
        QCoreApplication::processEvents();
        QCOMPARE(states.count(), 1);
        QCOMPARE(downloader.url(), second);
    }

private:
    QString serve(const QByteArray& body, const QByteArray& type = "text/html",
                  Delivery delivery = Delivery::Send, int status = 200) {
        m_server->setResponse("page.htm", {status, "OK", type, body, delivery});
        return m_server->url("page.htm").toString();
    }

    QTemporaryDir m_home;
    RecordingLauncher m_launcher;
    StartupSettings m_settings;
    std::unique_ptr<HttpFixture> m_server;
};

QTEST_GUILESS_MAIN(TestBrowserController)
#include "test_browser_controller.moc"
