#include "harvest/ReportListing.h"

#include "harvest/HarvestState.h"

QString ReportListing::clearAllLinks(HarvestState& state) {
    state.clearReport();
    close();
    return QStringLiteral("Buffer is clear");
}

bool ReportListing::removeRow(HarvestState& state, int selectedRow) {
    if (selectedRow < 0 || selectedRow >= state.reportBuffer.size())
        return false;
    state.reportBuffer.removeAt(selectedRow);
    return true;
}
