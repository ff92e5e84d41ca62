#include "harvest/ReportStepper.h"

#include "harvest/HarvestState.h"
#include "harvest/LinkRow.h"

ReportStepper::Step ReportStepper::previous(const HarvestState& state) {
    if (state.foundUrls.isEmpty())
        return {};
    clampIndex(state);
    if (m_index == 0)
        return open(state, QStringLiteral("Page # Start"));
    --m_index;
    return open(state,
                LinkRow::linkText(state.reportBuffer.value(m_index)) + QStringLiteral(" <-- "));
}

ReportStepper::Step ReportStepper::next(const HarvestState& state) {
    // Next is offered while there are links to crawl; with no found URL
    // there is nothing to open.
    if (state.linkList.isEmpty() || state.foundUrls.isEmpty())
        return {};
    clampIndex(state);
    if (m_index == state.foundUrls.size() - 1)
        return open(state, QStringLiteral("Page # End"));
    ++m_index;
    return open(state,
                QStringLiteral("--> ") + LinkRow::linkText(state.reportBuffer.value(m_index)));
}

QString ReportStepper::clearFoundUrls(HarvestState& state) {
    state.foundUrls.clear();
    m_index = 0;
    return QStringLiteral("List is clear");
}

void ReportStepper::clampIndex(const HarvestState& state) {
    const int last = static_cast<int>(state.foundUrls.size()) - 1;
    if (m_index > last)
        m_index = last;
}

ReportStepper::Step ReportStepper::open(const HarvestState& state, const QString& status) const {
    return {true, state.foundUrls.at(m_index), status};
}
