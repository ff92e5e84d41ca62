#pragma once

#include "browser/GeneratedPage.h"

#include <QObject>
#include <QString>
#include <QStringList>

class BrowserController;
class PanelHost;
class Crawler;
class PageReaderDrive;
class Prompts;

// The browser window's searches: "Find keywords", "Find e-mail" and "Find
// contact" crawl the link list on the crawler's downloaders; "Create Full
// Report" and "Read next" drive the page reader in the hidden page, whose
// full report ends up in view 1. Both show their progress in the window's
// status bar and stop at the Stop button.
class CrawlPanel : public QObject {
    Q_OBJECT

public:
    CrawlPanel(BrowserController& controller, PanelHost& window, Prompts& prompts);
    ~CrawlPanel() override;

    Crawler& crawler() const { return *m_crawler; }
    PageReaderDrive& reader() const { return *m_reader; }

    void findKeywords();
    void findEmail();
    void findContact();
    void createFullReport();
    void readNext();
    void stop();

private:
    void useSettings();
    void connectCrawler();
    void connectReader();
    void startCrawl(const QStringList& keywords, const QString& statusPanel2);
    void showFullReport(const QStringList& writes);

    BrowserController& m_controller;
    PanelHost& m_window;
    Prompts& m_prompts;
    Crawler* m_crawler;
    PageReaderDrive* m_reader;
    GeneratedPage m_reportPage;
};
