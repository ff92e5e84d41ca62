#pragma once

#include "keyring/RememberedPassword.h"
#include "orders/OrderController.h"
#include "project/ProjectFolder.h"
#include "shop/CatalogOptions.h"
#include "shop/ItemRecord.h"
#include "shop/OrderTemplates.h"
#include "shop/ProjectSettings.h"
#include "shop/ShopIdentity.h"
#include "shop/SiteSettings.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class BrowserLink;
class Prompts;
class Publisher;

// The state and the commands of the store generator window: the project
// name, the category list, the Category box, the item list and the item
// fields, the catalog options and the site settings. The window only shows
// this state and forwards the user's actions here.
class GeneratorController : public QObject {
    Q_OBJECT

public:
    GeneratorController(const QString& homeFolder, Prompts& prompts, QObject* parent = nullptr);

    // What the window shows.
    const QString& projectName() const { return m_projectName; }
    const QStringList& categories() const { return m_categories; }
    const QString& categoryEntry() const { return m_categoryEntry; }
    const QStringList& categoryBoxList() const { return m_categoryBoxList; }
    const QString& categoryBoxText() const { return m_categoryBoxText; }
    const QStringList& items() const { return m_items; }
    int selectedItem() const { return m_selectedItem; }
    const ItemRecord& itemFields() const { return m_fields; }
    const CatalogOptions& options() const { return m_options; }
    const SiteSettings& settings() const { return m_settings; }
    const OrderTemplates& templates() const { return m_templates; }
    const ShopIdentity& identity() const { return m_identity; }
    const QString& homeFolder() const { return m_home; }
    // The "E-Mail DB" tab.
    OrderController& orders() { return m_orders; }

    // What the user types or ticks; these emit nothing.
    void setCategoryEntry(const QString& text) { m_categoryEntry = text; }
    void setCategoryBoxText(const QString& text) { m_categoryBoxText = text; }
    void setItemField(ItemRecord::Field field, const QString& text) { m_fields.set(field, text); }
    void setOptions(const CatalogOptions& options) { m_options = options; }
    // The order form on order1.htm takes the gateway login of the form
    // action code.
    void setSettings(const SiteSettings& settings);
    void selectItem(int index) { m_selectedItem = index; }
    void setTemplates(const OrderTemplates& templates) { m_templates = templates; }
    void setIdentity(const ShopIdentity& identity) { m_identity = identity; }

    // "Web Style" tab: a picture file chosen in a file dialog, for the
    // banner or a page's background; a file that is not a picture is
    // refused with a message. No value when nothing was chosen.
    std::optional<QString> choosePicture();
    // The style of one of the four styled pages ("Page style" dialog). A
    // colour that is not "#rrggbb" or a file that is not a picture is
    // refused with a message; false then.
    bool setPageStyle(ShopIdentity::Page page, const PageStyle& style);
    // A colour dialog for one colour of a page's style; no value when the
    // user cancels.
    std::optional<QString> chooseColour(const QString& current, const QString& title);

    // The addresses inside the order forms ("Templates" tab): each rewrites
    // its part of the form text it lives in.
    void setOrderEmail(const QString& email);
    void setGatewayHost(const QString& host);
    void setGatewayLogin(const QString& login);
    void setSaveResultsEmail(const QString& email);

    // "Project" tab.
    void newProject();
    void openProject();
    void clearCategories();
    void addCategory();
    void removeCategory(int index);

    // "Layout" tab.
    void chooseCategory(const QString& name);
    // The user has finished typing a name into the Category box: a name
    // other than the loaded category's has its items loaded, and item saves
    // go to it from now on.
    void takeTypedCategory();
    void showItem(int index);
    void addItem();
    void takeOutItem(int index);
    void moveUp();
    void moveDown();
    void generate();
    // Writes the catalog script and publishes it alone.
    void update();
    // Publishes the whole site ("Front Page").
    void frontPage();
    bool isPublishing() const { return m_publishing; }

