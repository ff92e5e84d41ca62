#include "web/LinkWalker.h"

#include "harvest/DocumentSnapshot.h"
#include "harvest/HarvestState.h"
#include "harvest/LinkFilter.h"
#include "harvest/WebMarkup.h"
#include "web/SiteGate.h"

LinkWalker::LinkWalker(HarvestState& state, SiteGate* gate) : m_state(state), m_gate(gate) {}

std::optional<QString> LinkWalker::nextUrl(QSet<QString>& walked) {
    m_waiting = false;
    while (!m_state.linkList.isEmpty()) {
        const QString url = m_state.linkList.first();
        // The walk opens web pages only: a page could list local files or
        // scripts.
        if (walked.contains(url) || !WebMarkup::isPageAddress(url)) {
            m_state.linkList.removeFirst();
            continue;
        }
        const SiteGate::Verdict verdict = m_gate ? m_gate->verdict(url) : SiteGate::Verdict::Go;
        if (verdict == SiteGate::Verdict::Wait) {
            m_waiting = true;
            return std::nullopt;
        }
        m_state.linkList.removeFirst();
        if (verdict == SiteGate::Verdict::Skip) {
            m_skipped << url;
            continue;
        }
        walked.insert(url);
        m_state.visitedLinks.append(url);
        return url;
    }
    return std::nullopt;
}

WalkHarvest LinkWalker::harvest(const DocumentSnapshot& document) {
    WalkHarvest result;
    harvestDocument(document, result.pictures);
    // Two blanks before "!".
    result.linksText = QStringLiteral("Found - %1 links  ! ").arg(m_state.linkList.size());
    return result;
}

QString LinkWalker::picturesText(qsizetype pictureCount) {
    return QStringLiteral("Found - %1 pictures ! ").arg(pictureCount);
}

void LinkWalker::harvestDocument(const DocumentSnapshot& document, QStringList& pictures) {
    if (document.bodyTagName == QLatin1String("BODY")) {
        LinkFilter filter(m_state);
        for (const DocumentSnapshot::Link& link : document.links) {
            if (isPicture(link.href))
                pictures.append(link.href);
            else
                filter.add(link.href);
        }
        pictures.append(document.imageSources);
    }
    for (const DocumentSnapshot& frame : document.frames)
        harvestDocument(frame, pictures);
}

bool LinkWalker::isPicture(const QString& url) {
    return url.contains(QLatin1String(".jpg"), Qt::CaseInsensitive) ||
           url.contains(QLatin1String(".gif"), Qt::CaseInsensitive);
}
