#include "browser/ui/WebView.h"

#include "browser/ui/PageEventBridge.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>
#include <QWebChannel>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <csignal>
#include <unistd.h>
#include <utility>

// How the engine's load reports become the view's events:
//
//  navigationBegan   - a load starts (loadingChanged, status started); the URL
//                      is the one asked for. A navigation asked for while a
//                      load is under way is reported when it is asked for:
//                      the engine folds the superseded load into it and
//                      reports one end for both.
//  navigateComplete  - the URL of the new document is known: the first
//                      urlChanged while a load is under way, or, when the URL
//                      did not change (refresh, same address again), the end
//                      of the load. Reported once per load, never for a load
//                      that was stopped before its URL was known. A load
//                      given up after it (Back while it is under way) ends by
//                      reporting the page the view is back on. A page the
//                      engine shows from its history without a load (Back,
//                      Forward) or a move within the page is reported as a
//                      load would be: navigateComplete, then documentComplete.
//  documentComplete  - the top-level document has finished loading and is
//                      shown, also when it is the server's or the engine's
//                      error page. Frames' own loads never reach the page's
//                      load reports, so they are not reported. Not reported
//                      for a stopped load.
//  downloadComplete  - the load has ended, however it ended. Busy is already
//                      false when it is reported.

namespace {

// A script of the program's resources.
QString resourceScript(const QString& name) {
    QFile file(QStringLiteral(":/browser/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qWarning("WebView: the script %s is missing from the resources", qPrintable(name));
    return QString::fromUtf8(file.readAll());
}

const QString& snapshotScript() {
    static const QString script = resourceScript(QStringLiteral("snapshot.js"));
    return script;
}

const QString& appendScript() {
    static const QString script = resourceScript(QStringLiteral("append.js"));
    return script;
}

// The web channel's own client script, then the page-event script.
const QString& pageEventsScript() {
    static const QString script = [] {
        QFile client(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
        if (!client.open(QIODevice::ReadOnly))
            qWarning("WebView: the web channel's client script is missing");
        return QString::fromUtf8(client.readAll()) + QLatin1Char('\n') +
               resourceScript(QStringLiteral("pageevents.js"));
    }();
    return script;
}

// `text` as a script literal.
QString scriptString(const QString& text) {
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    // "[...]" without its brackets.
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

// How often a hidden page's memory is looked at.
constexpr int kMemoryCheckMs = 200;

// The resident memory of a process, from the system's process table; 0
// when it cannot be read.
qint64 residentBytes(qint64 pid) {
    QFile statm(QStringLiteral("/proc/%1/statm").arg(pid));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() < 2 ? 0 : fields.at(1).toLongLong() * sysconf(_SC_PAGESIZE);
}

const QString kStoppedPage = QStringLiteral(
    "<html><head><title>Page stopped</title></head><body><p>This page stopped.</p></body></html>");

// A local path becomes a file: URL; anything else is taken as an address.
// A local folder opens its index.htm, as a web server would: the engine
// would list every file in it.
QUrl addressOf(const QString& urlOrPath) {
    const QString trimmed = urlOrPath.trimmed();
    const QUrl url = QDir::isAbsolutePath(trimmed)
                         ? QUrl::fromLocalFile(trimmed)
                         : QUrl::fromUserInput(trimmed, QDir::currentPath());
    if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isDir())
        return QUrl::fromLocalFile(QDir(url.toLocalFile()).filePath(QStringLiteral("index.htm")));
    return url;
}

} // namespace

WebView::WebView(Kind kind, QWebEngineProfile* profile, QObject* parent)
    : QObject(parent), m_kind(kind) {
    // A hidden page reads pages in a profile of its own, kept in memory only:
    // it shares no cookies or logins with the user's views, and no engine
    // process with them or with another hidden page, so ending its process
    // (restart) never takes another page with it.
    if (!profile && kind == Kind::Hidden)
        m_ownProfile = std::make_unique<QWebEngineProfile>();
    m_profile = profile        ? profile
                : m_ownProfile ? m_ownProfile.get()
                               : QWebEngineProfile::defaultProfile();
    // A hidden page is made when it is first used: a window that never
    // harvests never pays for its worker pages.
    if (kind == Kind::Shown) {
        createPage();
        m_view = new QWebEngineView;
        m_view->setPage(m_page);
        enablePageEvents();
    } else {
        // A page that streams without end or a script that hoards memory
        // would otherwise grow until the system runs out.
        m_memoryWatch.setInterval(kMemoryCheckMs);
        connect(&m_memoryWatch, &QTimer::timeout, this, &WebView::checkMemory);
        m_memoryWatch.start();
    }
}

void WebView::createPage() {
    m_page = new QWebEnginePage(m_profile, this);
    // A page shown from a local file (a page saved from the web, a report)
    // reads no other local file and reaches no host by script: it stays
    // data, whoever wrote it.
    m_page->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    m_page->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    if (m_kind == Kind::Hidden) {
        // Hidden pages are only read: pictures are wanted by address alone.
        m_page->settings()->setAttribute(QWebEngineSettings::AutoLoadImages, false);
        m_page->settings()->setAttribute(QWebEngineSettings::PluginsEnabled, false);
        m_page->settings()->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
    }
    connectPage();
}

WebView::~WebView() {
    // The view goes before the page it shows, and the pages before the
    // profile they were made in.
    delete m_view.data();
    qDeleteAll(findChildren<QWebEnginePage*>(Qt::FindDirectChildrenOnly));
}

void WebView::connectPage() {
    connect(m_page, &QWebEnginePage::loadingChanged, this, &WebView::onLoadingChanged);
    connect(m_page, &QWebEnginePage::urlChanged, this, &WebView::onUrlChanged);
    connect(m_page, &QWebEnginePage::renderProcessTerminated, this,
            &WebView::onRenderProcessTerminated);
}

// The old page goes once control is back in the event loop, as this may run
// from one of its own signals. Its process is ended at once: it may be stuck
// in a script, and nothing waits for it any more.
void WebView::restart() {
    if (m_kind != Kind::Hidden || !m_page)
        return;
    const qint64 pid = m_page->renderProcessPid();
    dropHiddenPage();
    m_busy = false;
    m_navigateReported = false;
    if (pid > 0)
        ::kill(static_cast<pid_t>(pid), SIGKILL);
}

// A load under way ends with it: a shown view reports the end of the load,
// so the window does not wait for it.
void WebView::onRenderProcessTerminated() {
    const bool wasBusy = m_busy;
    m_busy = false;
    m_navigateReported = false;
    if (m_kind == Kind::Hidden) {
        dropHiddenPage();
    } else {
        showStopped();
        if (wasBusy)
            Q_EMIT downloadComplete();
    }
    Q_EMIT pageStopped();
}

// A hidden page is made afresh the next time it is used, in a fresh profile
// of its own: the engine could otherwise give it the process being ended.
// The old profile goes once its page has gone.
void WebView::dropHiddenPage() {
    m_page->disconnect(this);
    if (m_ownProfile) {
        QWebEngineProfile* old = m_ownProfile.release();
        connect(m_page, &QObject::destroyed, old, &QObject::deleteLater);
        m_ownProfile = std::make_unique<QWebEngineProfile>();
        m_profile = m_ownProfile.get();
        setUserAgent(m_userAgent);
    }
    m_page->deleteLater();
    m_page = nullptr;
}

void WebView::setUserAgent(const QString& userAgent) {
    m_userAgent = userAgent;
    if (m_ownProfile && !userAgent.isEmpty())
        m_ownProfile->setHttpUserAgent(userAgent);
}

QWebEnginePage* WebView::livePage() {
    if (!m_page)
        createPage();
    return m_page;
}

void WebView::checkMemory() {
    if (!m_page)
        return;
    const qint64 pid = m_page->renderProcessPid();
    if (m_memoryLimit <= 0 || pid <= 0 || residentBytes(pid) <= m_memoryLimit)
        return;
    restart();
    Q_EMIT pageStopped();
}

// A plain page in place of the one that stopped, at the same address, so
// that Refresh tries it again; its load is not reported.
void WebView::showStopped() {
    m_quietLoad = true;
    m_page->setHtml(kStoppedPage, m_page->url());
}

// The page's events reach the program through a web channel in the
// application's own script world, where the page's scripts cannot reach it.
void WebView::enablePageEvents() {
    auto* bridge = new PageEventBridge(this);
    connect(bridge, &PageEventBridge::pageMouseOver, this, &WebView::pageMouseOver);
    connect(bridge, &PageEventBridge::pageMouseOut, this, &WebView::pageMouseOut);
    connect(bridge, &PageEventBridge::pageDoubleClick, this, &WebView::pageDoubleClick);
    auto* channel = new QWebChannel(this);
    channel->registerObject(QStringLiteral("pageEvents"), bridge);
    m_page->setWebChannel(channel, QWebEngineScript::ApplicationWorld);
    QWebEngineScript script;
    script.setName(QStringLiteral("pageevents"));
    script.setSourceCode(pageEventsScript());
    script.setInjectionPoint(QWebEngineScript::DocumentReady);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    // The top page watches the frames of its own origin itself.
    script.setRunsOnSubFrames(false);
    m_page->scripts().insert(script);
}

QWidget* WebView::widget() const {
    return m_view.data();
}

QWebEnginePage* WebView::page() {
    return livePage();
}

void WebView::navigate(const QString& urlOrPath) {
    const QUrl url = addressOf(urlOrPath);
    if (!url.isValid())
        return;
    const bool superseding = m_busy && !m_quietLoad;
    // Busy from the call on, as callers test it right after navigating.
    m_busy = true;
    m_quietLoad = false;
    m_navigateReported = false;
    const int startsBefore = m_loadsStarted;
    livePage()->load(url);
    // The engine folds a load under way into the one that supersedes it and
    // reports no start for the new one; the view reports it, so that every
    // navigation asked for has its begin. A start the engine reports later
    // after all is then not reported twice.
    if (superseding && m_loadsStarted == startsBefore) {
        m_beganAhead = true;
        Q_EMIT navigationBegan(url.toString());
    }
}

// The engine ignores these when there is nothing to go back or forward to,
// or nothing to stop.
void WebView::goBack() {
    if (m_page)
        m_page->triggerAction(QWebEnginePage::Back);
}

void WebView::goForward() {
    if (m_page)
        m_page->triggerAction(QWebEnginePage::Forward);
}

void WebView::refresh() {
    if (m_page)
        m_page->triggerAction(QWebEnginePage::Reload);
}

void WebView::stop() {
    if (m_page)
        m_page->triggerAction(QWebEnginePage::Stop);
}

void WebView::execWB(int command) {
    switch (command) {
    case SaveAs:
        saveAs();
        break;
    case Print:
        print();
        break;
    case PageSetup:
        pageSetup();
        break;
    case Copy:
        livePage()->triggerAction(QWebEnginePage::Copy);
        break;
    case SelectAll:
        livePage()->triggerAction(QWebEnginePage::SelectAll);
        break;
    default:
        break;
    }
}

QString WebView::locationUrl() const {
    return m_page ? m_page->url().toString() : QString();
}

QString WebView::locationName() const {
    return m_page ? m_page->title() : QString();
}

bool WebView::busy() const {
    return m_busy;
}

void WebView::snapshot(const std::function<void(const DocumentSnapshot&)>& done) {
    static const QString call =
        snapshotScript() + QLatin1Char('(') + DocumentSnapshot::Limits::json() + QLatin1Char(')');
    livePage()->runJavaScript(
        call, QWebEngineScript::ApplicationWorld,
        [done](const QVariant& result) { done(DocumentSnapshot::fromVariant(result.toMap())); });
}

void WebView::appendHtml(const QString& html) {
    livePage()->runJavaScript(appendScript() + QLatin1Char('(') + scriptString(html) +
                                  QLatin1Char(')'),
                              QWebEngineScript::ApplicationWorld);
}

void WebView::onLoadingChanged(const QWebEngineLoadingInfo& info) {
    if (m_quietLoad) {
        if (info.status() != QWebEngineLoadingInfo::LoadStartedStatus)
            m_quietLoad = false;
        return;
    }
    switch (info.status()) {
    case QWebEngineLoadingInfo::LoadStartedStatus:
        ++m_loadsStarted;
        m_busy = true;
        m_navigateReported = false;
        if (!std::exchange(m_beganAhead, false))
            Q_EMIT navigationBegan(info.url().toString());
        break;
    case QWebEngineLoadingInfo::LoadSucceededStatus:
    case QWebEngineLoadingInfo::LoadFailedStatus:
        finishLoad(true);
        break;
    case QWebEngineLoadingInfo::LoadStoppedStatus:
        finishLoad(false);
        break;
    }
}

void WebView::onUrlChanged(const QUrl&) {
    if (m_quietLoad)
        return;
    if (m_busy) {
        if (!m_navigateReported)
            reportNavigateComplete();
        return;
    }
    // Outside a load the URL changes when the engine shows a page of its
    // history without loading it again (Back, Forward) or moves within the
    // page: the page now shown is reported as a load would report it.
    if (locationUrl() != m_reportedUrl) {
        reportNavigateComplete();
        Q_EMIT documentComplete(locationUrl());
    }
}

void WebView::reportNavigateComplete() {
    m_navigateReported = true;
    m_reportedUrl = locationUrl();
    Q_EMIT navigateComplete(m_reportedUrl);
}

void WebView::finishLoad(bool documentShown) {
    if (!m_busy)
        return;
    m_busy = false;
    m_beganAhead = false;
    // A load given up after its URL was reported (Back while it is under
    // way) leaves the view on its earlier page, which is reported again.
    const bool backOnEarlierPage = m_navigateReported && locationUrl() != m_reportedUrl;
    if (backOnEarlierPage || (documentShown && !m_navigateReported))
        reportNavigateComplete();
    if (documentShown || backOnEarlierPage)
        Q_EMIT documentComplete(locationUrl());
    Q_EMIT downloadComplete();
}

// Saves the page with everything it shows, under a name the user picks.
void WebView::saveAs() {
    const QString fileName = m_page->title().isEmpty() ? QStringLiteral("page") : m_page->title();
    const QString path = QFileDialog::getSaveFileName(
        m_view, tr("Save Web Page"), QDir::home().filePath(fileName + QStringLiteral(".htm")),
        tr("Web Page, complete (*.htm *.html)"));
    if (!path.isEmpty())
        m_page->save(path, QWebEngineDownloadRequest::CompleteHtmlSaveFormat);
}

// Only a shown view can print; for a hidden page the command does nothing.
void WebView::print() {
    if (!m_view)
        return;
    QPrintDialog dialog(printer(), m_view);
    if (dialog.exec() == QDialog::Accepted)
        m_view->print(printer());
}

void WebView::pageSetup() {
    QPageSetupDialog dialog(printer(), m_view);
    dialog.exec();
}

QPrinter* WebView::printer() {
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return m_printer.get();
}