    // "Remember password" beside "Password :": a password remembered for
    // the server and user fills an empty field (the window asks when the
    // user leaves either field); a ticked box stores the password after a
    // successful publish; unticking forgets it.
    const RememberedPassword& rememberedPassword() const { return m_rememberedPassword; }
    void lookUpRememberedPassword();
    void setRememberPassword(bool on);

    // The back end for a "Server name:" text; the real choice unless a
    // test sets another.
    using PublisherFactory = std::function<std::unique_ptr<Publisher>(const QString& server)>;
    void setPublisherFactory(PublisherFactory factory) { m_publisherFor = std::move(factory); }
    // A PEM file whose certificate is trusted when publishing over FTP with
    // TLS, besides the system's authorities.
    void setTrustedPublishCertificate(const QString& path) { m_trustedPublishCertificate = path; }
    // The maker site the generated shop's credit links lead to; empty: none.
    void setMakerSite(const QString& site) { m_makerSite = site; }

    // Runs whenever the user switches to another tab.
    void switchTab();
    // Writes the project's settings files, as a tab switch does; the window
    // calls it when it closes, so nothing set is lost.
    void keepSettings();

    // The browser window the generator works with; none in a test or when
    // the generator runs alone.
    void setBrowserLink(BrowserLink* link) { m_browser = link; }
    // "Preview": the generated start page in the browser's view 1; the
    // generator window hides (it asks by hideWanted()).
    void preview();
    // "Get it": the browser's address into the "Description URL" field.
    void getIt();

    // Commands whose work this version does not do yet: the user is told so.
    void notAvailable(const QString& command);

Q_SIGNALS:
    // The state shown by the window has changed.
    void changed();
    // The category name entry field should take the input focus.
    void categoryEntryFocusWanted();
    // The generator window should hide ("Preview").
    void hideWanted();
    // Files of a publish handled so far; (0, 0) when the publish is over.
    void publishProgress(int done, int total);

private:
    std::unique_ptr<Publisher> realPublisher(const QString& server);
    ProjectFolder folder() const;
    // Loads a category's item file into the item list and makes it the
    // category that item saves go to.
    void loadCategory(const QString& name);
    bool hasProject(const QString& action);
    bool canSaveItems();
    void saveItems();
    void readSettingsFiles();
    ProjectSettings keptSettings() const;
    void takeSettings(const ProjectSettings& settings);
    bool writeSettingsFiles();
    bool mayPublishPlaceholders();
    bool writeLines(const QString& path, const QStringList& lines);
    bool writeProjectFiles();
    bool snapshotWouldHitCategory() const;
    std::optional<QString> projectNameOf(const QString& pickedFile);
    std::optional<SiteInput> siteInput();
    void report(const QStringList& failures);
    bool canPublish(const QString& action);
    template <typename Publish> void publish(const Publish& run);
    bool passwordMayGoInClear();

    QString m_home;
    Prompts& m_prompts;
    QString m_projectName;
    QStringList m_categories;
    QString m_categoryEntry;
    QStringList m_categoryBoxList;
    QString m_categoryBoxText;
    QStringList m_items;
    // The category whose item file the item list was loaded from.
    QString m_itemsCategory;
    int m_selectedItem = -1;
    ItemRecord m_fields;
    CatalogOptions m_options;
    SiteSettings m_settings = SiteSettings::defaults();
    OrderTemplates m_templates = OrderTemplates::defaults();
    ShopIdentity m_identity;
    PublisherFactory m_publisherFor;
    QString m_trustedPublishCertificate;
    QString m_makerSite;
    bool m_publishing = false;
    // Servers the user agreed to send the password to unencrypted.
    ClearTextConsent m_clearTextConsent;
    RememberedPassword m_rememberedPassword{PasswordKeyring::Kind::Publishing};
    OrderController m_orders;
    BrowserLink* m_browser = nullptr;
};
