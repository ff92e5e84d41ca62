#pragma once

#include <QObject>
#include <QString>

class BrowserController;
class PanelHost;

// The "Translation" commands of the browser window: the page named in the
// address box is sent to the translation service, the translated page loads
// in the hidden user view, and the views swap once it has arrived, so the
// untranslated page stays one view switch away.
class TranslationPanel : public QObject {
    Q_OBJECT

public:
    TranslationPanel(BrowserController& controller, PanelHost& window);

    // Translates with the language pair `code`. Another command before the
    // translated page has arrived sends a new request into the same hidden
    // view, which drops the earlier one: the latest request is what shows.
    void translate(const QString& code);
    // Status panel 1 when no translation service is set.
    static QString noServiceText();

private:
    BrowserController& m_controller;
    PanelHost& m_window;
};
