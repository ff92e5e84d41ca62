#pragma once

#include <QString>

// Captions of the report commands and of the report-listing editor's
// buttons, with the object names the window gives their menu items.
struct ReportCaptions {
    static QString viewReport() { return QStringLiteral("View report"); }
    static QString createFullReport() { return QStringLiteral("Create Full Report"); }
    static QString viewReportListing() { return QStringLiteral("Veiw report listing"); }
    static QString viewLinksListing() { return QStringLiteral("View links listing"); }
    static QString saveReport() { return QStringLiteral("Save report"); }
    static QString clearAllLinks() { return QStringLiteral("Clear All Links"); }
    static QString close() { return QStringLiteral("Close"); }

    static QString viewReportName() { return QStringLiteral("viewlinks"); }
    static QString createFullReportName() { return QStringLiteral("viewreport"); }
    static QString viewReportListingName() { return QStringLiteral("listlisting"); }
    static QString viewLinksListingName() { return QStringLiteral("viewlinkslisting"); }
    static QString saveReportName() { return QStringLiteral("savereport"); }
};
