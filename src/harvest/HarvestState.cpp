#include "harvest/HarvestState.h"

void HarvestState::armLinks() {
    pageQueue.clear();
    linksArmed = true;
}

void HarvestState::clearLinksAndReport() {
    linkList.clear();
    foundUrls.clear();
    reportBuffer.clear();
}

void HarvestState::removeLinksContaining(const QString& text) {
    linkList.removeIf(
        [&text](const QString& link) { return link.contains(text, Qt::CaseInsensitive); });
}
