#include "orders/RecentEntries.h"

#include <algorithm>

RecentEntries::RecentEntries(qsizetype maxEntries, qsizetype maxCharacters)
    : m_maxEntries(maxEntries), m_maxCharacters(maxCharacters) {}

void RecentEntries::add(const QString& entry) {
    m_entries << entry;
    m_characters += entry.size();
    while (m_entries.size() > 1 &&
           (m_entries.size() > m_maxEntries || m_characters > m_maxCharacters)) {
        m_characters -= m_entries.takeFirst().size();
        ++m_dropped;
    }
}

QStringList RecentEntries::addedAfter(qint64 count) const {
    const qsizetype fresh = qsizetype(std::clamp<qint64>(added() - count, 0, m_entries.size()));
    return m_entries.mid(m_entries.size() - fresh);
}
