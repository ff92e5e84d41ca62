#pragma once

#include "harvest/PageFindings.h"

#include <QList>
#include <QString>
#include <QStringList>

// The lists and flags the harvester, the crawler and the reports share: all
// in memory, in insertion order, emptied only by the commands that say so.
// The browser window shows them; the harvest classes work on the lists
// directly, the commands outside them go through the methods.
class HarvestState {
public:
    QStringList linkList;     // absolute URLs to crawl or walk
    QStringList visitedLinks; // URLs the link walker opened, or excluded
    QStringList reportBuffer; // report rows: HTML fragments
    // What the report rows hold, as data, page by page; emptied with the
    // report buffer.
    QList<PageFindings> findings;
    QStringList foundUrls;   // one URL per report row Get/Add all Links added
    QStringList foundPages;  // crawled pages that matched the keywords
    QStringList pageQueue;   // URLs waiting for the page reader
    bool linksArmed = false; // set by Get/Add all Links; cleared by the picture pass or Stop
    // Page summaries take the pages' pictures: set by "Create Full Report" or
    // an "Add Link" summary on request, cleared when the full report is
    // written and at the end of an "Add Link" summary.
    bool collectImages = false;

    // "Get all Links" begins: the page reader's queue is dropped and the
    // next page's links are taken.
    void armLinks();
    // "Stop": no page's links are taken any more.
    void disarmLinks() { linksArmed = false; }
    void clearPageQueue() { pageQueue.clear(); }
    // "New search": the links, their found URLs and the report go.
    void clearLinksAndReport();
    // Drops every link that contains `text`, in any letter case.
    void removeLinksContaining(const QString& text);
    void setCollectImages(bool on) { collectImages = on; }
    // The report buffer and its findings are emptied.
    void clearReport();
};
