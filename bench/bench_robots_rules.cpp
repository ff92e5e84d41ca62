// Reading a site's robots.txt and asking it about addresses, as the site
// gate does before every page of a harvest: a hostile file whose patterns
// would make a backtracking matcher try every way to split the path, the
// same patterns filling the 512 KiB the gate reads at most, and a large
// ordinary file asked about many addresses.

#include "harvest/RobotsRules.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <cstdio>

namespace {

const QString kHostileRule = QStringLiteral("Disallow: /*a*a*a*a*a*a*a*a*a*a*a*a*b\n");
constexpr qsizetype kRobotsCharacters = 512 * 1024;

struct Case {
    const char* name;
    QString robots;
    QStringList paths;
};

QString hostileRules(qsizetype characters) {
    QString robots = QStringLiteral("User-agent: *\n");
    while (robots.size() + kHostileRule.size() <= characters)
        robots += kHostileRule;
    return robots;
}

// The page of the report links to "/b" followed by forty "a"s, which no
// rule matches; twelve "a"s and a "b" match them all.
QStringList hostilePaths() {
    return {QStringLiteral("/b") + QString(40, QLatin1Char('a')),
            QStringLiteral("/") + QString(12, QLatin1Char('a')) + QStringLiteral("b")};
}

// A shop's file: per folder a private part with an open corner, and its
// PDF files; asked about pages in and around every folder, half of them
// allowed.
Case ordinary(int folders, int pathsPerFolder) {
    Case ordinary{"ordinary", QStringLiteral("User-agent: *\n"), {}};
    for (int folder = 0; folder < folders; ++folder) {
        const QString dir = QStringLiteral("/dir%1/").arg(folder);
        ordinary.robots += QStringLiteral("Disallow: %1private\nDisallow: %1*.pdf$\n"
                                          "Allow: %1private/open/\n")
                               .arg(dir);
        for (int page = 0; page < pathsPerFolder; ++page)
            ordinary.paths << dir + QStringLiteral("private/open/p%1.htm").arg(page)
                           << dir + QStringLiteral("private/p%1.htm").arg(page)
                           << dir + QStringLiteral("docs/p%1.pdf").arg(page)
                           << dir + QStringLiteral("docs/p%1.pdf?x=1").arg(page);
    }
    return ordinary;
}

double millisecondsOf(const QElapsedTimer& timer) {
    return double(timer.nsecsElapsed()) / 1e6;
}

void run(const Case& one) {
    QElapsedTimer timer;
    timer.start();
    const RobotsRules rules = RobotsRules::parse(one.robots, QStringLiteral("Quillmart"));
    const double parseMs = millisecondsOf(timer);
    timer.restart();
    qsizetype allowed = 0;
    for (const QString& path : one.paths)
        allowed += rules.allows(path) ? 1 : 0;
    const double askMs = millisecondsOf(timer);
    std::printf("%-12s %8lld chars %6lld paths %10.2f ms to read %12.3f ms to ask "
                "(%.3f ms a path), %lld allowed\n",
                one.name, static_cast<long long>(one.robots.size()),
                static_cast<long long>(one.paths.size()), parseMs, askMs,
                askMs / double(one.paths.size()), static_cast<long long>(allowed));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList wanted = app.arguments().mid(1);
    if (wanted.isEmpty())
        wanted = {QStringLiteral("hostile"), QStringLiteral("hostile-512k"),
                  QStringLiteral("ordinary")};
    for (const QString& name : wanted) {
        if (name == QLatin1String("hostile"))
            run({"hostile", hostileRules(14 + 100 * kHostileRule.size()), hostilePaths()});
        else if (name == QLatin1String("hostile-512k"))
            run({"hostile-512k", hostileRules(kRobotsCharacters), hostilePaths()});
        else if (name == QLatin1String("ordinary"))
            run(ordinary(500, 2));
        else {
            std::fprintf(stderr, "usage: bench_robots_rules [hostile] [hostile-512k] "
                                 "[ordinary]\n");
            return 2;
        }
    }
    return 0;
}
