#include "harvest/ReportPages.h"

#include "harvest/HarvestState.h"
#include "harvest/WebMarkup.h"

namespace {

const QString kTableStart =
    QStringLiteral("<table border='0' width='100%' cellspacing='0' cellpadding='0'>");
const QString kPageEnd = QStringLiteral("</table></body></html>");

} // namespace

QStringList ReportPages::viewReportWrites(const HarvestState& state) {
    QStringList writes{QStringLiteral("<html><title>Found links report</title>") +
                       WebMarkup::noScriptPolicy() + QStringLiteral("<body>") + kTableStart};
    writes << state.reportBuffer << kPageEnd;
    return writes;
}

QStringList ReportPages::fullReportWrites(const HarvestState& state) {
    QStringList writes{QStringLiteral("<html>") + WebMarkup::noScriptPolicy() +
                           QStringLiteral("<body>"),
                       kTableStart};
    writes << state.reportBuffer << kPageEnd;
    return writes;
}

QString ReportPages::viewReportHtml(const HarvestState& state) {
    return viewReportWrites(state).join(QString());
}

QString ReportPages::fullReportHtml(const HarvestState& state) {
    return fullReportWrites(state).join(QString());
}
