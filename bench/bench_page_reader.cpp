// How fast the page reader reads a queue of pages for the full report, and
// what the hidden page gains by leaving pictures and plug-ins out: the
// reader as the program uses it, then the same over fresh addresses with
// pictures turned back on for its worker page, then with plug-ins on as
// well, in one run. The first two must give the same report rows.
//
//   bench_page_reader [pages, default 200]
//
// The site is served from a thread of its own by the test web server. Every
// page has a title, a META description, paragraphs (some naming "contact"),
// an e-mail link, four pictures of a few hundred KB (two PNG, two JPEG, no
// two alike) and one embedded PDF document. Each run adds its own query
// string to every address, and the server forbids storing, so nothing read
// in one run is taken from a cache in the next.

#include "ServerThread.h"
#include "browser/ui/PageReaderDrive.h"
#include "browser/ui/WebView.h"
#include "harvest/HarvestState.h"
#include "support/HttpFixture.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHash>
#include <QImage>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <cstdio>
#include <memory>
#include <random>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kDefaultPages = 200;
constexpr int kWarmUpPages = 5;
constexpr unsigned kSeed = 20240917;
// A page that takes longer than this ends the run as failed.
constexpr int kSecondsPerPage = 30;

const QString kKeyword = QStringLiteral("contact");

// A picture of coloured noise, which no format can squeeze much.
QByteArray noisePicture(int width, int height, const char* format, std::mt19937& random) {
    QImage image(width, height, QImage::Format_RGB32);
    std::uniform_int_distribution<int> channel(0, 255);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb(channel(random), channel(random), channel(random));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 90);
    return bytes;
}

// The smallest PDF document a viewer accepts: one empty page.
QByteArray pdfDocument(int index) {
    return "%PDF-1.4\n1 0 obj<</Type/Catalog/Pages 2 0 R>>endobj\n"
           "2 0 obj<</Type/Pages/Kids[3 0 R]/Count 1>>endobj\n"
           "3 0 obj<</Type/Page/Parent 2 0 R/MediaBox[0 0 200 200]>>endobj\n"
           "trailer<</Root 1 0 R>>\n% page " +
           QByteArray::number(index) + "\n%%EOF\n";
}

struct PictureKind {
    const char* suffix;
    const char* format;
    QByteArray contentType;
    QByteArray bytes;
};

// Two PNG and two JPEG pictures; each page's copies get bytes of their own
// after the picture's end, which decoders ignore, so no two files are alike.
std::vector<PictureKind> pictureKinds() {
    std::mt19937 random(kSeed);
    std::vector<PictureKind> kinds{{"a.png", "PNG", "image/png", {}},
                                   {"b.png", "PNG", "image/png", {}},
                                   {"c.jpg", "JPEG", "image/jpeg", {}},
                                   {"d.jpg", "JPEG", "image/jpeg", {}}};
    for (PictureKind& kind : kinds) {
        const bool png = QByteArray(kind.format) == "PNG";
        kind.bytes = noisePicture(png ? 280 : 560, png ? 260 : 420, kind.format, random);
    }
    return kinds;
}

QString pageName(int index) {
    return QStringLiteral("shop%1").arg(index, 4, 10, QLatin1Char('0'));
}

QByteArray pageHtml(int index, const std::vector<PictureKind>& pictures, const QString& tag) {
    const QByteArray name = pageName(index).toLatin1();
    const QByteArray query = '?' + tag.toLatin1();
    QByteArray html = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Shop " +
                      QByteArray::number(index) +
                      " - garden tools</title>\n<meta name=\"description\" content=\"Garden "
                      "tools and seeds from shop " +
                      QByteArray::number(index) + "\"></head><body>\n<h1>Shop " + name + "</h1>\n";
    for (int paragraph = 0; paragraph < 6; ++paragraph) {
        html += "<p>Paragraph " + QByteArray::number(paragraph) +
                ": spades, rakes and hoes, sharpened by hand and sent within a week.";
        if (paragraph % 3 == 1)
            html += " To order in bulk, contact the owner by mail.";
        html += "</p>\n";
    }
    html += "<p><a href=\"mailto:owner" + QByteArray::number(index) +
            "@shop.example\">Write to us</a></p>\n";
    for (const PictureKind& picture : pictures)
        html += "<img src=\"" + name + picture.suffix + query +
                "\" width=\"200\" height=\"150\" alt=\"\">\n";
    html += "<embed src=\"" + name + ".pdf" + query +
            "\" type=\"application/pdf\" width=\"200\" height=\"200\">\n</body></html>\n";
    return html;
}

