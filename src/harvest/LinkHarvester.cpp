#include "harvest/LinkHarvester.h"

#include "harvest/DocumentSnapshot.h"
#include "harvest/HarvestState.h"
#include "harvest/LinkRow.h"
#include "harvest/WebMarkup.h"

LinkHarvester::LinkHarvester(HarvestState& state) : m_state(state) {}

QString LinkHarvester::workingText() {
    return QStringLiteral("Working...");
}

GetLinksResult LinkHarvester::getAllLinks(const QList<DocumentSnapshot>& visibleDocuments,
                                          const QString& searchWord) {
    m_state.pageQueue.clear();
    m_state.linksArmed = true;
    // The index starts from the rows already in the report buffer and grows
    // with every row added below, so it always answers for the whole buffer.
    Pass pass{RowIndex(m_state.reportBuffer), searchWord, {}, nullptr};
    for (const DocumentSnapshot& document : visibleDocuments)
        extractLinks(document, pass);

    GetLinksResult result;
    result.activityText = QStringLiteral("Done");
    result.countText = QStringLiteral("Found - %1 links").arg(m_state.linkList.size());
    result.ramLinks = pass.ramLinks;
    return result;
}

// A frameset document has no BODY and gives links only through its frames.
// Snapshots are finite trees, so a page that frames itself still ends.
void LinkHarvester::extractLinks(const DocumentSnapshot& document, Pass& pass) {
    if (document.bodyTagName == QLatin1String("BODY")) {
        PageFindings page{document.url, document.title, QDateTime::currentDateTimeUtc(), {}};
        pass.page = &page;
        for (int i = 0; i < document.links.size(); ++i)
            harvestLink(i, document.links[i].href, document.links[i].outerText, pass);
        pass.page = nullptr;
        if (!page.findings.isEmpty())
            m_state.findings.append(page);
    }
    for (const DocumentSnapshot& frame : document.frames)
        extractLinks(frame, pass);
}

// A URL already written into any report row, even as part of a longer URL,
// is skipped; the link list itself is not consulted. Rows hold the escaped
// forms, so the URL and the search word are looked for escaped.
void LinkHarvester::harvestLink(int index, const QString& url, const QString& outerText,
                                Pass& pass) {
    if (pass.rows.occursInAnyRow(WebMarkup::text(url)))
        return;
    const QString row = LinkRow::make(url, outerText);
    if (!pass.searchWord.isEmpty() &&
        !row.contains(WebMarkup::text(pass.searchWord), Qt::CaseInsensitive))
        return;
    m_state.reportBuffer.append(row);
    pass.rows.addRow(row);
    m_state.linkList.append(url);
    m_state.foundUrls.append(url);
    pass.page->findings.append({PageFindings::Finding::Kind::Link, url, outerText});
    if (url.contains(QLatin1String(".ram"), Qt::CaseInsensitive))
        pass.ramLinks.append(RamLink{index, url, row});
}
