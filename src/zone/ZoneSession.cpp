#include "zone/ZoneSession.h"

#include "zone/AdultListing.h"
#include "zone/Favourites.h"

void ZoneSession::leavePrivateZone() {
    m_private = false;
    m_tracking = false;
}

std::optional<qsizetype> ZoneSession::findRow(const QString& password) const {
    if (password.isEmpty())
        return std::nullopt;
    for (qsizetype row = 0; row < m_table.size(); ++row)
        if (m_table.at(row).password == password)
            return row;
    return std::nullopt;
}

template <typename Session> auto& ZoneSession::listOf(Session& session, List which) {
    switch (which) {
    case PrivateFavourites:
        return session.m_privateFavourites;
    case PublicFavourites:
        return session.m_publicFavourites;
    case PrivateHistory:
        return session.m_privateHistory;
    case PublicHistory:
        break;
    }
    return session.m_publicHistory;
}

QStringList& ZoneSession::list(List which) {
    return listOf(*this, which);
}

const QStringList& ZoneSession::entries(List which) const {
    return listOf(*this, which);
}

void ZoneSession::setEntries(List which, const QStringList& entries) {
    list(which) = entries;
}

void ZoneSession::addNew(List which, const QStringList& lines) {
    QStringList& target = list(which);
    for (const QString& line : lines)
        if (!target.contains(line))
            target.append(line);
}

void ZoneSession::removeHistoryEntry(List which, int row) {
    QStringList& target = list(which);
    if (row >= 0 && row < target.size())
        target.removeAt(row);
}

void ZoneSession::addFavourite(List which, const QString& url, const QString& path) {
    Favourites::add(list(which), url, path);
}

bool ZoneSession::removeFavourite(List which, int row, const QString& path) {
    return Favourites::remove(list(which), row, path);
}

bool ZoneSession::recordVisit(const QString& domain) {
    // A page without a domain (a local file) records nothing: an empty
    // entry in the private list would block every public page.
    if (domain.isEmpty())
        return false;
    if (m_private && !m_tracking)
        return false;
    QStringList& target = m_private ? m_privateHistory : m_publicHistory;
    if (target.contains(domain))
        return false;
    target.append(domain);
    return true;
}

std::optional<QString> ZoneSession::blockingEntry(const QString& address) const {
    if (m_private)
        return std::nullopt;
    return AdultListing::firstMatch(address, m_privateHistory);
}

void ZoneSession::addToAdultListing(const QStringList& links) {
    AdultListing::create(links, m_privateHistory);
}