HttpFixture::Response answerWith(const QByteArray& contentType, const QByteArray& body) {
    HttpFixture::Response response;
    response.contentType = contentType;
    response.body = body;
    return response;
}

// The answers of the whole site but its pages, by path: the pictures and
// the documents. The server ignores query strings, so these serve every run.
struct Site {
    QHash<QString, HttpFixture::Response> answers;
    std::vector<PictureKind> pictures;
};

Site makeSite(int pages) {
    Site site;
    site.pictures = pictureKinds();
    for (int index = 0; index < pages; ++index) {
        const QString name = QLatin1Char('/') + pageName(index);
        for (const PictureKind& picture : site.pictures)
            site.answers.insert(
                name + QLatin1String(picture.suffix),
                answerWith(picture.contentType, picture.bytes + "page " + name.toLatin1()));
        site.answers.insert(name + QStringLiteral(".pdf"),
                            answerWith("application/pdf", pdfDocument(index)));
    }
    return site;
}

// The addresses of `count` pages from `first`, with the run's tag.
QStringList pageUrls(const QString& base, int first, int count, const QString& tag) {
    QStringList urls;
    for (int index = first; index < first + count; ++index)
        urls << base + QLatin1Char('/') + pageName(index) + QStringLiteral(".htm?") + tag;
    return urls;
}

struct Run {
    QString name;
    int pages = 0;
    double seconds = 0;
    qsizetype reportRows = 0;
    QStringList rows; // without the run's address and tag, to compare runs
    qsizetype reportWrites = 0;
    qsizetype pageRequests = 0;
    qsizetype pictureRequests = 0;
    qsizetype pluginRequests = 0;
    qsizetype otherRequests = 0;
    qint64 bytes = 0;
    qint64 pictureBytes = 0;
    QStringList otherPaths;
    QString error;
};

bool isPicture(const QString& path) {
    return path.endsWith(QLatin1String(".png")) || path.endsWith(QLatin1String(".jpg"));
}

void countRequests(Run& run, const QStringList& paths, ServerThread& server) {
    QStringList pictures;
    for (const QString& path : paths) {
        if (path.endsWith(QLatin1String(".htm"))) {
            ++run.pageRequests;
        } else if (isPicture(path)) {
            pictures << path;
        } else if (path.endsWith(QLatin1String(".pdf"))) {
            ++run.pluginRequests;
        } else {
            ++run.otherRequests;
            run.otherPaths << path;
        }
    }
    run.pictureRequests = pictures.size();
    run.bytes = server.bytesSent(paths);
    run.pictureBytes = server.bytesSent(pictures);
}

// The worker page as the reader gets it, or with pictures, and plug-ins,
// back on as a shown page has them.
std::unique_ptr<WebView> workerPage(bool pictures, bool plugins) {
    auto page = std::make_unique<WebView>(WebView::Kind::Hidden);
    QWebEngineSettings* settings = page->page()->settings();
    if (pictures)
        settings->setAttribute(QWebEngineSettings::AutoLoadImages, true);
    if (plugins)
        settings->setAttribute(QWebEngineSettings::PluginsEnabled, true);
    return page;
}

