#pragma once

#include <QString>
#include <QStringList>

class HarvestState;

// The HTML pages made from the report buffer. A page is a sequence of
// document writes, one string per write, as a view receives them; the
// window shows their concatenation.
class ReportPages {
public:
    // "View report": the found-links page for the visible user view. The
    // rows go in unchanged, so link rows stand between the table tags.
    static QStringList viewReportWrites(const HarvestState& state);
    // The full report the page reader leaves in view 1 once every queued
    // page has been read.
    static QStringList fullReportWrites(const HarvestState& state);

    static QString viewReportHtml(const HarvestState& state);
    static QString fullReportHtml(const HarvestState& state);
};
