#include "harvest/RobotsRules.h"

#include <QStringList>
#include <algorithm>

namespace {

// The groups of one file, each with its agent names and its lines.
struct Group {
    QStringList agents;
    QList<QPair<QString, QString>> lines; // field (lower case), value
};

QList<Group> groups(const QString& text) {
    QList<Group> found;
    bool inAgents = false;
    for (QString line : text.split(QLatin1Char('\n'))) {
        line = line.left(line.indexOf(QLatin1Char('#'))).trimmed();
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon < 0)
            continue;
        const QString field = line.left(colon).trimmed().toLower();
        const QString value = line.mid(colon + 1).trimmed();
        if (field == QLatin1String("user-agent")) {
            // Agent lines in a row share the rules that follow them.
            if (!inAgents)
                found.append(Group{});
            found.last().agents << value.toLower();
            inAgents = true;
        } else if (!found.isEmpty()) {
            found.last().lines.append({field, value});
            inAgents = false;
        }
    }
    return found;
}

QList<Group> groupsFor(const QList<Group>& all, const QString& agent) {
    QList<Group> named;
    QList<Group> anyone;
    for (const Group& group : all) {
        if (group.agents.contains(agent))
            named << group;
        else if (group.agents.contains(QStringLiteral("*")))
            anyone << group;
    }
    return named.isEmpty() ? anyone : named;
}

} // namespace

RobotsRules RobotsRules::parse(const QString& text, const QString& agentToken) {
    RobotsRules rules;
    bool delaySeen = false;
    for (const Group& group : groupsFor(groups(text), agentToken.toLower())) {
        for (const auto& [field, value] : group.lines) {
            if (field == QLatin1String("allow") || field == QLatin1String("disallow"))
                rules.addRule(field == QLatin1String("allow"), value);
            else if (field == QLatin1String("crawl-delay") && !delaySeen)
                delaySeen = rules.setCrawlDelay(value);
        }
    }
    return rules;
}

QString RobotsRules::productToken(const QString& userAgent) {
    const QString trimmed = userAgent.trimmed();
    qsizetype end = 0;
    while (end < trimmed.size() && trimmed.at(end) != QLatin1Char('/') &&
           !trimmed.at(end).isSpace())
        ++end;
    return trimmed.left(end);
}

// An empty pattern is no rule ("Disallow:" allows everything); the rules
// past the cap, and a pattern past its length, are left out.
void RobotsRules::addRule(bool allow, const QString& pattern) {
    if (pattern.isEmpty() || pattern.size() > kMaxRuleCharacters || m_rules.size() >= kMaxRules)
        return;
    m_rules.append({allow, RobotsPattern(pattern)});
}

// True when `seconds` is a delay, a number above 0: the first one found
// counts.
bool RobotsRules::setCrawlDelay(const QString& seconds) {
    bool ok = false;
    const double asked = seconds.toDouble(&ok);
    if (!ok || !(asked > 0))
        return false;
    m_crawlDelayMs = static_cast<int>(std::min(asked * 1000, double(kMaxCrawlDelayMs)));
    return true;
}

bool RobotsRules::allows(const QString& path) const {
    if (path == QLatin1String("/robots.txt"))
        return true;
    const Rule* decisive = nullptr;
    for (const Rule& candidate : m_rules) {
        if (!candidate.pattern.matches(path))
            continue;
        const qsizetype length = candidate.pattern.length();
        const qsizetype longest = decisive ? decisive->pattern.length() : -1;
        if (length > longest || (length == longest && candidate.allow))
            decisive = &candidate;
    }
    return !decisive || decisive->allow;
}
