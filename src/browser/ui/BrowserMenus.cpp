#include "browser/ui/BrowserMenus.h"

#include "browser/BrowserController.h"
#include "translate/LanguagePair.h"

#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace {

using Command = BrowserController::Command;

} // namespace

BrowserMenus::BrowserMenus(QMenuBar* bar, BrowserController& controller, Handlers handlers)
    : QObject(bar), m_bar(bar), m_controller(controller), m_handlers(std::move(handlers)) {
    buildFileMenu();
    buildEditMenu();
    buildToolsMenu();
    buildFinderMenu();
    buildReportingMenu();
    buildGoMenu();
    buildHelpMenu();
}

QAction* BrowserMenus::item(QMenu* menu, const QString& caption,
                            const std::function<void()>& action) {
    QAction* entry = menu->addAction(caption);
    if (action)
        connect(entry, &QAction::triggered, this, action);
    return entry;
}

QAction* BrowserMenus::notAvailableItem(QMenu* menu, const QString& caption) {
    return item(menu, caption, [this, caption] { m_handlers.notAvailable(caption); });
}

QAction* BrowserMenus::commandItem(QMenu* menu, const QString& caption) {
    const auto command = m_handlers.commands.constFind(caption);
    if (command == m_handlers.commands.cend())
        return notAvailableItem(menu, caption);
    return item(menu, caption, *command);
}

QAction* BrowserMenus::hiddenItem(QMenu* menu, const QString& caption) {
    QAction* entry = menu->addAction(caption);
    entry->setVisible(false);
    return entry;
}

void BrowserMenus::buildFileMenu() {
    QMenu* file = m_bar->addMenu(QStringLiteral("File"));
    item(file, QStringLiteral("Open"), m_handlers.openFile);
    commandItem(file, QStringLiteral("Open Collection"));
    file->addSeparator();
    item(file, QStringLiteral("Save As"), [this] { m_controller.run(Command::SaveAs); });
    item(file, QStringLiteral("Page setup"), [this] { m_controller.run(Command::PageSetup); });
    item(file, QStringLiteral("Print"), [this] { m_controller.run(Command::Print); });
    file->addSeparator();
    item(file, QStringLiteral("Exit"), m_handlers.exit);
}

void BrowserMenus::buildEditMenu() {
    QMenu* edit = m_bar->addMenu(QStringLiteral("Edit"));
    item(edit, QStringLiteral("Copy"), [this] { m_controller.run(Command::Copy); });
    item(edit, QStringLiteral("Select All"), [this] { m_controller.run(Command::SelectAll); });
    edit->addSeparator();
    item(edit, QStringLiteral("Preferences..."), m_handlers.showPreferences)
        ->setShortcut(QKeySequence::Preferences);
}

void BrowserMenus::buildToolsMenu() {
    QMenu* tools = m_bar->addMenu(QStringLiteral("Tools"));
    item(tools, QStringLiteral("Store Generator"), m_handlers.showGenerator);
    tools->addSeparator();
    for (const char* caption : {"Orders", "Form Generator", "Web Editor", "Analysis"})
        commandItem(tools, QString::fromLatin1(caption));
    tools->addSeparator();
    item(tools, QStringLiteral("Submitting"), m_handlers.submitting);
    item(tools, QStringLiteral("Publishing"), m_handlers.publishing);
}

void BrowserMenus::buildFinderMenu() {
    QMenu* finder = m_bar->addMenu(QStringLiteral("Finder"));
    for (const char* caption : {"Add Link", "Get/Add all Links", "Find e-mail", "Find contact",
                                "Find keywords", "Create Full Report", "Read next"})
        commandItem(finder, QString::fromLatin1(caption));
    finder->addSeparator();
    commandItem(finder, QStringLiteral("Create adult listing"));
    commandItem(finder, QStringLiteral("Edit adult listing"));
}

