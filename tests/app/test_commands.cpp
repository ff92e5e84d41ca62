// The program's commands that need no server program: `quillmart
// generate` on a project folder, and `quillmart harvest` against a small
// local site: a frameset start page whose frames link to a page with contact
// paragraphs and an e-mail link, a page with a keyword and a picture, and a
// page with nothing.

#include "app/GenerateCommand.h"
#include "project/SettingsFile.h"
#include "support/ExpectedFile.h"
#include "support/HttpFixture.h"
#include "support/ProgramRun.h"

#include <QtTest>
#include <sys/stat.h>

class TestCommands : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<HttpFixture> m_server;
    QString path(const QString& relative) const { return m_dir.filePath(relative); }
    QString shop(const QString& file = {}) const { return path("Shop/" + file); }
    QString base() const { return m_server->url({}).toString(); }
    ProgramRun quillmart(const QStringList& arguments, int limitMs = 30000,
                         const QString& program = QUILLMART_EXECUTABLE) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QUILLMART_HOME", path("home"));
        return ProgramRun::of(program, arguments, environment, limitMs);
    }
    // The project "Shop" with the categories Tools, whose item file holds
    // `tools`, and Garden, which has none.
    void makeShop(const QByteArray& tools) {
        QDir(shop()).removeRecursively();
        writeBytes(shop("Shop.caa"), "Tools\r\nGarden\r\n");
        writeBytes(shop("Tools.pro"), tools);
    }
    // Runs a harvest and compares its report with the expected file; the
    // times the findings were found read {TIME}. Keeps its standard error.
    QByteArray m_err;
    void harvest(const QString& start, const QStringList& options, const QString& expected) {
        const QString report = path(expected);
        const ProgramRun run =
            quillmart(QStringList{"harvest", base() + start, "--report", report} + options);
        m_err = run.err;
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.contains("Report written to " + report.toUtf8()), run.err);
        static const QRegularExpression time("\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ");
        const QByteArray written =
            QString::fromUtf8(fileBytes(report)).replace(time, "{TIME}").toUtf8();
        const QByteArray wanted =
            expectedFile("app/expected/" + expected, !expected.endsWith(".json"))
                .replace("{BASE}", base().toUtf8());
        QVERIFY2(written == wanted, firstDifference(written, wanted).constData());
    }

