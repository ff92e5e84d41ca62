#include "WindowTestKit.h"

#include "browser/ChannelDownloads.h"
#include "browser/ui/BrowserWindow.h"
#include "browser/ui/ChannelPanel.h"
#include "browser/ui/WebView.h"
#include "harvest/LinkFilter.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QToolBar>

namespace {

const bool kSharedContexts = [] {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    return true;
}();

} // namespace

std::unique_ptr<QTemporaryDir> makeTestHome() {
    QStandardPaths::setTestModeEnabled(true);
    std::unique_ptr<QTemporaryDir> home;
    do
        home = std::make_unique<QTemporaryDir>();
    while (LinkFilter::hasExcludedWord(home->path()));
    qputenv("QUILLMART_HOME", home->path().toUtf8());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home->path());
    return home;
}

void triggerMenu(QMenuBar* bar, const QString& path) {
    QList<QAction*> actions = bar->actions();
    for (const QString& step : path.split(QLatin1Char('|'))) {
        for (QAction* action : actions) {
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

void pressToolbarButton(QMainWindow* window, const QString& tip) {
    for (QAction* action : window->findChild<QToolBar*>(QStringLiteral("mainToolbar"))->actions())
        if (action->toolTip() == tip)
            return action->trigger();
    QTest::qFail(qPrintable("no button " + tip), __FILE__, __LINE__);
}

bool startUpSettled(const BrowserWindow& window) {
    using View = BrowserController::View;
    return !window.channels().downloads().busy() && !window.view(View::View1).busy() &&
           !window.view(View::View2).busy();
}
