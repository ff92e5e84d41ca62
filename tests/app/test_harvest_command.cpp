// `quillmart harvest` against a small local site: a frameset start page
// whose frames link to a page with contact paragraphs and an e-mail link, a
// page with a keyword and a picture, and a page with nothing.

#include "support/ExpectedFile.h"
#include "support/HttpFixture.h"
#include "support/ProgramRun.h"

#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

class TestHarvestCommand : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void writesTheReport_data();
    void writesTheReport();
    void refusals_data();
    void refusals();
    void unreachablePagesWriteNothing();
    void hostilePagesAreLeftOut();
    void hostileTextGivesAnInertReport();

private:
    ProgramRun quillmart(const QStringList& arguments, int limitMs = 30000) const;
    QString path(const QString& relative) const { return m_dir.filePath(relative); }
    QString base() const { return m_server->url({}).toString(); }

    QTemporaryDir m_dir;
    std::unique_ptr<HttpFixture> m_server;
};

void TestHarvestCommand::initTestCase() {
    QVERIFY(QDir().mkpath(path("site")) && QDir().mkpath(path("home")));
    const std::pair<const char*, const char*> pages[] = {
        {"index.htm", "<html><head><title>Index</title></head><frameset cols='50%,50%'>"
                      "<frame src='left.htm'><frame src='right.htm'></frameset></html>"},
        {"left.htm", "<html><body><a href='firm.htm'>Firm</a> <a href='plain.htm'>Plain</a>"
                     "</body></html>"},
        {"right.htm", "<html><body><a href='other.htm'>Other</a></body></html>"},
        {"firm.htm", "<html><head><title>Firm</title><meta name='keywords' content='tools'>"
                     "</head><body><p>Write to our address</p><p>Opening hours</p>"
                     "<a href='mailto:info@firm.example'>Mail us</a></body></html>"},
        {"plain.htm", "<html><head><title>Plain</title></head><body><p>Nothing to see</p>"
                      "</body></html>"},
        {"other.htm", "<html><head><title>Other</title></head><body><p>Needle in the hay</p>"
                      "<img src='hay.png'></body></html>"},
    };
    for (const auto& [name, text] : pages) {
        QFile file(path("site/") + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    // A page written to attack whoever reads it: markup and script in its
    // texts, quotes in its addresses, links to scripts, data and local files.
    const std::pair<const char*, const char*> hostile[] = {
        {"hostile/start.htm",
         "<a href='bad.htm'>Bad</a> <a href=\"javascript:alert(1)\">&lt;b&gt;run&lt;/b&gt;</a> "
         "<a href=\"data:text/html,<script>alert(1)</script>\">data</a> "
         "<a href='file:///etc/hostname'>host</a>"},
        {"hostile/bad.htm",
         "<html><head><title>P2 <script>x</script></title><meta name='description' "
         "content=\"<b>big</b> & 'bold'\"></head><body><p>Needle &lt;i&gt;shown&lt;/i&gt;</p>"
         "<a href=\"mailto:a'b@hostile.test\">Mail &lt;us&gt;</a>"
         "<img src=\"pic'onerror='alert(1)'.jpg\"></body></html>"},
    };
    QVERIFY(QDir().mkpath(path("site/hostile")));
    for (const auto& [name, text] : hostile) {
        QFile file(path("site/") + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    m_server = std::make_unique<HttpFixture>(path("site"));
    QVERIFY(m_server->start());
}

ProgramRun TestHarvestCommand::quillmart(const QStringList& arguments, int limitMs) const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QUILLMART_HOME", path("home"));
    return ProgramRun::of(QStringLiteral(QUILLMART_EXECUTABLE), arguments, environment, limitMs);
}

void TestHarvestCommand::writesTheReport_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("expected");
    QTest::newRow("contact") << QStringList{"--find-contact"} << "harvest_contact.htm";
    QTest::newRow("e-mail") << QStringList{"--find-email"} << "harvest_email.htm";
    QTest::newRow("keywords and pictures")
        << QStringList{"--keywords", "zzz,NEEDLE", "--images"} << "harvest_keywords.htm";
}

void TestHarvestCommand::writesTheReport() {
    QFETCH(QStringList, options);
    QFETCH(QString, expected);
    const QString report = path("report.htm");
    QFile::remove(report);
    const ProgramRun run = quillmart(QStringList{"harvest", base() + "index.htm"} + options +
                                     QStringList{"--report", report});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.err.contains("Found - 3 links"), run.err);
    QVERIFY2(run.err.contains("Report written to " + report.toUtf8()), run.err);
    const QByteArray written = fileBytes(report);
    const QByteArray wanted =
        expectedFile("app/expected/" + expected).replace("{BASE}", base().toUtf8());
    QVERIFY2(written == wanted, qPrintable(firstDifference(written, wanted)));
}

// Every text is escaped and every address quoted safely; the script, data
// and local-file links are named and never read.
void TestHarvestCommand::hostileTextGivesAnInertReport() {
    const QString report = path("hostile.htm");
    const ProgramRun run = quillmart({"harvest", base() + "hostile/start.htm", "--keywords",
                                      "NEEDLE", "--images", "--report", report});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err.count("is not a web page; it is left out"), 3);
    QVERIFY2(run.err.contains("quillmart: file:///etc/hostname is not a web page"), run.err);
    const QByteArray written = fileBytes(report);
    const QByteArray wanted =
        expectedFile("app/expected/harvest_hostile.htm").replace("{BASE}", base().toUtf8());
    QVERIFY2(written == wanted, qPrintable(firstDifference(written, wanted)));
}

