#include "harvest/LinkFilter.h"

#include "harvest/HarvestState.h"

#include <algorithm>

LinkFilter::LinkFilter(HarvestState& state) : m_state(state) {}

bool LinkFilter::add(const QString& url) {
    if (hasExcludedWord(url) || isListed(url))
        return false;
    m_state.linkList.append(url);
    return true;
}

const QStringList& LinkFilter::excludedWords() {
    static const QStringList words{QStringLiteral("secur"),  QStringLiteral("edu"),
                                   QStringLiteral("member"), QStringLiteral("mailto"),
                                   QStringLiteral("/~"),     QStringLiteral("support"),
                                   QStringLiteral("signup"), QStringLiteral("aggre"),
                                   QStringLiteral("pl"),     QStringLiteral("merchant")};
    return words;
}

bool LinkFilter::hasExcludedWord(const QString& url) {
    const QStringList& words = excludedWords();
    return std::any_of(words.begin(), words.end(), [&url](const QString& word) {
        return url.contains(word, Qt::CaseInsensitive);
    });
}

// Exact comparisons. The visited links are looked at only from inside the
// walk over the link list, so they count only while the link list has an
// entry: a visited URL is taken again once the list has run empty.
bool LinkFilter::isListed(const QString& url) const {
    if (m_state.linkList.contains(url))
        return true;
    return !m_state.linkList.isEmpty() && m_state.visitedLinks.contains(url);
}
