#include "browser/ui/TranslationPanel.h"

#include "browser/BrowserController.h"
#include "browser/ui/PanelHost.h"
#include "browser/ui/WebView.h"
#include "settings/StartupSettings.h"
#include "translate/TranslationService.h"

using View = BrowserController::View;

TranslationPanel::TranslationPanel(BrowserController& controller, PanelHost& window)
    : m_controller(controller), m_window(window) {}

// Without a service there is nothing to ask: the views stay as they are.
void TranslationPanel::translate(const QString& code) {
    const QString service = m_controller.settings().values().translationService.trimmed();
    if (service.isEmpty()) {
        m_controller.setStatusText(1, noServiceText());
        return;
    }
    const QString request =
        TranslationService(service).requestUrl(m_controller.addressText(), code);
    const View hidden = m_controller.isShown(View::View1) ? View::View2 : View::View1;
    m_controller.translating = true;
    m_controller.translationView = hidden;
    m_window.view(hidden).navigate(request);
    m_controller.setStatusText(1, QStringLiteral("Translating..."));
}

QString TranslationPanel::noServiceText() {
    return QStringLiteral("No translation service is set: choose one in Edit > Preferences...");
}
