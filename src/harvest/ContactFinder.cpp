#include "harvest/ContactFinder.h"

#include "harvest/DocumentSnapshot.h"
#include "harvest/HarvestState.h"
#include "harvest/PageSummary.h"
#include "platform/Prompts.h"

const QStringList& ContactFinder::emailKeywords() {
    static const QStringList words{QStringLiteral("mailto:")};
    return words;
}

const QStringList& ContactFinder::contactKeywords() {
    static const QStringList words{QStringLiteral("contact"), QStringLiteral("mail"),
                                   QStringLiteral("phone"),   QStringLiteral("fax"),
                                   QStringLiteral("address"), QStringLiteral("write"),
                                   QStringLiteral("people"),  QStringLiteral("stuff")};
    return words;
}

// "(   )" and "-   -" catch phone numbers written with blanks for digits.
const QStringList& ContactFinder::addLinkKeywords() {
    static const QStringList words{QStringLiteral("contact"), QStringLiteral("tel"),
                                   QStringLiteral("phone"),   QStringLiteral("fax"),
                                   QStringLiteral("address"), QStringLiteral("(   )"),
                                   QStringLiteral("-   -")};
    return words;
}

ContactFinder::CrawlStart ContactFinder::findEmail(HarvestState& state, QStringList& keywords,
                                                   Prompts& prompts) {
    return prepareCrawl(emailKeywords(), state, keywords, prompts);
}

ContactFinder::CrawlStart ContactFinder::findContact(HarvestState& state, QStringList& keywords,
                                                     Prompts& prompts) {
    return prepareCrawl(contactKeywords(), state, keywords, prompts);
}

ContactFinder::CrawlStart ContactFinder::prepareCrawl(const QStringList& keywordSet,
                                                      HarvestState& state, QStringList& keywords,
                                                      Prompts& prompts) {
    if (state.linkList.isEmpty())
        prompts.message(QStringLiteral("You need get links before, click on 'Links Editor' menu "
                                       "and next click 'Get Links'"),
                        QStringLiteral("Warning!!!"));
    keywords = keywordSet;
    state.foundPages.clear();
    return CrawlStart{QString()};
}

QStringList ContactFinder::addLink(const DocumentSnapshot* document, HarvestState& state,
                                   QStringList& keywords, bool& collectImages, Prompts& prompts) {
    keywords = addLinkKeywords();
    if (!document) {
        // Nothing to summarise; the box still ends without items.
        keywords.clear();
        return {};
    }
    QStringList rows =
        PageSummary::addLinkSummary(*document, state, keywords, collectImages, prompts);
    for (const DocumentSnapshot& frame : document->frames)
        rows += PageSummary::addLinkSummary(frame, state, keywords, collectImages, prompts);
    return rows;
}
