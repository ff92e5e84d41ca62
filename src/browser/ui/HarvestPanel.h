#pragma once

#include "browser/GeneratedPage.h"
#include "harvest/ReportListing.h"
#include "harvest/ReportStepper.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

struct DocumentSnapshot;
class BrowserController;
class PanelHost;
class Prompts;
class QListWidget;
class QPoint;
class QWidget;

// The harvester's part of the browser window: the link-list editor and the
// report-listing editor with their buttons, the link walker's hidden page
// and its time-out, and the "Finder" and "Reporting" commands that read the
// shown page or the report buffer. The lists themselves live in the
// controller's harvest state; this class shows them and forwards each
// command to the harvest classes.
class HarvestPanel : public QObject {
    Q_OBJECT

public:
    HarvestPanel(BrowserController& controller, PanelHost& window, Prompts& prompts);
    ~HarvestPanel() override;

    // The two editors, for the window to place; both start hidden.
    QWidget* linkEditor() const { return m_linkEditor; }
    QWidget* reportEditor() const { return m_reportEditor; }
    QListWidget* linkList() const { return m_links; }
    QListWidget* reportList() const { return m_rows; }
    const QTimer& walkTimeout() const { return m_walkTimeout; }

    // "Get/Add all Links" on the shown view(s); `then` runs once the links
    // are in.
    void getAllLinks(const std::function<void()>& then = {});
    void getLinksAndWalk();   // main-toolbar button 12
    void clearAndGetLinks();  // button 20
    void previousLink();      // button 21
    void nextLink();          // button 22
    void clearFoundUrls();    // button 23
    void addLink();           // "Add Link"
    void toggleLinkEditor();  // "View links listing", status panel 3
    void showReportListing(); // "Veiw report listing"
    void viewReport();        // "View report"
    void saveReport();        // "Save report"
    // Stop: the walk rests and the next page adds no links.
    void stop();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildLinkEditor();
    QWidget* buildReportEditor();
    void collectSnapshots(QList<int> views, QList<DocumentSnapshot> taken,
                          const std::function<void(const QList<DocumentSnapshot>&)>& done);
    void clearLinkList();
    void excludeLink(int row);
    void openLink(const QPoint& position);
    void clearReportBuffer();
    void removeReportRow(int row);
    void showStep(const ReportStepper::Step& step);
    void refreshLists();

    void walkStep();
    void endWalk();
    void releaseWalkedSite();
    void showWalkProgress();
    void walkPageArrived();
    void walkTimedOut();
    void walkPageStopped();
    void addPicture(const QString& url);

    BrowserController& m_controller;
    PanelHost& m_window;
    Prompts& m_prompts;
    QWidget* m_linkEditor = nullptr;
    QWidget* m_reportEditor = nullptr;
    QListWidget* m_links = nullptr;
    QListWidget* m_rows = nullptr;
    ReportListing m_listing;
    ReportStepper m_stepper;
    // The page "View report" shows; kept until the next one replaces it.
    GeneratedPage m_reportPage;
    QTimer m_walkTimeout;
    // Counts the walker's navigations, so that a late snapshot does not stop
    // the page that came after it.
    int m_walkGeneration = 0;
    // Set by button 12 until Stop or an empty link list ends the walk.
    bool m_walking = false;
    // A walked page is being read: the walk waits for it.
    bool m_walkReading = false;
    // Pages the link walker had visited before this walk; -1 between walks.
    qsizetype m_walkStart = -1;
    // The addresses this walk has opened: it opens none twice.
    QSet<QString> m_walked;
    // The page being walked, while it holds a place at its site's gate.
    QString m_walkedSite;
    // The walk waits for the site gate; the pages it left out.
    bool m_walkWaiting = false;
    qsizetype m_walkSkipped = 0;
};
