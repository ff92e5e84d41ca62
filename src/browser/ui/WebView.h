#pragma once

#include "harvest/DocumentSnapshot.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWebEnginePage>
#include <functional>
#include <memory>

class QPrinter;
class QUrl;
class QWebEngineLoadingInfo;
class QWebEngineProfile;
class QWebEngineView;
class QWidget;

// One embedded browser view: a user view shown in the window, or a hidden
// worker page. It offers the operations the browser relies on and reports
// navigation begin, navigate complete, document complete and download
// complete. The page is read as data through snapshot().
class WebView : public QObject {
    Q_OBJECT

public:
    enum class Kind { Shown, Hidden };
    // Command ids of the view's own commands (ExecWB).
    enum Command { SaveAs = 4, Print = 6, PageSetup = 8, Copy = 12, SelectAll = 17 };

    // The most memory the engine process of a hidden page may hold; a page
    // that goes past it is stopped (see pageStopped).
    static constexpr qint64 kHiddenPageMemoryLimit = qint64(512) * 1024 * 1024;

    explicit WebView(Kind kind, QWebEngineProfile* profile = nullptr, QObject* parent = nullptr);
    ~WebView() override;

    // A hidden page's memory limit, in bytes; 0 means none.
    void setMemoryLimit(qint64 bytes) { m_memoryLimit = bytes; }
    // A hidden page is made afresh: its engine process, which may be stuck
    // in a script or still answering a snapshot, is ended; whatever it was
    // doing is dropped without any signal. Shown views are left as they are.
    void restart();
    // The User-Agent of a hidden page's requests, kept across restarts;
    // shown views keep the engine's own.
    void setUserAgent(const QString& userAgent);

    // The widget to place in a window (none for a hidden page).
    QWidget* widget() const;
    // The page; a hidden page is made here if it has none yet.
    QWebEnginePage* page();

    // A URL, or a local file path (made into a file: URL).
    void navigate(const QString& urlOrPath);
    void goBack();
    void goForward();
    void refresh();
    void stop();
    void execWB(int command);

    QString locationUrl() const;
    QString locationName() const;
    bool busy() const;

    // Reads the loaded document (and its reachable frames) and hands the
    // snapshot to `done` once the page has answered.
    void snapshot(const std::function<void(const DocumentSnapshot&)>& done);
    // Adds an HTML fragment at the end of the shown document, keeping what
    // it shows (a document write into an open document).
    void appendHtml(const QString& html);

Q_SIGNALS:
    void navigationBegan(const QString& url);
    void navigateComplete(const QString& url);
    // The top-level document is ready (frames' own loads are not reported).
    void documentComplete(const QString& url);
    // The load has ended, whether it succeeded or not.
    void downloadComplete();
    // Events of the shown document and its frames (shown views only): the
    // mouse moved over a link (its address) or off an element, and a
    // double-click picked a picture (its source) or a link (its address;
    // empty when there was neither).
    void pageMouseOver(const QString& href);
    void pageMouseOut();
    void pageDoubleClick(const QString& address);
    // The page's engine process ended (it crashed, ran out of memory or was
    // killed), or a hidden page went past its memory limit. A snapshot under
    // way never answers. A hidden page is idle and is made afresh when next
    // used; a shown view shows that the page stopped.
    void pageStopped();

private:
    void createPage();
    QWebEnginePage* livePage();
    void dropHiddenPage();
    void onRenderProcessTerminated();
    void checkMemory();
    void showStopped();
    void connectPage();
    void enablePageEvents();
    void onLoadingChanged(const QWebEngineLoadingInfo& info);
    void onUrlChanged(const QUrl& url);
    void reportNavigateComplete();
    void finishLoad(bool documentShown);
    void saveAs();
    void print();
    void pageSetup();
    QPrinter* printer();

    // The window that shows the view may delete it first.
    QPointer<QWebEngineView> m_view;
    QWebEnginePage* m_page = nullptr;
    std::unique_ptr<QWebEngineProfile> m_ownProfile;
    QWebEngineProfile* m_profile = nullptr;
    QString m_userAgent;
    Kind m_kind;
    QTimer m_memoryWatch;
    qint64 m_memoryLimit = kHiddenPageMemoryLimit;
    bool m_busy = false;
    // The plain page that says the page stopped is loading: its load is
    // not reported.
    bool m_quietLoad = false;
    // Navigate complete has been reported for the load under way.
    bool m_navigateReported = false;
    QString m_reportedUrl; // the URL navigateComplete last reported
    // Loads the engine has reported started, and whether the view reported
    // the begin of the load under way itself (see navigate).
    int m_loadsStarted = 0;
    bool m_beganAhead = false;
    // Kept between page setup and print, as one printer's settings.
    std::unique_ptr<QPrinter> m_printer;
};
