#pragma once

#include <QString>
#include <QStringList>

struct DocumentSnapshot;
class HarvestState;
class Prompts;

// The commands that look for ways to reach a page's owner. "Find e-mail"
// and "Find contact" prepare a crawl of the link list with a fixed keyword
// set; "Add Link" takes the page summary of the page in view 1 and of each
// of its frames. Each command replaces the items of the search-words box
// (`keywords`) with its own keyword set, dropping the user's words.
class ContactFinder {
public:
    // What the window shows after "Find e-mail" or "Find contact", before it
    // runs the crawler's dispatch.
    struct CrawlStart {
        QString statusPanel2;
    };

    static const QStringList& emailKeywords();
    static const QStringList& contactKeywords();
    static const QStringList& addLinkKeywords();

    // Warns when the link list is empty (and goes on), sets the keywords and
    // clears the found-pages list. The caller then runs the crawl dispatch.
    static CrawlStart findEmail(HarvestState& state, QStringList& keywords, Prompts& prompts);
    static CrawlStart findContact(HarvestState& state, QStringList& keywords, Prompts& prompts);

    // "Add Link" on view 1's document (null when the view has none): the
    // page's summary, then one for each of its frames. The first summary
    // clears the keywords, so frames give no paragraph rows; the image
    // question is asked for every summary. Returns the rows appended to the
    // report buffer.
    static QStringList addLink(const DocumentSnapshot* document, HarvestState& state,
                               QStringList& keywords, bool& collectImages, Prompts& prompts);

private:
    static CrawlStart prepareCrawl(const QStringList& keywordSet, HarvestState& state,
                                   QStringList& keywords, Prompts& prompts);
};
