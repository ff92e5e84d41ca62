#pragma once

#include "harvest/PageFindings.h"
#include "harvest/RowIndex.h"

#include <QList>
#include <QString>

struct DocumentSnapshot;
class HarvestState;

// A harvested link whose URL names a RealAudio file, for the MP3 buffer.
struct RamLink {
    int index = 0; // the link's position in its document's links
    QString url;
    QString row;
};

// What the window shows after "Get/Add all Links".
struct GetLinksResult {
    QString activityText; // status panel 1
    QString countText;    // status panel 2
    QList<RamLink> ramLinks;
};

// "Get/Add all Links": every link of the shown page and of its frames that
// is not yet in a report row (and, with a search word, mentions it) becomes
// a report row, a link-list entry and a found-URL entry.
class LinkHarvester {
public:
    explicit LinkHarvester(HarvestState& state);

    // Status panel 1 while the command runs.
    static QString workingText();

    // `visibleDocuments`: the documents of the visible views, view 1 first;
    // `searchWord`: the search-words box's text.
    GetLinksResult getAllLinks(const QList<DocumentSnapshot>& visibleDocuments,
                               const QString& searchWord);

private:
    struct Pass {
        RowIndex rows;
        QString searchWord;
        QList<RamLink> ramLinks;
        PageFindings* page; // the document whose links are being taken
    };

    void extractLinks(const DocumentSnapshot& document, Pass& pass);
    void harvestLink(int index, const QString& url, const QString& outerText, Pass& pass);

    HarvestState& m_state;
};
