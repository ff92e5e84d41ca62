#pragma once

#include "harvest/DocumentSnapshot.h"
#include "harvest/HarvestState.h"
#include "web/SiteGate.h"
#include "zone/ZoneBrowser.h"
#include "zone/ZoneSession.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

class Launcher;
class StartupSettings;

// The state and commands of the browser window ("Skyvane  Explorer") that do
// not need a screen: the start-page locations, the two user views' shown
// state, the address box and its history, the search-words box, the local
// lists and their files, the status panel texts and the caption. The
// window forwards the views' events and the user's commands here and
// carries out the navigation requests this controller emits.
class BrowserController : public QObject, public ZoneBrowser {
    Q_OBJECT

public:
    enum View { View1 = 0, View2 = 1 };
    // What a command does on a view; the window maps each to the view's
    // operation (ExecWB's command ids in brackets).
    enum class Command {
        Back,
        Forward,
        Refresh,
        Stop,
        SaveAs /*4*/,
        Print /*6*/,
        PageSetup /*8*/,
        Copy /*12*/,
        SelectAll /*17*/
    };

    // `homeFolder`: the program folder the list files live in; `settings`:
    // the program's [Startup] settings, which outlive the controller.
    BrowserController(const QString& homeFolder, Launcher& launcher, StartupSettings& settings,
                      QObject* parent = nullptr);

    // The program folder the list files live in.
    const QString& homeFolder() const { return m_home; }
    StartupSettings& settings() const { return m_settings; }
    // The maker's page `page` (empty: its home page), where the settings
    // say the maker's pages are.
    QString makerPage(const QString& page) const;

    // The channel-server base URLs ("Startup" settings, each ending in "/").
    const QString& location1() const { return m_location1; }
    const QString& location2() const { return m_location2; }
    void setLocations(const QString& location1, const QString& location2);

    // Start-up: views to their start pages, the local lists loaded, status
    // panel 2 "Public zone". Shut-down: error.htm and the list files written.
    void startUp();
    void shutDown();
    // Writes the picture buffer as one HTML line to `fileName` in the home
    // folder ("error.htm" at shut-down, "error1.htm" when the window goes).
    void writePictureBuffer(const QString& fileName) const;

    // The lists the window shows or other parts fill.
    const QStringList& addressItems() const { return m_addressItems; }
    const QStringList& searchWords() const { return m_searchWords; }
    QStringList pictureBuffer;
    // The zones: the private-zone login and tracking, the histories and the
    // favourites.
    ZoneSession& zone() { return m_zone; }
    const ZoneSession& zone() const { return m_zone; }
    // The harvester's lists: links, report rows, found URLs and pages.
    HarvestState& harvest() { return m_harvest; }
    const HarvestState& harvest() const { return m_harvest; }
    // When the crawler, the page reader and the link walker may ask a site
    // for a page; its robots.txt rules stay for the window's life.
    SiteGate& siteGate() { return m_siteGate; }
    // Set between a translation command and the translated page's arrival.
    bool translating = false;
    // The view a translation command loads the translated page into; only
    // its navigate-complete ends translating and swaps the views, so a page
    // the shown view finishes meanwhile is not taken for the translation.
    View translationView = View2;

    // Address box.
    const QString& addressText() const { return m_addressText; }
    void setAddressText(const QString& text) { m_addressText = text; }
    void enterAddress();                     // Enter in the box
    void chooseAddress(const QString& item); // an item picked from the list
    // Asked before the address box's text is navigated to outside the
    // private zone: false refuses the address (the blocked-site check).
    std::function<bool(const QString& address)> addressCheck;
    // Search-words box: Enter and Delete.
    void enterSearchWords(const QString& text);
    void deleteSearchWords(const QString& text);
    // The harvest commands put their own keyword sets in.
    void replaceSearchWords(const QStringList& words);

    // The user views.
    bool isShown(View view) const { return m_shown[view]; }
    void switchViews();                              // main toolbar button 17
    void showOnly(View view);                        // "Preview", translations
    void run(Command command);                       // on the shown view(s)
    void goBackInView1();                            // "Go back": view 1 only
    void goHome();                                   // button 4
    void navigateShown(const QString& url) override; // "Open", menus, search toolbar
    // An address taken from a page (the link list, the found pages) opened
    // in the shown view: only web pages open (http, https, ftp); anything
    // else is refused with a status text. False when refused.
    bool openHarvested(const QString& url);
    static QString refusedText(const QString& url);
    // Events of a user view.
    void navigationBegan(View view);
    void navigationComplete(View view, const QString& url, const QString& title);
    void downloadComplete(View view, const QString& title);
    // A user view's loaded document, read once after its document-complete
    // event: handed to whoever records or collects from shown pages.
    void documentRead(View view, const DocumentSnapshot& document);
    // The URL of a view's last completed navigation.
    const QString& url(View view) const { return m_url[view]; }

    // Starts another program; a program that cannot be started is named in
    // status panel 1.
    void launch(const QString& description, const QString& program,
                const QStringList& arguments = {});

    const QString& caption() const { return m_caption; }
    QString statusText(int panel) const { return m_status.at(panel - 1); }
    void setStatusText(int panel, const QString& text) override;

    // What the zone commands ask of the browser.
    void showPublicStartPages() override;
    void navigateFirstView(const QString& url) override;
    void requestPrivateLists(const QString& searchListUrl, const QString& channelListUrl,
                             bool retry) override;
    void goBack() override { run(Command::Back); }
    void listsChanged() override { Q_EMIT changed(); }

Q_SIGNALS:
    void navigateRequested(int view, const QString& url);
    void commandRequested(int view, BrowserController::Command command);
    // The shown views, the caption, a status text or a list changed.
    void changed();
    // See documentRead.
    void documentArrived(int view, const DocumentSnapshot& document);
    // A private-zone login wants the row's search list and channel list
    // downloaded in place of the public ones; `retry` switches the private
    // channel retry timer on.
    void privateListsWanted(const QString& searchListUrl, const QString& channelListUrl,
                            bool retry);
    // Start-up wants the channel server's files (menus, search lists,
    // featured pages, locations), after the start pages and before the
    // local lists.
    void channelDownloadsWanted();
    // The shown view completed a navigation outside the private zone (not a
    // translation): the completed page's blocked-site check.
    void shownPageCompleted(int view, const QString& url);

private:
    QString listFile(const QString& name) const;
    void writeListFile(const QString& fileName, const QStringList& lines) const;
    QList<View> shownViews() const;
    void setCaption(const QString& caption);
    void show(View view, bool shown);
    void loadLists();
    void loadAddressItems(const QStringList& lines);
    void navigateFromAddressBox(const QString& address);
    void writeLists() const;

    QString m_home;
    Launcher& m_launcher;
    StartupSettings& m_settings;
    ZoneSession m_zone;
    HarvestState m_harvest;
    SiteGate m_siteGate;
    QString m_location1;
    QString m_location2;
    QStringList m_addressItems;
    QStringList m_searchWords;
    QString m_addressText;
    std::array<bool, 2> m_shown{true, false};
    std::array<QString, 2> m_url;
    std::array<QString, 2> m_title; // the last page title of each view
    QString m_caption = QStringLiteral("Skyvane  Explorer");
    std::array<QString, 5> m_status;
};
