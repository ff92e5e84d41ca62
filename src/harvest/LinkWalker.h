#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

struct DocumentSnapshot;
class HarvestState;

// What one walked page gave: pictures for the picture buffer, in the order
// met, and status panel 2.
struct WalkHarvest {
    QStringList pictures;
    QString linksText;
};

// The link walker's decisions. The window owns the hidden page and its
// time-out: at each step it asks for the next URL (only while the page is
// not busy), opens it and starts the time-out; on each navigation-complete
// it hands over the page's snapshot, stops the page and steps again; on a
// time-out it stops the timer and the page and steps again.
class LinkWalker {
public:
    static constexpr int kTimeoutMs = 30000;

    explicit LinkWalker(HarvestState& state);

    // Takes the first link-list entry this walk has not walked yet, records
    // it as visited and in `walked`; entries walked before are dropped from
    // the front on the way. Nothing when no such entry is left (the walk
    // then rests). So a walk opens each address once, even where pages
    // link to each other and the filtered add takes a visited address again.
    std::optional<QString> nextUrl(QSet<QString>& walked);

    // Pictures (links to .jpg or .gif files, then every image) go to the
    // caller; every other link goes through the filtered add. Frames are
    // harvested after their page.
    WalkHarvest harvest(const DocumentSnapshot& document);

    // Status panel 4 once the caller has added the pictures.
    static QString picturesText(qsizetype pictureCount);

private:
    void harvestDocument(const DocumentSnapshot& document, QStringList& pictures);
    static bool isPicture(const QString& url);

    HarvestState& m_state;
};
