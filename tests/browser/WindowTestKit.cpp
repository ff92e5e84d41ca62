#include "WindowTestKit.h"

#include "browser/ChannelDownloads.h"
#include "browser/ui/BrowserWindow.h"
#include "browser/ui/ChannelPanel.h"
#include "browser/ui/WebView.h"
#include "harvest/LinkFilter.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <utility>

namespace {

const bool kSharedContexts = [] {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    return true;
}();

} // namespace

void ReentrantPrompts::message(const QString& text, const QString& title) {
    ScriptedPrompts::message(text, title);
    if (auto during = std::exchange(whileOpen, nullptr))
        during();
}

// The home folder's path holds none of the words the link filter turns
// down, so its pages pass the filter.
WindowSession::WindowSession() {
    QStandardPaths::setTestModeEnabled(true);
    do
        home = std::make_unique<QTemporaryDir>();
    while (LinkFilter::hasExcludedWord(home->path()));
    qputenv("QUILLMART_HOME", home->path().toUtf8());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home->path());
    server = std::make_unique<HttpFixture>(home->path());
    if (!server->start())
        QTest::qFail("the local web server does not start", __FILE__, __LINE__);
    controller = std::make_unique<BrowserController>(home->path(), launcher);
    window = std::make_unique<BrowserWindow>(*controller, launcher, prompts);
}

// The channel files have arrived (with the first featured page they
// bring) and neither user view is loading.
bool WindowSession::show() {
    window->show();
    return waitFor([this] {
        return !window->channels().downloads().busy() && !view(BrowserController::View1).busy() &&
               !view(BrowserController::View2).busy() &&
               view(BrowserController::View1).locationUrl().endsWith("/index.htm");
    });
}

QString WindowSession::page(const QString& name, const QByteArray& body) const {
    QFile file(home->filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(body) != body.size())
        QTest::qFail(qPrintable("cannot write " + name), __FILE__, __LINE__);
    return url(name);
}

bool WindowSession::waitFor(const std::function<bool()>& condition) {
    return QTest::qWaitFor(condition, 20000);
}

bool WindowSession::view1Shows(const QString& address) const {
    return view(BrowserController::View1).locationUrl() == address &&
           !view(BrowserController::View1).busy();
}

void WindowSession::trigger(const QString& path) const {
    QList<QAction*> actions = window->menuBar()->actions();
    for (const QString& step : path.split(QLatin1Char('|'))) {
        for (QAction* action : std::as_const(actions)) {
            if (action->text() != step)
                continue;
            if (action->menu()) {
                actions = action->menu()->actions();
                break;
            }
            return action->trigger();
        }
    }
    QTest::qFail(qPrintable("no menu item " + path), __FILE__, __LINE__);
}

void WindowSession::press(const QString& tip) const {
    for (QAction* action : window->findChild<QToolBar*>(QStringLiteral("mainToolbar"))->actions())
        if (action->toolTip() == tip)
            return action->trigger();
    QTest::qFail(qPrintable("no button " + tip), __FILE__, __LINE__);
}

QLabel* WindowSession::panel(int n) const {
    return window->statusBar()->findChildren<QLabel*>().value(n - 1);
}

QComboBox* WindowSession::box(const QString& name) const {
    for (QComboBox* box : window->findChildren<QComboBox*>())
        if (box->accessibleName() == name)
            return box;
    return nullptr;
}
