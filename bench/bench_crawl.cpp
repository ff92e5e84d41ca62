// How fast the keyword crawl reads a site: the program's crawler beside
// curl and grep (four curl processes at a time, each reading the first
// 32000 bytes of one URL, then grep over what they saved), both over the
// same URL list on the same local web server in the same run.
//
//   bench_crawl [pages, default 2000] [hanging pages, default 8]
//
// Then the same pages spread over 16 sites (servers on their own ports,
// half of them with a robots.txt that allows everything, half without
// one), crawled with politeness off and on (robots.txt read once per site,
// at most two requests per site at a time).
//
// The server runs on its own thread, so the crawler's event loop and the
// curl processes face the same server. It ignores Range, as most dynamic
// pages do: curl then reads whole bodies, and finds the keywords that stand
// after the first 32000 bytes too, which the crawl cannot see.

#include "ServerThread.h"
#include "harvest/HarvestState.h"
#include "platform/Prompts.h"
#include "support/HttpFixture.h"
#include "web/Crawler.h"
#include "web/SiteGate.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int kDefaultPages = 2000;
constexpr int kDefaultHanging = 8;
constexpr int kChunkBytes = Crawler::kChunkSize; // the pages are ASCII: bytes are characters
constexpr int kTimeoutSeconds = Crawler::kTimeoutMs / 1000;
constexpr unsigned kSeed = 20240917;
constexpr int kSites = 16;

// Port 1 has no server: connections to it are refused at once.
const QString kRefusedHost = QStringLiteral("http://127.0.0.1:1");

const QStringList kKeywords{QStringLiteral("needle"), QStringLiteral("haystack")};

enum class Kind {
    Plain,      // no keyword
    Early,      // a keyword within the first 32000 characters
    EarlyUpper, // the same in capitals
    Late,       // a keyword only after the first 32000 characters
    Slow,       // answered after 1 to 3 seconds, half of them with a keyword
    Missing,    // 404
    Closed,     // the connection closes without an answer
    Refused,    // nothing listens on the port
    Hanging,    // never answered: costs a full time-out
};

struct Page {
    Kind kind = Kind::Plain;
    QString path;
    HttpFixture::Response response;
    bool early = false; // a keyword within the first 32000 characters
    bool late = false;  // a keyword only after them
};

struct Site {
    std::vector<Page> pages;
    QStringList urls;
    QSet<QString> earlyMatches;
    QSet<QString> lateMatches;
    QHash<Kind, int> counts;
};

// Answers No to the crawl's closing question; nothing else is asked.
class DecliningPrompts : public Prompts {
public:
    void message(const QString&, const QString&) override {}
    void warning(const QString&, const QString&) override {}
    bool askYesNo(const QString&, const QString&) override { return false; }
    std::optional<QString> input(const QString&, const QString&, const QString&) override {
        return {};
    }
    std::optional<QString> openFile(const QString&, const QString&) override { return {}; }
    std::optional<QString> saveFile(const QString&, const QString&) override { return {}; }
    std::optional<QString> chooseColour(const QString&, const QString&) override { return {}; }
};

// Words that contain no keyword, in paragraphs, to cut pages from.
QByteArray fillerText() {
    static const char* const words[] = {
        "lorem",   "ipsum",   "dolor", "sit",     "amet",     "consectetur", "adipiscing",
        "elit",    "sed",     "do",    "tempor",  "incidunt", "labore",      "magna",
        "aliqua",  "veniam",  "quis",  "nostrud", "ullamco",  "laboris",     "nisi",
        "aliquip", "commodo", "duis",  "aute",    "irure",    "voluptate",   "velit"};
    std::mt19937 random(kSeed);
    std::uniform_int_distribution<std::size_t> word(0, std::size(words) - 1);
    QByteArray text;
    while (text.size() < 256 * 1024) {
        text += "<p>";
        for (int i = 0; i < 60; ++i)
            text += QByteArray(words[word(random)]) + ' ';
        text += "</p>\n";
    }
    return text;
}

// The kinds of the list in a fixed shuffled order: a few of each sort of
// trouble, a tenth with an early keyword, one in twenty with a late one.
std::vector<Kind> pageKinds(int pages, int hanging, std::mt19937& random) {
    std::vector<Kind> kinds;
    const auto add = [&kinds](Kind kind, int count) { kinds.insert(kinds.end(), count, kind); };
    add(Kind::Hanging, hanging);
    add(Kind::Refused, pages / 50);
    add(Kind::Closed, pages / 100);
    add(Kind::Missing, pages / 100);
    add(Kind::Slow, pages / 100);
    add(Kind::Late, pages / 20);
    add(Kind::EarlyUpper, pages / 30);
    add(Kind::Early, pages / 15);
    add(Kind::Plain, std::max(0, pages - int(kinds.size())));
    kinds.resize(pages);
    std::shuffle(kinds.begin(), kinds.end(), random);
    return kinds;
}

