#include "zone/AdultListing.h"

namespace {

// Where the host starts in an address without "://": after a four-letter
// scheme and its "://".
constexpr qsizetype kHostStart = 7;

} // namespace

std::optional<QString> AdultListing::firstMatch(const QString& text, const QStringList& listing) {
    for (const QString& entry : listing)
        if (!entry.isEmpty() && text.contains(entry, Qt::CaseInsensitive))
            return entry;
    return std::nullopt;
}

void AdultListing::create(const QStringList& links, QStringList& listing) {
    for (const QString& link : links) {
        const QString host = hostOf(link);
        if (!host.isEmpty() && !listing.contains(host))
            listing.append(host);
    }
}

QString AdultListing::hostOf(const QString& link) {
    const qsizetype scheme = link.indexOf(QLatin1String("://"));
    const qsizetype start = scheme < 0 ? kHostStart : scheme + 3;
    const qsizetype end = link.indexOf(QLatin1Char('/'), start);
    return end < 0 ? QString() : link.mid(start, end - start);
}
