#pragma once

#include <QStringList>

class Prompts;
class HarvestState;

// "Create Full Report": hands the whole link list to the page reader, which
// reads each page into a page summary and, once the queue is empty, writes
// the full report page (ReportPages::fullReportWrites) into view 1.
class FullReport {
public:
    struct Start {
        bool collectImages = false; // the user wants the pages' pictures in the summaries
        bool hideLinkList = true;   // the link list and its "Clear All" button go away
        bool readPages = false;     // the queue is filled: run a page-reader step
        QStringList refused;        // listed addresses that are not web pages: not read
    };

    // Asks about pictures first, then refuses an empty link list with a
    // message; otherwise moves the link list into the page queue and
    // empties the report buffer for the summaries to come. Only web pages
    // join the queue: a page could list local files or scripts.
    static Start start(HarvestState& state, Prompts& prompts);
};
