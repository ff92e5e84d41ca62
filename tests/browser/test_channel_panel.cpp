// The channel menus of the real browser window, offscreen, filled from the
// shipped channel server: the drop-downs, the search toolbar, "World" and
// the server menus, and what their items, "Investor", the featured-pages
// button, a country and the private lists do.

#include "WindowTestKit.h"
#include "browser/ui/BrowserWindow.h"
#include "browser/ui/ChannelPanel.h"
#include "browser/ui/WebView.h"
#include "support/ExpectedFile.h"
#include "support/ScriptedPrompts.h"

#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QtTest>
#include <memory>

namespace {

const int kLoadMs = 20000;
using View = BrowserController::View;

QString captions(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << action->text();
    return texts.join("; ");
}

} // namespace

class TestChannelPanel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void menusAndTheirItems();

private:
    QString menusShown() const;
    QMenu* goMenu(const QString& name) const {
        return m_window->menuBar()->findChild<QMenu*>(name);
    }
    void trigger(const QString& path) const { triggerMenu(m_window->menuBar(), path); }
    void choose(QMenu* menu, const QString& caption) const;
    void press(const QString& tip) const { pressToolbarButton(m_window.get(), tip); }
    QString lastNavigation() const { return m_navigations->last().at(1).toString(); }
    QString base() const { return m_controller->location1(); }

    std::unique_ptr<QTemporaryDir> m_home;
    NoLauncher m_launcher;
    ScriptedPrompts m_prompts;
    std::unique_ptr<BrowserController> m_controller;
    std::unique_ptr<BrowserWindow> m_window;
    std::unique_ptr<QSignalSpy> m_navigations;
};

void TestChannelPanel::init() {
    m_home = makeTestHome();
    m_prompts = ScriptedPrompts();
    m_controller = std::make_unique<BrowserController>(m_home->path(), m_launcher);
    m_navigations =
        std::make_unique<QSignalSpy>(m_controller.get(), &BrowserController::navigateRequested);
    m_window = std::make_unique<BrowserWindow>(*m_controller, m_launcher, m_prompts);
    m_window->show();
    QTRY_VERIFY_WITH_TIMEOUT(
        goMenu("World")->isEnabled() && goMenu("menu5")->menuAction()->isVisible() &&
            m_window->channels().searchButton(8)->isVisible() &&
            !m_window->channelsMenu()->isEmpty() && !m_window->searchMenu()->isEmpty(),
        kLoadMs);
    // The start page, and the first featured page (the start page again).
    QTRY_VERIFY_WITH_TIMEOUT(m_window->view(View::View1).locationUrl().endsWith("/index.htm") &&
                                 !m_window->view(View::View1).busy(),
                             kLoadMs);
}

void TestChannelPanel::cleanup() {
    m_window.reset();
    m_navigations.reset();
    m_controller.reset();
    QVERIFY(m_prompts.done());
}

QString TestChannelPanel::menusShown() const {
    QString text = "[Search engines]\n" + captions(m_window->searchMenu()) + "\n[Channels]\n" +
                   captions(m_window->channelsMenu()) + "\n[search toolbar]\n";
    auto* bar = m_window->findChild<QToolBar*>("searchToolbar");
    for (QAction* action : bar->actions()) {
        auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action));
        if (button && action->isVisible())
            text += button->text() + ": " + captions(button->menu()) + '\n';
    }
    text += "[Go]\n";
    for (const char* name : {"World", "menu1", "menu2", "menu3", "menu4", "menu5"}) {
        QMenu* menu = goMenu(QString::fromLatin1(name));
        text += menu->title() + ": " + captions(menu) + '\n';
    }
    return text;
}

void TestChannelPanel::choose(QMenu* menu, const QString& caption) const {
    for (QAction* action : menu->actions())
        if (action->text() == caption)
            return action->trigger();
    QFAIL(qPrintable("no item " + caption));
}

// The menus as the shipped server fills them and what their items do; a
// country's lists, and the private zone's, then take the menus' place.
void TestChannelPanel::menusAndTheirItems() {
    const QByteArray shown = menusShown().toUtf8();
    const QByteArray expected = expectedFile("browser/expected/channel_menus.txt", false);
    QVERIFY2(shown == expected, firstDifference(shown, expected));
    for (int n = 1; n <= 5; ++n)
        QVERIFY(goMenu(QStringLiteral("menu%1").arg(n))->menuAction()->isVisible());
    QCOMPARE(m_controller->zone().privateZoneTable().first().password, "quillpass");

    choose(m_window->channelsMenu(), "News");
    QTRY_COMPARE_WITH_TIMEOUT(m_window->view(View::View1).locationUrl(), base() + "pages/news.htm",
                              kLoadMs);
    choose(m_window->searchMenu(), "Findwell");
    QCOMPARE(lastNavigation(), "http://www.findwell.example/");
    trigger("Go|Shopping|Market");
    QCOMPARE(lastNavigation(), base() + "pages/market.htm");

    // The search words go into the query whole, "&" and "?" included.
    for (QComboBox* box : m_window->findChildren<QComboBox*>())
        if (box->accessibleName() == "Search words")
            box->setEditText("tea & cakes?");
    choose(m_window->channels().searchButton(1)->menu(), "Lumenseek");
    QCOMPARE(lastNavigation(), "http://www.lumenseek.example/search?q=tea%20%26%20cakes%3F");

    press("Next featured page");
    QCOMPARE(lastNavigation(), base() + "pages/featured1.htm");
    trigger("Go|Investor");
    QCOMPARE(lastNavigation(),
             QUrl::fromLocalFile(QDir(m_home->path()).filePath("chart1.htm")).toString());

    trigger("Go|World|Alvania");
    QCOMPARE(lastNavigation(), base() + "intl/Alvania_t.htm");
    QTRY_COMPARE_WITH_TIMEOUT(captions(m_window->searchMenu()),
                              "Alvania Lumenseek; Alvania Yellow Pages", kLoadMs);
    QTRY_COMPARE_WITH_TIMEOUT(m_window->channels().searchButton(8)->text(), "Auctions Alvania",
                              kLoadMs);
    choose(m_window->channelsMenu(), "Alvania today");
    QCOMPARE(lastNavigation(), base() + "intl/Alvania_t.htm");

    const PrivateZoneRow row = m_controller->zone().privateZoneTable().first();
    Q_EMIT m_controller->privateListsWanted(row.searchListUrl, row.channelListUrl, true);
    QTRY_COMPARE_WITH_TIMEOUT(captions(m_window->channelsMenu()), "Members news; Members market",
                              kLoadMs);
    QCOMPARE(captions(m_window->searchMenu()), "Members search; Private shops");
    choose(m_window->channelsMenu(), "Members news");
    QCOMPARE(lastNavigation(), base() + "private/start.htm");
}

QTEST_MAIN(TestChannelPanel)
#include "test_channel_panel.moc"
