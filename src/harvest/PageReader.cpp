#include "harvest/PageReader.h"

#include "harvest/DocumentSnapshot.h"
#include "harvest/HarvestState.h"
#include "harvest/PageSummary.h"
#include "harvest/ReportPages.h"
#include "platform/Logging.h"

PageReader::PageReader(HarvestState& state) : m_state(state) {}

std::optional<PageReader::Step> PageReader::step(bool viewBusy) {
    if (m_state.pageQueue.isEmpty() || viewBusy)
        return std::nullopt;
    Step next;
    next.url = m_state.pageQueue.takeFirst();
    next.statusPanel1 = next.url;
    next.statusPanel2 = leftText(m_state.pageQueue.size());
    return next;
}

PageReader::Loaded PageReader::pageLoaded(const DocumentSnapshot* document,
                                          const QStringList& keywords, bool collectImages,
                                          bool view1Busy) {
    Loaded loaded;
    if (document) {
        loaded.summaryRows =
            PageSummary::reportSummary(*document, m_state, keywords, collectImages);
        qCDebug(lcHarvest) << "page read:" << document->url << loaded.summaryRows.size()
                           << "report rows";
    }
    if (!m_state.pageQueue.isEmpty()) {
        loaded.next = Next::ReadNext;
    } else if (!view1Busy) {
        loaded.next = Next::WriteReport;
        loaded.reportWrites = ReportPages::fullReportWrites(m_state);
    }
    return loaded;
}

// No blank after "-" and none before "pages".
QString PageReader::leftText(qsizetype queueCount) {
    return QStringLiteral("Left -%1pages to read").arg(queueCount);
}
