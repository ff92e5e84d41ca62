#pragma once

#include <QString>
#include <QStringList>

// The newest entries of a list that would otherwise grow for as long as the
// program runs, such as the order log: at most `maxEntries` entries of
// together at most `maxCharacters` characters. The oldest entries are let
// go to make room, and counted; the newest entry is kept however long it
// is.
class RecentEntries {
public:
    RecentEntries(qsizetype maxEntries, qsizetype maxCharacters);

    void add(const QString& entry);

    // Oldest first.
    const QStringList& entries() const { return m_entries; }
    qsizetype size() const { return m_entries.size(); }
    bool isEmpty() const { return m_entries.isEmpty(); }
    // The entries let go so far.
    qint64 dropped() const { return m_dropped; }
    // Every entry added so far, kept or let go.
    qint64 added() const { return m_dropped + m_entries.size(); }
    // The kept entries that came after the first `count` ever added: what a
    // view that showed `count` entries has yet to show.
    QStringList addedAfter(qint64 count) const;

private:
    QStringList m_entries;
    qsizetype m_characters = 0;
    qint64 m_dropped = 0;
    qsizetype m_maxEntries;
    qsizetype m_maxCharacters;
};
