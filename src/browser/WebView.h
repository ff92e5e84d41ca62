#pragma once

#include "browser/DocumentSnapshot.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

class QPrinter;
class QUrl;
class QWebEngineLoadingInfo;
class QWebEnginePage;
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

    explicit WebView(Kind kind, QWebEngineProfile* profile = nullptr, QObject* parent = nullptr);
    ~WebView() override;

    // The widget to place in a window (none for a hidden page).
    QWidget* widget() const;
    QWebEnginePage* page() const;

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

private:
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
    bool m_busy = false;
    // Navigate complete has been reported for the load under way.
    bool m_navigateReported = false;
    // Kept between page setup and print, as one printer's settings.
    std::unique_ptr<QPrinter> m_printer;
};