private Q_SLOTS:
    void initTestCase() {
        const std::pair<const char*, const char*> pages[] = {
            {"index.htm", "<html><head><title>Index</title></head><frameset cols='50%,50%'>"
                          "<frame src='left.htm'><frame src='right.htm'></frameset></html>"},
            {"left.htm", "<a href='firm.htm'>Firm</a> <a href='plain.htm'>Plain</a>"},
            {"right.htm", "<a href='other.htm'>Other</a>"},
            {"firm.htm", "<html><head><title>Firm</title><meta name='keywords' content='tools'>"
                         "</head><body><p>Write to our address</p><p>Opening hours</p>"
                         "<a href='mailto:info@firm.example'>Mail us</a></body></html>"},
            {"plain.htm", "<title>Plain</title><p>Nothing to see</p>"},
            {"other.htm", "<title>Other</title><p>Needle in the hay</p><img src='hay.png'>"},
            // A page written to attack whoever reads it: markup and script in
            // its texts, quotes in its addresses, links to scripts, data and
            // local files.
            {"hostile/start.htm",
             "<a href='bad.htm'>Bad</a> <a href=\"javascript:alert(1)\">&lt;b&gt;run&lt;/b&gt;</a> "
             "<a href=\"data:text/html,<script>alert(1)</script>\">data</a> "
             "<a href='file:///etc/hostname'>host</a>"},
            {"hostile/bad.htm",
             "<html><head><title>P2 <script>x</script></title><meta name='description' "
             "content=\"<b>big</b> & 'bold'\"></head><body><p>Needle &lt;i&gt;shown&lt;/i&gt;</p>"
             "<a href=\"mailto:a'b@hostile.test\">Mail &lt;us&gt;</a>"
             "<img src=\"pic'onerror='alert(1)'.jpg\"></body></html>"},
            // Texts that need quoting in CSV, one that a spreadsheet would run,
            // and one address three times, the domain in other letter cases.
            {"export/start.htm", "<title>Start</title><a href='a.htm'>A</a> <a href='b.htm'>B</a>"},
            {"export/a.htm", "<html><head><title>Contact, \"us\"</title></head><frameset "
                             "rows='50%,50%'><frame src='a1.htm'><frame src='a2.htm'></frameset>"},
            {"export/a1.htm",
             "<title>One</title><meta name='description' content='-1 off, today'>"
             "<p>=SUM(1) contact us</p><a href='mailto:Sales@Shop.Example?"
             "subject=hi'>Sales</a> <a href='mailto:Sales@shop.example'>again</a>"},
            {"export/a2.htm",
             "<title>Two</title><p>Phone: 555, ask for \"Bo\" &lt;b&gt;now&lt;/b&gt; "
             "&amp; more</p><a href='mailto:Sales@SHOP.example'></a>"},
            {"export/b.htm", "<title>B</title><p>Nothing</p>"}};
        for (const auto& [name, text] : pages)
            writeBytes(path("site/") + name, text);
        m_server = std::make_unique<HttpFixture>(path("site"));
        QVERIFY(m_server->start());
    }

    void writesTheReport() {
        harvest("index.htm", {"--find-contact"}, "harvest_contact.htm");
        harvest("index.htm", {"--find-email"}, "harvest_email.htm");
        harvest("index.htm", {"--keywords", "zzz,NEEDLE", "--images"}, "harvest_keywords.htm");
        for (const QString format : {"csv", "json"})
            harvest("export/start.htm", {"--keywords", "contact,phone", "--format", format},
                    "harvest_export." + format);
        // Every text of a hostile page is escaped and every address quoted
        // safely; the script, data and local-file links are named and never
        // read.
        harvest("hostile/start.htm", {"--keywords", "NEEDLE", "--images"}, "harvest_hostile.htm");
        QCOMPARE(m_err.count("is not a web page; it is left out"), 3);
        QVERIFY2(m_err.contains("quillmart: file:///etc/hostname is not a web page"), m_err);
    }

    // A page the site's robots.txt disallows is named, counted and never
    // requested, unless the command is told to ignore robots.txt.
    void robotsTxtIsRespectedUnlessIgnored() {
        m_server->serve("robots.txt", "User-agent: *\nDisallow: /polite/no");
        writeBytes(path("site/polite/start.htm"), "<a href='yes.htm'>Y</a><a href='no.htm'>N</a>");
        for (const char* name : {"yes.htm", "no.htm"})
            writeBytes(path("site/polite/") + name, "<title>T</title><p>needle</p>");
        const QStringList harvest{"harvest",  base() + "polite/start.htm", "--keywords", "needle",
                                  "--report", path("polite.htm")};
        ProgramRun run = quillmart(harvest);
        QVERIFY2(run.err.contains("quillmart: " + base().toUtf8() +
                                  "polite/no.htm is disallowed by its site's robots.txt; it is "
                                  "left out\n") &&
                     run.err.contains("\n1 pages left out by robots.txt\n"),
                 run.err);
        // Every request of every harvest (the start pages, the crawl, the
        // page reader) carries the program's User-Agent.
        QCOMPARE(QSet<QString>(m_server->userAgents().cbegin(), m_server->userAgents().cend()),
                 QSet<QString>{"Quillmart/" QUILLMART_VERSION});
        // The settings are those of the chosen home folder.
        writeBytes(path("home/Quillmart/Quillmart.conf"), "[Startup]\nUserAgent=Shopkeeper/1\n");
        run = quillmart(harvest + QStringList{"--ignore-robots"});
        QFile::remove(path("home/Quillmart/Quillmart.conf"));
        QVERIFY2(run.err.contains("Found 2 pages") && !run.err.contains("robots"), run.err);
        QVERIFY(m_server->userAgents().contains("Shopkeeper/1"));
    }

    // A start page that cannot be loaded is left out; with none loaded there
    // is no report. (Port 1 has no server, and lies below the ports the
    // system hands out.)
    void unreachablePagesWriteNothing() {
        const ProgramRun run = quillmart(
            {"harvest", "http://127.0.0.1:1/", "--find-email", "--report", path("none.htm")});
        QVERIFY2(run.exitCode == 1 && run.err.contains("could not be loaded"), run.err);
        QVERIFY(!QFile::exists(path("none.htm")));
    }

    // Pages that close without an answer or stream without end, beside a
    // good one: the harvest ends, the report holds the good page, and each
    // bad page is named. (A page that never answers is the crawler's own
    // matter.)
    void hostilePagesAreLeftOut() {
        const QString start = m_server->serve(
            "start.htm", "<a href='good.htm'>Good</a><a href='closed.htm'>Closed</a>"
                         "<a href='endless.htm'>Endless</a>");
        m_server->serve("good.htm", "<title>Good</title><p>A needle here</p>");
        m_server->serve("closed.htm", {}, HttpFixture::Delivery::Fail);
        m_server->serve("endless.htm", "<p>needle " + QByteArray(64 * 1024, 'x') + "</p>",
                        HttpFixture::Delivery::Stream);
        const ProgramRun run = quillmart(
            {"harvest", start, "--keywords", "needle", "--report", path("left.htm")}, 120000);
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.contains("Found 2 pages"), run.err);
        for (const char* left : {"closed.htm could not be read", "endless.htm could not be shown"})
            QVERIFY2(run.err.contains(base().toUtf8() + left), run.err);
        QVERIFY(fileBytes(path("left.htm")).contains("<p>A needle here</p>"));
    }

    // The command writes the site the project keeps (its layout, catalog
    // options and banner), the flags turning more options on, and names
    // the order addresses that are still the examples of a new project.
    void generatesTheCatalog() {
        makeShop("\xEF\xBB\xBF" // a byte order mark, not part of the first item
                 "A1^Hammer^9.5^hammer.jpg^^Acme^2^7^X^\r\n");
        ProgramRun run =
            quillmart({"generate", "--manufacturer", shop(), "--weight", "--layout", "contents"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.startsWith("quillmart generate: warning: These order addresses are "
                                    "still the examples of a new project"),
                 run.err);
        const QStringList written = QString::fromLocal8Bit(run.out).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(written.value(0), shop("data1.js"));
        QCOMPARE(written.size(), 20);
        const char* head =
            "(itemid, itemdesc, itemprice, itemquantity,itemman,itemW,wprice,cv){\r\n";
        QVERIFY(fileBytes(shop("data1.js")).contains(head));
        QVERIFY(fileBytes(shop("data1.js")).contains("Item(\"A1\",\"Hammer\",9.5,0,\"Acme\""));

        SiteSettings own = SiteSettings::defaults();
        own.emailFormTag = SiteSettings::emailFormTagFor("orders@anna.test");
        own.actionCode = SiteSettings::actionCodeFor("https://pay.anna.test/t.asp", "anna7");
        writeBytes(shop("Shop.sit"), SettingsFile::write(own).toUtf8());
        writeBytes(shop("Shop.settings.json"),
                   R"({"siteLayout": "contents menu only", "catalogOptions": {"manufacturer": true},
                       "order1ResultsEmail": "results@anna.test",
                       "shop": {"bannerText": "Anna Tools"}})");
        QFile::remove(shop("data1.js"));
        run = quillmart({"generate", shop(), "--weight"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.out.count('\n'), 20);
        QVERIFY(fileBytes(shop("data1.js")).contains(head));
        QVERIFY(fileBytes(shop("banner.htm")).contains("<strong> Anna Tools</strong>"));
        // The credit links lead to the maker site the home folder's settings
        // name; without one the credit stands unlinked.
        QVERIFY(!fileBytes(shop("mmenu.htm")).contains("welcome.htm"));
        writeBytes(path("home/Quillmart/Quillmart.conf"), "[Startup]\nMakerSite=maker.test\n");
        run = quillmart({"generate", shop()});
        QFile::remove(path("home/Quillmart/Quillmart.conf"));
        QCOMPARE(run.exitCode, 0);
        QVERIFY(fileBytes(shop("mmenu.htm")).contains("<a href='http://maker.test/welcome.htm'>"));
    }

    void refusals() {
        const std::pair<QStringList, const char*> rows[] = {
            {{"generate", "SHOP", "--colour"}, "unknown argument \"--colour\""},
            {{"generate", "SHOP"}, "Tools, item A2\u20AC: price \"12,50\""}};
        makeShop("A1^Hammer^9.5^^^^^^^\r\nA2\x80^Saw^12,50^^^^^^^\r\n"); // Windows-1252
        for (const auto& [arguments, message] : rows) {
            const ProgramRun run =
                quillmart(QStringList(arguments).replaceInStrings("SHOP", shop()));
            QVERIFY(run.status == QProcess::NormalExit && run.exitCode != 0 && run.out.isEmpty());
            const QStringList lines = QString(run.err).split('\n');
            QVERIFY2(run.err.contains(message) &&
                         lines.filter(QRegularExpression("^quillmart")).size() == 1,
                     run.err);
        }

        // An item file that is not a plain file is refused, not waited on.
        QCOMPARE(mkfifo(QFile::encodeName(shop("Garden.pro")).constData(), 0600), 0);
        const ProgramRun fifo = quillmart({"generate", shop()});
        QVERIFY2(fifo.exitCode == 1 &&
                     fifo.err.contains("Cannot read the item file " + shop("Garden.pro").toUtf8()),
                 fifo.err);
    }

    // Each layout's name after --layout chooses that layout; a name missing
    // or unknown is refused with the names there are.
    void readsTheLayoutName() {
        using Layout = SiteSettings::Layout;
        const std::pair<const char*, Layout> names[] = {{"banner", Layout::BannerAndContents},
                                                        {"contents", Layout::ContentsOnly},
                                                        {"pages", Layout::Pages}};
        for (const auto& [name, layout] : names) {
            GenerateCommand command;
            QVERIFY(command.parse({"SHOP", "--layout", name}).ok());
            QCOMPARE(command.layout, std::optional(layout));
        }
        const std::pair<QStringList, const char*> refused[] = {
            {{"SHOP", "--layout"}, "--layout takes banner, contents or pages"},
            {{"SHOP", "--layout", "phone"},
             "--layout takes banner, contents or pages, not \"phone\""}};
        for (const auto& [arguments, message] : refused)
            QCOMPARE(GenerateCommand().parse(arguments).error(), message);
    }

    // The system refuses to write beyond 3 KB, as a full disk refuses any
    // write: the run stops and says the site is incomplete.
    void aRefusedWriteStops() {
        makeShop("A1^Hammer^9.5^^^^^^^\r\n");
        const ProgramRun run = quillmart({"-c", "trap '' XFSZ; ulimit -f 6; exec \"$0\" \"$@\"",
                                          QUILLMART_EXECUTABLE, "generate", shop()},
                                         30000, "/bin/sh");
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("is incomplete"), run.err);
    }

    void withoutDisplayFailsPlainly() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(name);
        environment.insert("QUILLMART_HOME", path("window home"));
        const ProgramRun run = ProgramRun::of(QUILLMART_EXECUTABLE, {}, environment);
        QVERIFY(run.status == QProcess::NormalExit && run.exitCode != 0);
        QVERIFY2(run.err.count('\n') == 1 && run.err.toLower().contains("display"), run.err);
        QVERIFY(!QFileInfo::exists(path("window home")));
    }
};

QTEST_GUILESS_MAIN(TestCommands)
#include "test_commands.moc"
