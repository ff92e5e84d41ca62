#include "browser/PictureCollector.h"

#include "buffers/PictureBuffer.h"
#include "harvest/DocumentSnapshot.h"
#include "harvest/HarvestState.h"
#include "harvest/LinkFilter.h"
#include "web/LinkWalker.h"

namespace {

bool isPicture(const QString& url) {
    return url.contains(QLatin1String(".jpg"), Qt::CaseInsensitive) ||
           url.contains(QLatin1String(".gif"), Qt::CaseInsensitive);
}

} // namespace

PictureCollector::PictureCollector(PictureBuffer& pictures, HarvestState& harvest)
    : m_pictures(pictures), m_harvest(harvest) {}

QString PictureCollector::collect(const DocumentSnapshot& document) {
    // A frameset document has another body: only its frames are read.
    if (document.bodyTagName == QLatin1String("BODY")) {
        collectLinks(document);
        for (const QString& source : document.imageSources)
            m_pictures.add(source);
    }
    for (const DocumentSnapshot& frame : document.frames)
        collect(frame);
    m_harvest.linksArmed = false;
    return LinkWalker::picturesText(m_pictures.pictures().size());
}

void PictureCollector::collectLinks(const DocumentSnapshot& document) {
    LinkFilter filter(m_harvest);
    for (const DocumentSnapshot::Link& link : document.links) {
        if (isPicture(link.href))
            m_pictures.add(link.href);
        if (m_harvest.linksArmed)
            filter.add(link.href);
    }
}