// The rows with the run's server address and query tag taken out.
QStringList withoutRunMarks(QStringList rows, const QStringList& urls) {
    if (urls.isEmpty())
        return rows;
    const QUrl first(urls.first());
    const QString base = first.adjusted(QUrl::RemovePath | QUrl::RemoveQuery).toString();
    const QString tag = QLatin1Char('?') + first.query();
    for (QString& row : rows)
        row.replace(base, QStringLiteral("SERVER")).replace(tag, QString());
    return rows;
}

struct Plan {
    QString name;
    QString tag;
    bool pictures = false;
    bool plugins = false;
};

// Reads `urls` with the page reader until it hands over the full report.
Run readPages(const Plan& plan, const QStringList& urls, ServerThread& server) {
    Run run;
    run.name = plan.name;
    run.pages = int(urls.size());
    HarvestState state;
    state.pageQueue = urls;
    state.collectImages = true; // as "Create Full Report" sets it
    const std::unique_ptr<WebView> page = workerPage(plan.pictures, plan.plugins);
    PageReaderDrive drive(state, *page, [] { return QStringList{kKeyword}; });
    QEventLoop loop;
    QObject::connect(&drive, &PageReaderDrive::reportReady, &loop, [&](const QStringList& writes) {
        run.reportWrites = writes.size();
        loop.quit();
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, &loop, [&] {
        run.error = QStringLiteral("%1: no report after %2 s")
                        .arg(plan.name)
                        .arg(watchdog.interval() / 1000);
        loop.quit();
    });
    const qsizetype requestsBefore = server.requested().size();
    QElapsedTimer timer;
    timer.start();
    watchdog.start((run.pages + 1) * kSecondsPerPage * 1000);
    drive.start();
    loop.exec();
    run.seconds = double(timer.nsecsElapsed()) / 1e9;
    run.reportRows = state.reportBuffer.size();
    run.rows = withoutRunMarks(state.reportBuffer, urls);
    countRequests(run, server.requested().mid(requestsBefore), server);
    return run;
}

// Serves each page of the run with the run's tag in its picture addresses.
void servePagesFor(ServerThread& server, const QString& folder, const Site& site, int pages,
                   const QString& tag, QString& base) {
    QHash<QString, HttpFixture::Response> answers = site.answers;
    for (int index = 0; index < pages; ++index)
        answers.insert(QLatin1Char('/') + pageName(index) + QStringLiteral(".htm"),
                       answerWith("text/html; charset=utf-8", pageHtml(index, site.pictures, tag)));
    base = server.start(folder, answers);
}

void printRun(const Run& run) {
    const double perSecond = run.seconds > 0 ? run.pages / run.seconds : 0;
    std::printf("%-34s %4d pages %8.2f s %7.2f pages/s | requests: %4lld pages, %4lld pictures "
                "(%6.1f MB), %4lld plug-in, %3lld other | %8.1f KB served | %5lld report rows\n",
                qPrintable(run.name), run.pages, run.seconds, perSecond,
                static_cast<long long>(run.pageRequests),
                static_cast<long long>(run.pictureRequests), double(run.pictureBytes) / 1e6,
                static_cast<long long>(run.pluginRequests),
                static_cast<long long>(run.otherRequests), double(run.bytes) / 1e3,
                static_cast<long long>(run.reportRows));
    QStringList others = run.otherPaths;
    others.removeDuplicates();
    for (const QString& path : std::as_const(others))
        std::printf("  other path asked for: %s (%lld times)\n", qPrintable(path),
                    static_cast<long long>(run.otherPaths.count(path)));
    std::fflush(stdout);
}

// The engine must not pick a display or a sandbox it cannot have.
void prepareEnvironment() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

// Rows of `these` that `those` lacks, counting repeats.
void printDifference(const char* title, const QStringList& these, const QStringList& those) {
    QHash<QString, int> left;
    for (const QString& row : those)
        left[row] += 1;
    QStringList extra;
    for (const QString& row : these) {
        if (left.value(row) > 0)
            left[row] -= 1;
        else
            extra << row;
    }
    if (extra.isEmpty())
        return;
    std::printf("%s: %lld\n", title, static_cast<long long>(extra.size()));
    for (const QString& row : extra.mid(0, 6))
        std::printf("  %s\n", qPrintable(row.left(300)));
}

void printErrors(const std::vector<Run>& runs) {
    for (const Run& run : runs) {
        if (!run.error.isEmpty())
            std::printf("failed: %s\n", qPrintable(run.error));
    }
}

// The reader beside the page with pictures on: the same rows, and no
// picture asked for by the reader.
bool compareRuns(const Run& reader, const Run& pictures) {
    const bool sameRows = reader.rows == pictures.rows;
    std::printf("report rows of the reader and with pictures on %s (%lld, %lld)\n",
                sameRows ? "agree" : "DIFFER", static_cast<long long>(reader.reportRows),
                static_cast<long long>(pictures.reportRows));
    printDifference("rows of the reader only", reader.rows, pictures.rows);
    printDifference("rows with pictures on only", pictures.rows, reader.rows);
    if (pictures.seconds > 0)
        std::printf("time reader / pictures on: %.3f\n", reader.seconds / pictures.seconds);
    if (reader.pictureRequests != 0)
        std::printf("the reader's hidden page asked for %lld pictures\n",
                    static_cast<long long>(reader.pictureRequests));
    return sameRows && reader.pictureRequests == 0 && reader.error.isEmpty() &&
           pictures.error.isEmpty();
}

// With plug-ins on, each embedded document is shown in a frame of its own
// viewer, which the snapshot reads as one more frame of the page.
void comparePlugins(const Run& reader, const Run& plugins) {
    std::printf("report rows with plug-ins on as well: %lld\n",
                static_cast<long long>(plugins.reportRows));
    printDifference("rows with plug-ins on only", plugins.rows, reader.rows);
    if (plugins.seconds > 0)
        std::printf("time reader / pictures and plug-ins on: %.3f\n",
                    reader.seconds / plugins.seconds);
}

// Each run has a server of its own, so a page's address differs by its
// port as well as by its tag from one run to the next.
Run runPlan(const Plan& plan, const Site& site, const QString& folder, int first, int count) {
    ServerThread server;
    QString base;
    servePagesFor(server, folder, site, first + count, plan.tag, base);
    if (base.isEmpty()) {
        Run failed;
        failed.name = plan.name;
        failed.error = QStringLiteral("the local web server did not start");
        return failed;
    }
    return readPages(plan, pageUrls(base, first, count, plan.tag), server);
}

} // namespace

