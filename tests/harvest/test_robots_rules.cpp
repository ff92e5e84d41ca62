// A site's robots.txt: its patterns against paths, the groups and rules
// that decide, and how much of a hostile file is kept.

#include "harvest/RobotsPattern.h"
#include "harvest/RobotsRules.h"

#include <QtTest>

namespace {

const QString kHostileRule = "Disallow: /*a*a*a*a*a*a*a*a*a*a*a*a*b\n";

// `count` rules "Disallow: /kN", then `last`.
QString manyRules(qsizetype count, const QString& last) {
    QString robots = "User-agent: *\n";
    for (qsizetype index = 0; index < count; ++index)
        robots += QString("Disallow: /k%1\n").arg(index);
    return robots + last;
}

void patternRow(const char* name, const QString& pattern, const QString& path, bool matches) {
    QTest::newRow(name) << pattern << path << matches;
}

void rulesRow(const char* name, const QString& robots, const QString& path, bool allowed,
              int delayMs) {
    QTest::newRow(name) << robots << path << allowed << delayMs;
}

} // namespace

class TestRobotsRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // From the start of the path, "*" stands for any characters and a final
    // "$" for the end; every other character stands for itself.
    void patternMatches_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("matches");
        patternRow("a prefix", "/a/b", "/a/b/c", true);
        patternRow("only from the start", "/b", "/a/b", false);
        patternRow("star for characters", "/a*/c", "/a/b/c", true);
        patternRow("pieces in their order", "/*b*a", "/ab", false);
        patternRow("leading star", "*.pdf", "/d/e.pdf", true);
        patternRow("end", "/a$", "/a", true);
        patternRow("before the end", "/a$", "/ab", false);
        patternRow("end after a star", "/*.pdf$", "/e.pdf.pdf", true);
        patternRow("not the end after a star", "/*.pdf$", "/e.pdf?x", false);
        patternRow("end piece after the others", "/a*ab$", "/ab", false);
        patternRow("a dollar inside", "/a$b", "/a$bc", true);
        patternRow("after a partial match", "/*aab", "/aaab", true);
        patternRow("overlapping beginnings", "/*aabaaab", "/aabaabaaab", true);
    }

    void patternMatches() {
        QFETCH(QString, pattern);
        QFETCH(QString, path);
        QFETCH(bool, matches);
        QCOMPARE(RobotsPattern(pattern).matches(path), matches);
    }

    // Our group wins over "*", named in any letter case; the longest match
    // decides, Allow on a tie. The first Crawl-delay counts, cut to its cap.
    // Only so many rules are kept, none overlong.
    void rulesDecide_data() {
        QTest::addColumn<QString>("robots");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("allowed");
        QTest::addColumn<int>("delayMs");
        const QString grouped = "User-agent: *\nDisallow: /\n\n# ours\nUser-agent: other\n"
                                "USER-AGENT: QuillMart\nDisallow: /a # comment\nAllow: /a/b\n"
                                "Crawl-delay: 2.5\nCrawl-delay: 1\n";
        const QString all = "User-agent: *\nDisallow: /";
        const QString longest = "/" + QString(RobotsRules::kMaxRuleCharacters - 1, 'x');
        const qsizetype cap = RobotsRules::kMaxRules;
        rulesRow("our group", grouped, "/a/c", false, 2500);
        rulesRow("longer allow", grouped, "/a/b/c", true, 2500);
        rulesRow("no rule", grouped, "/z", true, 2500);
        rulesRow("robots.txt itself", all, "/robots.txt", true, 0);
        rulesRow("anyone's group", all, "/z", false, 0);
        rulesRow("allow on a tie", "User-agent: *\nDisallow: /x\nAllow: /x", "/x", true, 0);
        rulesRow("CR LF", "User-agent: *\r\nDisallow: /*.pdf$\r\n", "/d/e.pdf", false, 0);
        rulesRow("empty disallow, no delay", "User-agent: *\nDisallow:\nCrawl-delay: x", "/a", true,
                 0);
        rulesRow("a day's delay", "User-agent: *\nCrawl-delay: 86000", "/a", true,
                 RobotsRules::kMaxCrawlDelayMs);
        rulesRow("the last rule kept", manyRules(cap - 1, "Disallow: /"), "/z", false, 0);
        rulesRow("a rule past the cap", manyRules(cap, "Disallow: /"), "/z", true, 0);
        rulesRow("the longest rule", "User-agent: *\nDisallow: " + longest, longest, false, 0);
        rulesRow("an overlong rule", "User-agent: *\nDisallow: " + longest + "x", longest + "x",
                 true, 0);
    }

    void rulesDecide() {
        QFETCH(QString, robots);
        QFETCH(QString, path);
        QFETCH(bool, allowed);
        QFETCH(int, delayMs);
        const RobotsRules rules =
            RobotsRules::parse(robots, RobotsRules::productToken("Quillmart/6.0 (harvest)"));
        QCOMPARE(rules.allows(path), allowed);
        QCOMPARE(rules.crawlDelayMs(), delayMs);
    }

    // A hundred patterns that would make a backtracking matcher try every
    // way to split the path still decide as they say (bench_robots_rules
    // times them).
    void hostileFileDecidesAsItSays() {
        const RobotsRules rules =
            RobotsRules::parse("User-agent: *\n" + kHostileRule.repeated(100), "Quillmart");
        QVERIFY(rules.allows("/b" + QString(40, 'a')));
        QVERIFY(!rules.allows("/" + QString(12, 'a') + "b"));
    }
};

QTEST_GUILESS_MAIN(TestRobotsRules)
#include "test_robots_rules.moc"
