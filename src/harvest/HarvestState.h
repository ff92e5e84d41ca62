#pragma once

#include <QString>
#include <QStringList>

// The lists and flags the harvester, the crawler and the reports share: all
// in memory, in insertion order, emptied only by the commands that say so.
// The browser window shows them; the harvest classes change them.
struct HarvestState {
    QStringList linkList;     // absolute URLs to crawl or walk
    QStringList visitedLinks; // URLs the link walker opened, or excluded
    QStringList reportBuffer; // report rows: HTML fragments
    QStringList foundUrls;    // one URL per report row Get/Add all Links added
    QStringList foundPages;   // crawled pages that matched the keywords
    QStringList pageQueue;    // URLs waiting for the page reader
    bool linksArmed = false;  // set by Get/Add all Links; cleared by the picture pass or Stop
    // Page summaries take the pages' pictures: set by "Create Full Report" or
    // an "Add Link" summary on request, cleared when the full report is
    // written and at the end of an "Add Link" summary.
    bool collectImages = false;
};
