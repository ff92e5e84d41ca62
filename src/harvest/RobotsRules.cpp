#include "harvest/RobotsRules.h"

#include <QStringList>

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
            if ((field == QLatin1String("allow") || field == QLatin1String("disallow")) &&
                !value.isEmpty()) {
                rules.m_rules << rule(field == QLatin1String("allow"), value);
            } else if (field == QLatin1String("crawl-delay") && !delaySeen) {
                bool ok = false;
                const double seconds = value.toDouble(&ok);
                if (ok && seconds > 0 && seconds < 86400) {
                    rules.m_crawlDelayMs = static_cast<int>(seconds * 1000);
                    delaySeen = true;
                }
            }
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

RobotsRules::Rule RobotsRules::rule(bool allow, const QString& pattern) {
    const bool anchored = pattern.endsWith(QLatin1Char('$'));
    const QString body = anchored ? pattern.chopped(1) : pattern;
    QStringList parts;
    for (const QString& part : body.split(QLatin1Char('*')))
        parts << QRegularExpression::escape(part);
    const QString expression =
        QStringLiteral("\\A") + parts.join(QStringLiteral(".*")) + (anchored ? "\\z" : "");
    return {allow, pattern.size(), QRegularExpression(expression)};
}

bool RobotsRules::allows(const QString& path) const {
    if (path == QLatin1String("/robots.txt"))
        return true;
    const Rule* decisive = nullptr;
    for (const Rule& candidate : m_rules) {
        if (!candidate.pattern.match(path).hasMatch())
            continue;
        if (!decisive || candidate.length > decisive->length ||
            (candidate.length == decisive->length && candidate.allow))
            decisive = &candidate;
    }
    return !decisive || decisive->allow;
}
