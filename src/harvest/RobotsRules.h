#pragma once

#include "harvest/RobotsPattern.h"

#include <QList>
#include <QString>

// The rules a site's robots.txt sets for one user agent: which paths it may
// read and how long to wait between two requests. The groups named after
// the agent's product token (in any letter case) apply, else those for
// "*". Of the Allow and Disallow patterns that match a path, the longest
// decides, Allow on a tie (see RobotsPattern for "*" and "$"). No rules (a
// missing or unreadable file) allow everything.
//
// The site writes the file, so only so much of it is kept: the first
// kMaxRules rules, none longer than kMaxRuleCharacters (the longest address
// a sitemap may list), and a Crawl-delay of at most kMaxCrawlDelayMs (a
// request's time-out): a longer one is cut to it.
class RobotsRules {
public:
    static constexpr qsizetype kMaxRules = 4000;
    static constexpr qsizetype kMaxRuleCharacters = 2048;
    static constexpr int kMaxCrawlDelayMs = 30000;

    // `agentToken` is the product token of the User-Agent, such as
    // "Quillmart" for "Quillmart/6.0".
    static RobotsRules parse(const QString& text, const QString& agentToken);
    // The product token of a User-Agent text: up to the first "/" or blank.
    static QString productToken(const QString& userAgent);

    // `path` is the address's path with its query, as sent ("/a/b?c=d").
    bool allows(const QString& path) const;
    // Crawl-delay in milliseconds; 0 when none is asked.
    int crawlDelayMs() const { return m_crawlDelayMs; }

private:
    struct Rule {
        bool allow;
        RobotsPattern pattern;
    };
    void addRule(bool allow, const QString& pattern);
    bool setCrawlDelay(const QString& seconds);

    QList<Rule> m_rules;
    int m_crawlDelayMs = 0;
};