void BrowserMenus::buildReportingMenu() {
    QMenu* reporting = m_bar->addMenu(QStringLiteral("Reporting"));
    const std::pair<const char*, QStringList> submenus[] = {
        {"View",
         {"View catalog", "View image buf", "View MP3", "View report", "Veiw report listing",
          "View links listing"}},
        {"Clear", {"Clear catalog", "Clear MP3 buf", "Clear image buf"}},
        {"Save", {"Save catalog", "Save MP3", "Save image buf", "Save report"}},
    };
    for (const auto& [title, captions] : submenus) {
        QMenu* submenu = reporting->addMenu(QString::fromLatin1(title));
        for (const QString& caption : captions)
            commandItem(submenu, caption);
    }
}

void BrowserMenus::buildGoMenu() {
    QMenu* go = m_bar->addMenu(QStringLiteral("Go"));
    item(go, QStringLiteral("Go back"), [this] { m_controller.goBackInView1(); });
    item(go, QStringLiteral("Go Forward"), [this] { m_controller.run(Command::Forward); });
    item(go, QStringLiteral("Refresh"), [this] { m_controller.run(Command::Refresh); });
    item(go, QStringLiteral("Go Home"),
         [this] { m_controller.navigateShown(m_controller.makerPage(QString())); });
    notAvailableItem(go, QStringLiteral("Go Search"));
    hiddenItem(go, QStringLiteral("Search"));
    go->addSeparator();
    for (const char* caption : {"History", "Channels", "Private", "Add favorites"})
        commandItem(go, QString::fromLatin1(caption));
    buildGoChannelMenus(go);
}

// The channel entries of the "Go" menu; the channel lists fill and show them.
void BrowserMenus::buildGoChannelMenus(QMenu* go) {
    QMenu* channels = go->addMenu(QStringLiteral("Channels"));
    for (const char* caption : {"Motherboard", "CPU", "Memory"})
        item(channels, QString::fromLatin1(caption), {});
    channels->menuAction()->setVisible(false);
    QMenu* translation = go->addMenu(QStringLiteral("Translation"));
    for (const LanguagePair& pair : LanguagePair::all())
        commandItem(translation, pair.caption)->setObjectName(pair.item);
    // "World" waits for the country list, "menu1" to "menu5" for their
    // files; the channel panel finds them by name and fills them.
    QMenu* world = go->addMenu(QStringLiteral("World"));
    world->setObjectName(QStringLiteral("World"));
    item(world, QStringLiteral("country"), {});
    world->setEnabled(false);
    commandItem(go, QStringLiteral("Investor"));
    for (int n = 1; n <= 5; ++n) {
        QMenu* menu = go->addMenu(QStringLiteral("menu%1").arg(n));
        menu->setObjectName(QStringLiteral("menu%1").arg(n));
        item(menu, QStringLiteral("bir%1").arg(n), {});
        menu->menuAction()->setVisible(false);
    }
    for (const char* caption : {"Hot", "Real Plyer", "MP3", "ICQ"})
        hiddenItem(go, QString::fromLatin1(caption));
    QMenu* genie = go->addMenu(QStringLiteral("Genie"));
    item(genie, QStringLiteral("Gene On"), {});
    item(genie, QStringLiteral("Gene Off"), {});
    genie->menuAction()->setVisible(false);
}

void BrowserMenus::buildHelpMenu() {
    QMenu* help = m_bar->addMenu(QStringLiteral("Help"));
    const std::pair<const char*, const char*> pages[] = {
        {"Getting Started", "gtst.htm"},
        {"How can I..?", "how.htm"},
        {"Customization", "customization.htm"},
    };
    for (const auto& [caption, page] : pages) {
        item(help, QString::fromLatin1(caption), [this, page] {
            m_controller.navigateShown(m_controller.makerPage(QString::fromLatin1(page)));
        });
    }
    help->addSeparator();
    item(help, QStringLiteral("About"), m_handlers.showAbout);
}