void TestHarvestCommand::refusals_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("no report") << QStringList{"harvest", "http://a.example/", "--find-email"}
                               << "--report FILE is required";
    QTest::newRow("no search") << QStringList{"harvest", "http://a.example/", "--report", "r.htm"}
                               << "give --keywords, --find-email or --find-contact";
    QTest::newRow("two searches") << QStringList{"harvest",      "http://a.example/",
                                                 "--find-email", "--find-contact",
                                                 "--report",     "r.htm"}
                                  << "give only one of --find-email and --find-contact";
    QTest::newRow("no page") << QStringList{"harvest", "--find-email", "--report", "r.htm"}
                             << "give at least one page address";
}

void TestHarvestCommand::refusals() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const ProgramRun run = quillmart(arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(message.toUtf8()), run.err);
    QVERIFY(run.err.contains("usage: quillmart harvest URL..."));
}

// A start page that cannot be loaded is left out; with none loaded there is
// no report.
void TestHarvestCommand::unreachablePagesWriteNothing() {
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const QString nowhere = QStringLiteral("http://127.0.0.1:%1/").arg(closed.serverPort());
    closed.close();
    const QString report = path("none.htm");
    const ProgramRun run = quillmart({"harvest", nowhere, "--find-email", "--report", report});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("could not be loaded"), run.err);
    QVERIFY(!QFile::exists(report));
}

// A site whose pages close without an answer, never answer, stream without
// end or run the page engine out of memory, beside a good one: the harvest
// ends, the report holds the good page, and each bad page is named. The
// page that never answers costs the crawl's full time-out.
void TestHarvestCommand::hostilePagesAreLeftOut() {
    HttpFixture site(path("site"));
    QVERIFY(site.start());
    const auto serve = [&site](const char* name, const QByteArray& body,
                               HttpFixture::Delivery delivery) {
        HttpFixture::Response response;
        response.contentType = "text/html";
        response.body = body;
        response.delivery = delivery;
        site.setResponse(QString::fromLatin1(name), response);
    };
    using Delivery = HttpFixture::Delivery;
    serve("start.htm",
          "<a href='good.htm'>Good</a><a href='closed.htm'>Closed</a><a href='hang.htm'>Hang</a>"
          "<a href='endless.htm'>Endless</a><a href='hoard.htm'>Hoard</a>",
          Delivery::Send);
    serve("good.htm", "<title>Good</title><p>A needle here</p>", Delivery::Send);
    serve("closed.htm", {}, Delivery::Fail);
    serve("hang.htm", {}, Delivery::Hang);
    serve("endless.htm", "<p>needle " + QByteArray(64 * 1024, 'x') + "</p>", Delivery::Stream);
    serve("hoard.htm",
          "<p>needle</p><script>var hoard = [];"
          "for (;;) hoard.push(new Array(1 << 20).fill(hoard.length));</script>",
          Delivery::Send);
    const QString report = path("hostile.htm");
    const QString base = site.url({}).toString();
    const ProgramRun run = quillmart(
        {"harvest", base + "start.htm", "--keywords", "needle", "--report", report}, 120000);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.err.contains("Found 3 pages"), run.err);
    for (const char* left : {"closed.htm could not be read", "hang.htm could not be read",
                             "endless.htm could not be shown", "hoard.htm could not be shown"})
        QVERIFY2(run.err.contains(base.toUtf8() + left), run.err);
    QVERIFY(fileBytes(report).contains("<p>A needle here</p>"));
}

QTEST_GUILESS_MAIN(TestHarvestCommand)
#include "test_harvest_command.moc"
