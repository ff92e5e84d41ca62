#include "channels/FeaturedPages.h"

std::optional<QString> FeaturedPages::step() {
    while (!m_pending.isEmpty() && m_seen.contains(m_pending.first()))
        m_pending.removeFirst();
    if (m_pending.isEmpty())
        return std::nullopt;
    const QString page = m_pending.takeFirst();
    m_seen.append(page);
    return page;
}
