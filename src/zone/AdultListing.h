#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The adult listing (the private history list) as the public zone's
// blocked-site list: an address is refused when it contains one of the
// listing's entries, in any letter case.
class AdultListing {
public:
    // The first entry the text contains; empty entries never match.
    static std::optional<QString> firstMatch(const QString& text, const QStringList& listing);
    // Adds the host of each link, unless an equal entry is listed already.
    static void create(const QStringList& links, QStringList& listing);
    // The host of a link: the text after "://" up to the next "/"; empty
    // when no "/" follows the host.
    static QString hostOf(const QString& link);
};
