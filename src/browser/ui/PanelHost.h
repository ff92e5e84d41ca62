#pragma once

#include "browser/BrowserController.h"

#include <QString>
#include <QtGlobal>
#include <array>

class BufferPanel;
class HarvestPanel;
class QMenu;
class QToolBar;
class QWidget;
class WebView;

// What the browser window's panels need of the window: its views and
// worker pages, the search words, the bars and menus the channel lists
// fill, the progress bar, and the two panels others hand work to. The
// window implements it; a panel sees nothing else of the window.
class PanelHost {
public:
    virtual ~PanelHost() = default;

    virtual WebView& view(BrowserController::View which) const = 0;
    // The hidden worker pages: the page reader and the link walker.
    virtual WebView& worker2() const = 0;
    virtual WebView& worker4() const = 0;

    virtual HarvestPanel& harvest() const = 0;
    virtual BufferPanel& buffers() const = 0;

    // The progress bar of a crawl, a walk or a full report: `done` of
    // `total` pages; hidden while `total` is 0.
    virtual void showProgress(qsizetype done, qsizetype total) = 0;
    virtual void focusSearchWords() = 0;
    // The search-words box's text, as typed.
    virtual QString searchWordsText() const = 0;
    // The position of the search-words box's selected entry; -1 when the
    // text is not a selected entry (typed, or none chosen).
    virtual int searchWordsIndex() const = 0;

    // The drop-down menus the channel lists fill: main-toolbar buttons 7
    // (search) and 10 (channels), and the search toolbar's four buttons.
    virtual QMenu* searchMenu() const = 0;
    virtual QMenu* channelsMenu() const = 0;
    virtual const std::array<QMenu*, 4>& searchToolbarMenus() const = 0;
    virtual QToolBar& searchToolbar() const = 0;
    virtual QToolBar& addressBand() const = 0;
    // A menu of the "Go" menu the channel files fill: "World", "menu1" to
    // "menu5"; null for another name.
    virtual QMenu* goMenu(const QString& name) const = 0;
    // Enables or disables the menu commands with this caption.
    virtual void enableCommand(const QString& caption, bool enabled) = 0;

    // The store generator window, once it has been opened.
    virtual QWidget* generatorWindow() const = 0;
};