class SiteMaker {
public:
    SiteMaker() : m_random(kSeed), m_filler(fillerText()) {}

    Page make(Kind kind, int index) {
        Page page;
        page.kind = kind;
        page.path = QStringLiteral("/p%1.htm").arg(index, 5, 10, QLatin1Char('0'));
        page.response.contentType = "text/html; charset=utf-8";
        switch (kind) {
        case Kind::Missing:
        case Kind::Refused:
            break; // never served
        case Kind::Plain:
            page.response.body = body(between(2 * 1024, 100 * 1024));
            break;
        case Kind::Early:
        case Kind::EarlyUpper:
            page.response.body = body(between(2 * 1024, 100 * 1024));
            insertEarly(page.response.body, kind == Kind::EarlyUpper);
            page.early = true;
            break;
        case Kind::Late:
            page.response.body = body(between(kChunkBytes + 8 * 1024, 100 * 1024));
            insertLate(page.response.body);
            page.late = true;
            break;
        case Kind::Slow:
            page.response.body = body(between(2 * 1024, 100 * 1024));
            page.response.delayMs = between(1000, 3000);
            page.early = between(0, 1) == 1;
            if (page.early)
                insertEarly(page.response.body, false);
            break;
        case Kind::Closed:
            page.response.delivery = HttpFixture::Delivery::Fail;
            break;
        case Kind::Hanging:
            page.response.delivery = HttpFixture::Delivery::Hang;
            break;
        }
        return page;
    }

private:
    int between(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(m_random);
    }

    QByteArray body(int size) {
        const QByteArray head = "<!DOCTYPE html>\n<html><head><title>Page</title></head><body>\n";
        const QByteArray tail = "</body></html>\n";
        const int fill = std::max(0, size - int(head.size() + tail.size()));
        return head + m_filler.mid(between(0, int(m_filler.size()) - fill), fill) + tail;
    }

    QByteArray keyword(bool upper) {
        const QByteArray word = kKeywords.at(between(0, int(kKeywords.size()) - 1)).toLatin1();
        return ' ' + (upper ? word.toUpper() : word) + ' ';
    }

    // Wholly within the first chunk.
    void insertEarly(QByteArray& body, bool upper) {
        const QByteArray word = keyword(upper);
        const int last = std::min(int(body.size()), kChunkBytes) - int(word.size());
        body.insert(between(64, last), word);
    }

    // Wholly after the first chunk.
    void insertLate(QByteArray& body) {
        body.insert(between(kChunkBytes, int(body.size()) - 32), keyword(false));
    }

    std::mt19937 m_random;
    QByteArray m_filler;
};

// Refused URLs point at port 1; missing ones at paths the server lacks.
Site makeSite(int pages, int hanging) {
    Site site;
    SiteMaker maker;
    std::mt19937 random(kSeed + 1);
    const std::vector<Kind> kinds = pageKinds(pages, hanging, random);
    for (int index = 0; index < int(kinds.size()); ++index) {
        Page page = maker.make(kinds[index], index);
        site.counts[page.kind] += 1;
        site.pages.push_back(page);
    }
    return site;
}

void addressSite(Site& site, const QString& base) {
    for (const Page& page : site.pages) {
        const QString url = (page.kind == Kind::Refused ? kRefusedHost : base) + page.path;
        site.urls << url;
        if (page.early)
            site.earlyMatches.insert(url);
        if (page.late)
            site.lateMatches.insert(url);
    }
}

// Only the pages the server should answer are scripted.
// The scripted answers, by path.
QHash<QString, HttpFixture::Response> servedPages(const Site& site) {
    QHash<QString, HttpFixture::Response> served;
    for (const Page& page : site.pages)
        if (page.kind != Kind::Missing && page.kind != Kind::Refused)
            served.insert(page.path, page.response);
    return served;
}

struct Run {
    QSet<QString> matches;
    double seconds = 0;
    double fetchSeconds = 0;
    double grepSeconds = 0;
    QString error;
};

double secondsOf(const QElapsedTimer& timer) {
    return double(timer.nsecsElapsed()) / 1e9;
}