int main(int argc, char* argv[]) {
    prepareEnvironment();
    QApplication app(argc, argv);
    const int pages = argc > 1 ? QByteArray(argv[1]).toInt() : kDefaultPages;
    if (pages <= 0) {
        std::fprintf(stderr, "usage: bench_page_reader [pages]\n");
        return 2;
    }
    QTemporaryDir folder;
    const Site site = makeSite(pages + kWarmUpPages);
    // The engine starts with the first page: the warm-up pays for that.
    const Plan warmUp{QStringLiteral("warm-up (not counted)"), QStringLiteral("run=warm")};
    printRun(runPlan(warmUp, site, folder.path(), pages, kWarmUpPages));
    const std::vector<Plan> plans{
        {QStringLiteral("reader (no pictures, no plug-ins)"), QStringLiteral("run=1")},
        {QStringLiteral("pictures on"), QStringLiteral("run=2"), true},
        {QStringLiteral("pictures and plug-ins on"), QStringLiteral("run=3"), true, true}};
    std::vector<Run> runs;
    for (const Plan& plan : plans) {
        runs.push_back(runPlan(plan, site, folder.path(), 0, pages));
        printRun(runs.back());
    }
    printErrors(runs);
    const bool sound = compareRuns(runs.at(0), runs.at(1));
    comparePlugins(runs.at(0), runs.at(2));
    return sound ? 0 : 1;
}
