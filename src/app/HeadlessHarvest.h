#pragma once

#include "app/HarvestCommand.h"
#include "app/StreamPrompts.h"
#include "browser/ui/WebView.h"
#include "harvest/HarvestState.h"
#include "web/SiteGate.h"

#include <QObject>
#include <QStringList>
#include <QTextStream>
#include <QTimer>

class Crawler;
class PageReaderDrive;

// One `quillmart harvest` run on hidden pages: each start page is loaded
// and its links (frames included) go into the link list; the crawler keeps
// the linked pages that hold a keyword; the page reader reads those into
// page summaries; the report file is written from them.
class HeadlessHarvest : public QObject {
    Q_OBJECT

public:
    HeadlessHarvest(const HarvestCommand& command, QTextStream& err);
    ~HeadlessHarvest() override;

    // Runs a harvest in the application's event loop, printing progress to
    // `err`; returns the exit code, 0 once the report is written. Needs a
    // running GUI application (the pages are read by the web engine).
    static int run(const HarvestCommand& command, QTextStream& err);

    void start();

Q_SIGNALS:
    // The run is over; 0 when the report has been written.
    void finished(int exitCode);

private:
    bool answer(const QString& text, const QString& title) const;
    void loadNextStartPage();
    void startPageShown();
    void startPageTimedOut();
    void startPageStopped();
    void leaveOut(const QString& url, const QString& why);
    void skip(const QString& url);
    void useGate();
    void takeLinks(const DocumentSnapshot& document);
    void crawl();
    void showCrawlProgress(qsizetype done, qsizetype total);
    void readFoundPages(qsizetype foundCount);
    void writeReport();

    const HarvestCommand& m_command;
    QTextStream& m_err;
    StreamPrompts m_prompts;
    HarvestState m_state;
    // The links of the start pages, for the CSV and JSON exports: reading
    // the found pages empties the report.
    QList<PageFindings> m_linkFindings;
    SiteGate m_gate;
    qsizetype m_skipped = 0;
    QStringList m_keywords;
    WebView m_startPage;
    WebView m_readerPage;
    Crawler* m_crawler;
    PageReaderDrive* m_reader;
    QTimer m_loadTimeout;
    // Counts the start page's loads, so that a snapshot that comes back late
    // is dropped.
    int m_startGeneration = 0;
    qsizetype m_nextStartPage = 0;
    qsizetype m_startPagesRead = 0;
    int m_shownPercent = -1;
};
