#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

struct DocumentSnapshot;
class HarvestState;
class SiteGate;

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

    // With a gate, the walk leaves out what a site's robots.txt disallows
    // and waits for its site when the gate says so.
    explicit LinkWalker(HarvestState& state, SiteGate* gate = nullptr);

    // Takes the first link-list entry this walk has not walked yet, records
    // it as visited and in `walked`; entries walked before are dropped from
    // the front on the way. Nothing when no such entry is left (the walk
    // then rests) or when the first must wait (`waiting`). So a walk opens
    // each address once, even where pages link to each other and the
    // filtered add takes a visited address again.
    std::optional<QString> nextUrl(QSet<QString>& walked);
    bool waiting() const { return m_waiting; }
    // The entries the gate left out on the way.
    const QStringList& skipped() const { return m_skipped; }

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
    SiteGate* m_gate;
    bool m_waiting = false;
    QStringList m_skipped;
};
