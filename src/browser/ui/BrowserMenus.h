#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <functional>

class BrowserController;
class QAction;
class QMenu;
class QMenuBar;

// The browser window's menu bar, "File" to "Help", with its hidden entries.
// View and navigation commands go straight to the controller; what needs
// the window (dialogs, other windows, closing, telling the user) goes to
// the window's handlers.
class BrowserMenus : public QObject {
    Q_OBJECT

public:
    struct Handlers {
        std::function<void()> openFile;
        std::function<void()> exit;
        std::function<void()> showGenerator;
        std::function<void()> submitting;
        std::function<void()> publishing;
        std::function<void()> showAbout;
        std::function<void()> showPreferences;
        // A command whose work this version does not do yet.
        std::function<void(const QString& caption)> notAvailable;
        // The commands the window carries out, by caption; the others are
        // not available yet.
        QHash<QString, std::function<void()>> commands;
    };

    BrowserMenus(QMenuBar* bar, BrowserController& controller, Handlers handlers);

private:
    QAction* item(QMenu* menu, const QString& caption, const std::function<void()>& action);
    QAction* notAvailableItem(QMenu* menu, const QString& caption);
    // A harvest command: carried out when the window offers it.
    QAction* commandItem(QMenu* menu, const QString& caption);
    QAction* hiddenItem(QMenu* menu, const QString& caption);
    void buildFileMenu();
    void buildEditMenu();
    void buildToolsMenu();
    void buildFinderMenu();
    void buildReportingMenu();
    void buildGoMenu();
    void buildGoChannelMenus(QMenu* go);
    void buildHelpMenu();

    QMenuBar* m_bar;
    BrowserController& m_controller;
    Handlers m_handlers;
};
