#pragma once

#include "settings/StartupSettings.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QFormLayout;
class QLineEdit;
class QSpinBox;
class Prompts;

// Edit > "Preferences...": every [Startup] setting on five tabs, each field
// showing its default when left empty. "OK" keeps the values in
// Quillmart.conf, and the program uses them from then on.
class PreferencesDialog : public QDialog {
    Q_OBJECT

public:
    // `homeFolder`: where the default order database is.
    PreferencesDialog(StartupSettings& settings, Prompts& prompts, const QString& homeFolder,
                      QWidget* parent = nullptr);

    // The values the fields hold now.
    StartupValues values() const;

    void accept() override;

private:
    QWidget* browserTab();
    QWidget* harvestTab();
    QWidget* programsTab();
    QWidget* ordersTab();
    QWidget* publishingTab();
    QLineEdit* addText(QFormLayout* form, const QString& label, const QString& value,
                       const QString& shownDefault);
    QLineEdit* addFile(QFormLayout* form, const QString& label, const QString& value,
                       const QString& shownDefault, const QString& filter);

    StartupSettings& m_settings;
    Prompts& m_prompts;
    QString m_home;
    QLineEdit* m_location1 = nullptr;
    QLineEdit* m_location2 = nullptr;
    QLineEdit* m_makerSite = nullptr;
    QLineEdit* m_translationService = nullptr;
    QLineEdit* m_userAgent = nullptr;
    QCheckBox* m_respectRobots = nullptr;
    QLineEdit* m_submittingProgram = nullptr;
    QLineEdit* m_publishingProgram = nullptr;
    QLineEdit* m_orderDatabase = nullptr;
    QSpinBox* m_mailSizeLimit = nullptr;
    QLineEdit* m_mailCertificate = nullptr;
    QLineEdit* m_publishCertificate = nullptr;
};
