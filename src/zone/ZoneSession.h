#pragma once

#include "zone/PrivateZoneRow.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The zone state of one browser run: whether the user is in the private
// zone and has tracking on, the private-zone table, the two histories (the
// private one is also the public zone's adult listing), the two favourites
// lists and the featured pages already seen.
class ZoneSession {
public:
    // The lists the user sees; the order is the favourites panel's.
    enum List { PrivateFavourites, PublicFavourites, PrivateHistory, PublicHistory };

    bool inPrivateZone() const { return m_private; }
    bool tracking() const { return m_tracking; }
    // Logging in; tracking stays as it was until asked.
    void enterPrivateZone() { m_private = true; }
    // Logging out ends tracking too.
    void leavePrivateZone();
    void setTracking(bool on) { m_tracking = on; }

    const QList<PrivateZoneRow>& privateZoneTable() const { return m_table; }
    void addPrivateZoneRow(const PrivateZoneRow& row) { m_table.append(row); }
    void setPrivateZoneTable(const QList<PrivateZoneRow>& rows) { m_table = rows; }
    // The row whose password equals `password`; an empty password never
    // matches, even a row without one.
    std::optional<qsizetype> findRow(const QString& password) const;

    const QStringList& entries(List which) const;
    void setEntries(List which, const QStringList& entries);
    // Adds the lines not listed yet (a list file read at start).
    void addNew(List which, const QStringList& lines);
    // Removes entry `row` of a history list, if there is one.
    void removeHistoryEntry(List which, int row);
    // Appends `url` to a favourites list and rewrites its add/delete file
    // at `path`; remove drops entry `row` and rewrites it too.
    void addFavourite(List which, const QString& url, const QString& path);
    bool removeFavourite(List which, int row, const QString& path);

    // Records the domain of a completed document: in the public history
    // outside the private zone, in the private history inside it while
    // tracking is on, nowhere otherwise. True when the domain was added.
    bool recordVisit(const QString& domain);
    // The first adult-listing entry `address` contains; only the public
    // zone blocks addresses, so inside the private zone there is none.
    std::optional<QString> blockingEntry(const QString& address) const;
    // The hosts of `links` join the adult listing.
    void addToAdultListing(const QStringList& links);

    // The featured pages seen, counted once per showing; the featured
    // rotation marks and clears them.
    QStringList& seenFeatured() { return m_seenFeatured; }
    const QStringList& seenFeatured() const { return m_seenFeatured; }

private:
    template <typename Session> static auto& listOf(Session& session, List which);
    QStringList& list(List which);

    bool m_private = false;
    bool m_tracking = false;
    QList<PrivateZoneRow> m_table;
    QStringList m_privateFavourites;
    QStringList m_publicFavourites;
    QStringList m_privateHistory;
    QStringList m_publicHistory;
    QStringList m_seenFeatured;
};
