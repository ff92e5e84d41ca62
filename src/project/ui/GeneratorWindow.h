#pragma once

#include "shop/ItemRecord.h"
#include "shop/ShopIdentity.h"

#include <QMainWindow>
#include <QWidget>
#include <array>
#include <functional>

class GeneratorController;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class RememberPasswordBox;

// The store generator window ("Quillmart 6.0"): five tabs over one
// GeneratorController. It shows the controller's state and forwards every
// user action to it; it holds no state of its own.
class GeneratorWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit GeneratorWindow(GeneratorController& controller, QWidget* parent = nullptr);

    QTabWidget* tabs() const { return m_tabs; }
    // Puts a picture's address into the item editor's "Picture URL" field,
    // as if the user had typed it there.
    void setPictureUrl(const QString& url);

private:
    QWidget* buildWebStyleTab();
    void addLayoutChoices(QFormLayout* form);
    QWidget* buildProjectTab();
    QWidget* buildSettingsTab();
    QWidget* buildLayoutTab();
    QWidget* buildProductFrame();
    QWidget* buildItemListFrame();
    QWidget* buildTemplatesTab();
    QWidget* buildTemplateEditors();
    QPushButton* button(const QString& caption, const std::function<void()>& action);
    QWidget* buildShopFrame();
    QPushButton* pageStyleButton(ShopIdentity::Page page);
    void connectSettingsFields();
    void connectItemFields();

    void refresh();
    void refreshLists();
    void refreshFields();
    void refreshSettings();
    void refreshTemplates();
    void storeTemplates();
    void showPublishProgress(int done, int total);
    void storeSettings();
    void showKeyringStatus();
    void storeOptions();
    void storeIdentity();
    void refreshIdentity();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    GeneratorController& m_controller;
    QTabWidget* m_tabs = nullptr;

    // The layout radio buttons; each one's id is its SiteSettings::Layout.
    QButtonGroup* m_layouts = nullptr;
    QLineEdit* m_startFile = nullptr;
    QLineEdit* m_bannerText = nullptr;
    QLineEdit* m_bannerPicture = nullptr;
    QPlainTextEdit* m_companyText = nullptr;

    QLineEdit* m_projectName = nullptr;
    QLineEdit* m_categoryEntry = nullptr;
    QListWidget* m_categoryList = nullptr;

    QLineEdit* m_fontTag = nullptr;
    QLineEdit* m_tableTag = nullptr;
    QPlainTextEdit* m_actionCode = nullptr;
    QLineEdit* m_serverName = nullptr;
    QLineEdit* m_userName = nullptr;
    QLineEdit* m_password = nullptr;
    RememberPasswordBox* m_rememberPassword = nullptr;

    QComboBox* m_categoryBox = nullptr;
    std::array<QLineEdit*, ItemRecord::kFieldCount> m_itemFields{};
    QCheckBox* m_manufacturer = nullptr;
    QCheckBox* m_descriptionUrl = nullptr;
    QCheckBox* m_pictureUrl = nullptr;
    QCheckBox* m_weight = nullptr;
    QLineEdit* m_salesTax = nullptr;
    QListWidget* m_itemList = nullptr;
    QProgressBar* m_publishProgress = nullptr;

    QLineEdit* m_orderEmail = nullptr;
    QLineEdit* m_gatewayHost = nullptr;
    QLineEdit* m_gatewayLogin = nullptr;
    QLineEdit* m_saveResultsEmail = nullptr;
    // One editor per order template, in the order of OrderTemplates' fields.
    std::array<QPlainTextEdit*, 7> m_templateEditors{};
};
