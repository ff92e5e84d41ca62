#include "harvest/HarvestState.h"

void HarvestState::armLinks() {
    pageQueue.clear();
    linksArmed = true;
}

void HarvestState::clearLinksAndReport() {
    linkList.clear();
    foundUrls.clear();
    clearReport();
}

void HarvestState::clearReport() {
    reportBuffer.clear();
    findings.clear();
}

void HarvestState::removeLinksContaining(const QString& text) {
    linkList.removeIf(
        [&text](const QString& link) { return link.contains(text, Qt::CaseInsensitive); });
}
