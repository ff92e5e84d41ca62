#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The featured-pages rotation: the pages the channel server features, shown
// one at a time, each only while it is not in the seen list (kept by the
// caller and saved between runs).
class FeaturedPages {
public:
    explicit FeaturedPages(QStringList& seen) : m_seen(seen) {}

    const QStringList& pending() const { return m_pending; }
    void append(const QStringList& pages) { m_pending.append(pages); }

    // Drops the seen pages from the front; the first unseen one is then
    // taken off the list, marked seen and returned. No value when every
    // page has been seen.
    std::optional<QString> step();
    // Every page has been seen: the rotation starts again from an empty
    // seen list.
    void restart() { m_seen.clear(); }

private:
    QStringList m_pending;
    QStringList& m_seen;
};