Run crawl(const QStringList& urls, bool polite = false) {
    Run run;
    HarvestState state;
    state.linkList = urls;
    DecliningPrompts prompts;
    Crawler crawler(state, prompts, [] { return kKeywords; });
    crawler.gate().setRespectRobots(polite);
    crawler.setTimeoutMs(Crawler::kTimeoutMs);
    QEventLoop loop;
    bool finished = false;
    QObject::connect(&crawler, &Crawler::finished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    QElapsedTimer timer;
    timer.start();
    if (!crawler.findKeywords())
        run.error = QStringLiteral("the crawl did not start");
    else if (!finished)
        loop.exec();
    run.seconds = secondsOf(timer);
    const QStringList found = state.foundPages;
    run.matches = QSet<QString>(found.begin(), found.end());
    return run;
}

// One "file URL" pair a line, for xargs to hand to curl two at a time.
bool writeCurlList(const QString& listPath, const QString& outFolder, const QStringList& urls) {
    QFile list(listPath);
    if (!list.open(QIODevice::WriteOnly))
        return false;
    for (int index = 0; index < urls.size(); ++index)
        list.write(QDir(outFolder).filePath(QString::number(index)).toLocal8Bit() + ' ' +
                   urls.at(index).toLocal8Bit() + '\n');
    return true;
}

// The files grep names, as the URLs they were read from.
QSet<QString> grepMatches(const QByteArray& output, const QStringList& urls) {
    QSet<QString> matches;
    for (const QByteArray& line : output.split('\n')) {
        if (line.isEmpty())
            continue;
        bool ok = false;
        const int index = QFileInfo(QString::fromLocal8Bit(line)).fileName().toInt(&ok);
        if (ok && index >= 0 && index < urls.size())
            matches.insert(urls.at(index));
    }
    return matches;
}

QStringList grepArguments(const QString& outFolder) {
    QStringList arguments{QStringLiteral("-rilF")};
    for (const QString& keyword : kKeywords)
        arguments << QStringLiteral("-e") << keyword;
    return arguments << outFolder;
}

Run baseline(const QStringList& urls) {
    Run run;
    QTemporaryDir dir;
    const QString outFolder = dir.filePath(QStringLiteral("out"));
    const QString listPath = dir.filePath(QStringLiteral("urls.txt"));
    if (QStandardPaths::findExecutable(QStringLiteral("curl")).isEmpty() ||
        !QDir().mkpath(outFolder) || !writeCurlList(listPath, outFolder, urls)) {
        run.error = QStringLiteral("curl is missing or the temporary folder failed");
        return run;
    }
    QProcess fetch;
    fetch.setStandardInputFile(listPath);
    fetch.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    fetch.start(QStringLiteral("xargs"),
                {QStringLiteral("-P"), QString::number(Crawler::kDownloaderCount),
                 QStringLiteral("-n"), QStringLiteral("2"), QStringLiteral("curl"),
                 QStringLiteral("-s"), QStringLiteral("--max-time"),
                 QString::number(kTimeoutSeconds), QStringLiteral("-r"),
                 QStringLiteral("0-%1").arg(kChunkBytes - 1), QStringLiteral("-o")});
    fetch.waitForFinished(-1);
    run.fetchSeconds = secondsOf(timer);
    QProcess grep;
    timer.restart();
    grep.start(QStringLiteral("grep"), grepArguments(outFolder));
    grep.waitForFinished(-1);
    run.grepSeconds = secondsOf(timer);
    run.seconds = run.fetchSeconds + run.grepSeconds;
    run.matches = grepMatches(grep.readAllStandardOutput(), urls);
    return run;
}

void printUrls(const char* title, const QSet<QString>& urls) {
    if (urls.isEmpty())
        return;
    QStringList sorted(urls.begin(), urls.end());
    sorted.sort();
    std::printf("  %s: %lld\n", title, static_cast<long long>(sorted.size()));
    for (const QString& url : sorted.mid(0, 10))
        std::printf("    %s\n", qPrintable(url));
}

void printSite(const Site& site) {
    const auto count = [&site](Kind kind) { return site.counts.value(kind); };
    std::printf("pages %lld: %d hanging, %d refused, %d closed, %d missing, %d slow (1-3 s)\n",
                static_cast<long long>(site.urls.size()), count(Kind::Hanging),
                count(Kind::Refused), count(Kind::Closed), count(Kind::Missing), count(Kind::Slow));
    std::printf("keyword within the first %d characters: %lld (%d in capitals), only after "
                "them: %lld\n",
                kChunkBytes, static_cast<long long>(site.earlyMatches.size()),
                count(Kind::EarlyUpper), static_cast<long long>(site.lateMatches.size()));
}

// The pages in the same order, page i on site i modulo kSites; each site
// serves every page. Refused pages keep pointing at port 1.
struct Sites {
    std::vector<std::unique_ptr<ServerThread>> servers;
    QStringList urls;
    QSet<QString> earlyMatches;
};

bool startSites(Sites& sites, const Site& site, const QString& folder) {
    QHash<QString, HttpFixture::Response> answers = servedPages(site);
    QStringList bases;
    for (int index = 0; index < kSites; ++index) {
        QHash<QString, HttpFixture::Response> served = answers;
        if (index % 2 == 0)
            served.insert(QStringLiteral("/robots.txt"),
                          {200, "OK", "text/plain", "User-agent: *\nAllow: /\n"});
        sites.servers.push_back(std::make_unique<ServerThread>());
        bases << sites.servers.back()->start(folder, served);
        if (bases.last().isEmpty())
            return false;
    }
    for (int index = 0; index < int(site.pages.size()); ++index) {
        const Page& page = site.pages[index];
        const QString url =
            (page.kind == Kind::Refused ? kRefusedHost : bases.at(index % kSites)) + page.path;
        sites.urls << url;
        if (page.early)
            sites.earlyMatches.insert(url);
    }
    return true;
}

// The crawl over many sites must find exactly the early keywords too.
bool printSitesRun(const char* title, const Run& run, const Sites& sites) {
    const bool same = run.matches == sites.earlyMatches && run.error.isEmpty();
    std::printf("%-28s %5lld matches %8.2f s%s\n", title,
                static_cast<long long>(run.matches.size()), run.seconds,
                same ? "" : " (match set DIFFERS)");
    return same;
}

void printRuns(const Run& ours, const Run& theirs) {
    std::printf("%-28s %5lld matches %8.2f s\n", "crawl (Crawler)",
                static_cast<long long>(ours.matches.size()), ours.seconds);
    std::printf("%-28s %5lld matches %8.2f s (curl %.2f s + grep %.2f s)\n",
                "baseline (xargs curl, grep)", static_cast<long long>(theirs.matches.size()),
                theirs.seconds, theirs.fetchSeconds, theirs.grepSeconds);
    if (theirs.seconds > 0)
        std::printf("ratio crawl / baseline: %.3f\n", ours.seconds / theirs.seconds);
}

// The crawl must find exactly the early keywords; the baseline finds the
// late ones as well, since the server ignores Range.
bool compareMatches(const Site& site, const Run& ours, const Run& theirs) {
    const QSet<QString> crawlOnly = ours.matches - theirs.matches;
    const QSet<QString> baselineOnly = theirs.matches - ours.matches;
    const QSet<QString> unexplained = baselineOnly - site.lateMatches;
    const QSet<QString> crawlMissed = site.earlyMatches - ours.matches;
    const QSet<QString> crawlExtra = ours.matches - site.earlyMatches;
    std::printf("baseline only, keyword after the first %d bytes (curl read the whole body): "
                "%lld\n",
                kChunkBytes, static_cast<long long>((baselineOnly & site.lateMatches).size()));
    printUrls("found by the crawl only", crawlOnly);
    printUrls("found by the baseline only, keyword within the first chunk", unexplained);
    printUrls("missed by the crawl", crawlMissed);
    printUrls("found by the crawl without a keyword in its first chunk", crawlExtra);
    const bool same = crawlOnly.isEmpty() && unexplained.isEmpty() && crawlMissed.isEmpty() &&
                      crawlExtra.isEmpty();
    std::printf("match sets %s\n", same ? "agree" : "DIFFER");
    return same;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int pages = argc > 1 ? QByteArray(argv[1]).toInt() : kDefaultPages;
    const int hanging = argc > 2 ? QByteArray(argv[2]).toInt() : kDefaultHanging;
    if (pages <= 0 || hanging < 0 || hanging > pages) {
        std::fprintf(stderr, "usage: bench_crawl [pages] [hanging pages]\n");
        return 2;
    }
    QTemporaryDir folder;
    Site site = makeSite(pages, hanging);
    ServerThread server;
    const QString base = server.start(folder.path(), servedPages(site));
    if (base.isEmpty()) {
        std::fprintf(stderr, "the local web server did not start\n");
        return 1;
    }
    addressSite(site, base);
    printSite(site);
    std::fflush(stdout);
    const Run ours = crawl(site.urls);
    const Run theirs = baseline(site.urls);
    printRuns(ours, theirs);
    bool same = compareMatches(site, ours, theirs);
    Sites sites;
    if (!startSites(sites, site, folder.path())) {
        std::fprintf(stderr, "the local web servers did not start\n");
        return 1;
    }
    std::printf("the same pages over %d sites:\n", kSites);
    std::fflush(stdout);
    same = printSitesRun("crawl, politeness off", crawl(sites.urls, false), sites) && same;
    same = printSitesRun("crawl, politeness on", crawl(sites.urls, true), sites) && same;
    for (const QString& error : {ours.error, theirs.error}) {
        if (!error.isEmpty())
            std::printf("failed: %s\n", qPrintable(error));
    }
    return same && ours.error.isEmpty() && theirs.error.isEmpty() ? 0 : 1;
}
