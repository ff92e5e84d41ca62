#pragma once

#include "browser/BrowserController.h"
#include "browser/ui/PanelHost.h"
#include "project/BrowserLink.h"

#include <QEvent>
#include <QMainWindow>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>

class BufferPanel;
class ZonePanel;
class GeneratorController;
class CrawlPanel;
class HarvestPanel;
class TranslationPanel;
class ChannelPanel;
class Launcher;
class Prompts;
class QComboBox;
class QLayout;
class QLabel;
class QMenu;
class QProgressBar;
class QToolBar;
class QToolButton;
class WebView;

// The browser window ("Skyvane  Explorer"): two user views (one shown at a
// time), three hidden worker pages, the four bands of the cool bar, the
// menus and the five status panels. It only owns widgets: every command
// goes to the BrowserController or to a view, and the window shows what the
// controller holds whenever it changes.
class BrowserWindow : public QMainWindow, public BrowserLink, public PanelHost {
    Q_OBJECT

public:
    // Makes a window opened from the menus, as a child window of `owner`.
    using WindowFactory = std::function<QWidget*(BrowserWindow& owner)>;

    BrowserWindow(BrowserController& controller, Launcher& launcher, Prompts& prompts,
                  QWidget* parent = nullptr);
    ~BrowserWindow() override;

    // Replace the store generator window and the about box (tests); the
    // defaults make the real ones on first use.
    void setGeneratorFactory(WindowFactory factory) { m_makeGenerator = std::move(factory); }
    void setAboutFactory(WindowFactory factory) { m_makeAbout = std::move(factory); }

    // BrowserLink: what the store generator asks of the browser.
    QString addressText() const override;
    void preview(const QString& path) override;

    // PanelHost: what the panels ask of the window.
    WebView& view(BrowserController::View which) const override;
    WebView& worker2() const override { return *m_workers[0]; }
    WebView& worker4() const override { return *m_workers[2]; }
    HarvestPanel& harvest() const override { return *m_harvest; }
    BufferPanel& buffers() const override { return *m_buffers; }
    void showProgress(qsizetype done, qsizetype total) override;
    void focusSearchWords() override;
    QString searchWordsText() const override;
    int searchWordsIndex() const override;
    QMenu* searchMenu() const override { return m_searchMenu; }
    QMenu* channelsMenu() const override { return m_channelsMenu; }
    const std::array<QMenu*, 4>& searchToolbarMenus() const override {
        return m_searchToolbarMenus;
    }
    QToolBar& searchToolbar() const override { return *m_searchToolbar; }
    QToolBar& addressBand() const override { return *m_addressBand; }
    QMenu* goMenu(const QString& name) const override;
    void enableCommand(const QString& caption, bool enabled) override;
    QWidget* generatorWindow() const override { return m_generator; }

    // The unused worker page.
    WebView& worker3() const { return *m_workers[1]; }
    // The searches: crawler and page reader.
    CrawlPanel& crawl() const { return *m_crawl; }
    // The favourites and history lists, the private zone and the adult listing.
    ZonePanel& zone() const { return *m_zone; }
    // The "Translation" commands.
    TranslationPanel& translation() const { return *m_translation; }
    // The channel server's menus, drop-downs and featured pages.
    ChannelPanel& channels() const { return *m_channels; }
    const QProgressBar& progressBar() const { return *m_progress; }

    const QTimer& navigationWatchdog() const { return m_watchdog; }
    // The store generator window, once it has been opened.
    GeneratorController* generatorController() const { return m_generatorController.get(); }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createViews();
    void createHarvest(QLayout* layout);
    void connectUserView(BrowserController::View which);
    void connectController();
    void buildMenus();
    void buildMainToolbar();
    void addCommandButtons(QToolBar* bar);
    void addToolButtons(QToolBar* bar);
    void addLinkButtons(QToolBar* bar);
    QToolButton* dropDownButton(QToolBar* bar, const QString& text, QMenu** menu);
    void buildSearchWordsBand();
    void buildSearchToolbar();
    void buildAddressBand();
    void buildStatusBar();

    QAction* button(QToolBar* bar, const QString& tip, const QString& themeIcon, int standardIcon,
                    const std::function<void()>& action);

    void notAvailable(const QString& caption);
    void showPreferences();
    void openFile();
    void showGenerator();
    void showOrders();
    void showAbout();
    void launchCalculator();
    void submitting();
    void publishing();
    // The program `commandLine` names, started; false when it is empty.
    bool launchConfigured(const QString& commandLine, const QString& description);
    void startUp();
    void useLocations();

    void carryOutNavigation(int view, const QString& url);
    void carryOutCommand(int view, BrowserController::Command command);
    void refresh();
    void refreshViews();
    void refreshAddressBox();
    void refreshSearchWords();
    bool handleKey(QObject* watched, int key);
    bool handlePanelClick(QObject* watched, QEvent::Type type);
    void toggleLinkList();

    QWidget* makeRealGenerator();
    QWidget* makeRealAbout();

    BrowserController& m_controller;
    Launcher& m_launcher;
    Prompts& m_prompts;
    WindowFactory m_makeGenerator;
    WindowFactory m_makeAbout;
    std::unique_ptr<GeneratorController> m_generatorController;

    std::array<std::unique_ptr<WebView>, 2> m_views;
    std::array<std::unique_ptr<WebView>, 3> m_workers;
    // Goes before the views it reads.
    std::unique_ptr<HarvestPanel> m_harvest;
    std::unique_ptr<CrawlPanel> m_crawl;
    std::unique_ptr<BufferPanel> m_buffers;
    std::unique_ptr<ZonePanel> m_zone;
    std::unique_ptr<TranslationPanel> m_translation;
    std::unique_ptr<ChannelPanel> m_channels;
    QWidget* m_generator = nullptr;
    QWidget* m_about = nullptr;

    QComboBox* m_searchWords = nullptr;
    QComboBox* m_address = nullptr;
    QMenu* m_searchMenu = nullptr;
    QMenu* m_channelsMenu = nullptr;
    QToolBar* m_searchToolbar = nullptr;
    QToolBar* m_addressBand = nullptr;
    std::array<QMenu*, 4> m_searchToolbarMenus{};
    std::array<QLabel*, 5> m_panels{};
    QProgressBar* m_progress = nullptr;

    // The navigation watchdog: on while a user view loads; its tick does
    // nothing.
    QTimer m_watchdog;
    bool m_started = false;
    bool m_shutDown = false;
};
