#include "project/ui/GeneratorWindow.h"

#include "generator/GeneratorController.h"
#include "orders/ui/EmailTab.h"
#include "platform/ui/FormRows.h"
#include "platform/ui/RememberPasswordBox.h"
#include "project/ui/PageStyleDialog.h"
#include "shop/OrderAddresses.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString kActionCodeLabel =
    QStringLiteral("Here You must place the HTML code for \"Form action\" tag");

// The editors show LF line ends; the settings keep CR LF.
QString toEditor(const QString& text) {
    return QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
QString fromEditor(const QString& text) {
    return QString(text).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

// The fields pass every change of their text on (typed, pasted, or set by
// a screen reader or an automation tool); the window's own updates are kept
// from coming back.
void setText(QLineEdit* edit, const QString& text) {
    if (edit->text() == text)
        return;
    const QSignalBlocker block(edit);
    edit->setText(text);
}

// Rebuilds a list only when its entries differ, so a refresh during the
// list's own signals leaves its items alone.
void setEntries(QListWidget* list, const QStringList& entries) {
    QStringList shown;
    for (int row = 0; row < list->count(); ++row)
        shown << list->item(row)->text();
    if (shown == entries)
        return;
    list->clear();
    list->addItems(entries);
}

// Runs `action` on the row of a double-clicked entry once the list has
// finished handling the click, since the action changes the list.
void onDoubleClick(QListWidget* list, QObject* context, const std::function<void(int)>& action) {
    QObject::connect(list, &QListWidget::itemDoubleClicked, context,
                     [list, context, action](QListWidgetItem* item) {
                         const int row = list->row(item);
                         QMetaObject::invokeMethod(
                             context, [action, row] { action(row); }, Qt::QueuedConnection);
                     });
}

QListWidget* namedList(const QString& name) {
    auto* list = new QListWidget;
    list->setAccessibleName(name);
    return list;
}

void deleteKeyRuns(QListWidget* list, const std::function<void(int)>& action) {
    auto* shortcut = new QShortcut(QKeySequence::Delete, list);
    shortcut->setContext(Qt::WidgetShortcut);
    QObject::connect(shortcut, &QShortcut::activated, list,
                     [list, action] { action(list->currentRow()); });
}

} // namespace

GeneratorWindow::GeneratorWindow(GeneratorController& controller, QWidget* parent)
    : QMainWindow(parent), m_controller(controller) {
    setWindowTitle(QStringLiteral("Quillmart 6.0"));
    m_tabs = new QTabWidget;
    m_tabs->addTab(buildWebStyleTab(), QStringLiteral("Web Style"));
    m_tabs->addTab(buildProjectTab(), QStringLiteral("Project"));
    m_tabs->addTab(buildSettingsTab(), QStringLiteral("Settings"));
    m_tabs->addTab(buildLayoutTab(), QStringLiteral("Layout"));
    m_tabs->addTab(new EmailTab(m_controller.orders()), QStringLiteral("E-Mail DB"));
    m_tabs->addTab(buildTemplatesTab(), QStringLiteral("Templates"));
    m_tabs->setCurrentIndex(3);
    m_publishProgress = new QProgressBar;
    m_publishProgress->setAccessibleName(QStringLiteral("Publishing progress"));
    m_publishProgress->setFormat(QStringLiteral("Publishing: %v of %m files"));
    m_publishProgress->hide();
    // A main window, so assistive technology announces it as a window with
    // its caption.
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->addWidget(m_tabs);
    layout->addWidget(m_publishProgress);
    setCentralWidget(content);

    connectSettingsFields();
    connectItemFields();
    connect(m_tabs, &QTabWidget::currentChanged, &m_controller, &GeneratorController::switchTab);
    connect(&m_controller, &GeneratorController::publishProgress, this,
            &GeneratorWindow::showPublishProgress);
    connect(&m_controller, &GeneratorController::changed, this, &GeneratorWindow::refresh);
    connect(&m_controller.orders(), &OrderController::changed, this,
            &GeneratorWindow::showKeyringStatus);
    connect(&m_controller, &GeneratorController::hideWanted, this, &QWidget::hide);
    connect(&m_controller, &GeneratorController::categoryEntryFocusWanted, m_categoryEntry,
            [this] { m_categoryEntry->setFocus(); });
    refresh();
    m_controller.lookUpRememberedPassword();
}

QPushButton* GeneratorWindow::button(const QString& caption, const std::function<void()>& action) {
    auto* result = new QPushButton(caption);
    connect(result, &QPushButton::clicked, this, action);
    return result;
}

QWidget* GeneratorWindow::buildWebStyleTab() {
    auto* styleFrame = new QGroupBox(QStringLiteral("Which Web's style  would You like to use ?"));
    m_startFile = new QLineEdit;
    auto* styleForm = new QFormLayout(styleFrame);
    addLayoutChoices(styleForm);
    FormRows::addRow(styleForm, QStringLiteral("Name of Store's start file (Link to)"),
                     m_startFile);
    // Made in the order of the tab, which is the order of the Tab key.
    QWidget* shopFrame = buildShopFrame();

    auto* pagesFrame1 = new QGroupBox(QStringLiteral("Pages style:"));
    auto* pages1 = new QHBoxLayout(pagesFrame1);
    pages1->addWidget(pageStyleButton(ShopIdentity::Page::Banner));
    pages1->addWidget(pageStyleButton(ShopIdentity::Page::Menu));
    auto* pagesFrame2 = new QGroupBox(QStringLiteral("Pages style:"));
    auto* pages2 = new QHBoxLayout(pagesFrame2);
    pages2->addWidget(pageStyleButton(ShopIdentity::Page::Main));
    pages2->addWidget(pageStyleButton(ShopIdentity::Page::StoreMenu));

    auto* tab = new QWidget;
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(styleFrame);
    layout->addWidget(shopFrame);
    layout->addWidget(pagesFrame1);
    layout->addWidget(pagesFrame2);
    layout->addStretch();
    return tab;
}

// The shop's own name and words: the banner and the company page.
QWidget* GeneratorWindow::buildShopFrame() {
    auto* frame = new QGroupBox(QStringLiteral("Your shop"));
    auto* form = new QFormLayout(frame);
    m_bannerText = new QLineEdit;
    FormRows::addRow(form, QStringLiteral("Banner text:"), m_bannerText);
    m_bannerPicture =
        FormRows::addChooserRow(form, QStringLiteral("Banner picture:"),
                                [this](const QString&) { return m_controller.choosePicture(); });
    m_companyText = new QPlainTextEdit;
    m_companyText->setTabChangesFocus(true);
    FormRows::addRow(form, QStringLiteral("Company page:"), m_companyText);
    for (QLineEdit* edit : {m_bannerText, m_bannerPicture})
        connect(edit, &QLineEdit::textChanged, this, &GeneratorWindow::storeIdentity);
    connect(m_companyText, &QPlainTextEdit::textChanged, this, &GeneratorWindow::storeIdentity);
    return frame;
}

// Opens the "Page style" dialog of the page; it applies its choices when
// the user presses OK.
QPushButton* GeneratorWindow::pageStyleButton(ShopIdentity::Page page) {
    return button(ShopIdentity::caption(page), [this, page] {
        auto* dialog = new PageStyleDialog(m_controller, page, this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->open();
    });
}

// One radio button per layout, in the order of SiteSettings::Layout: the
// group's ids are the layouts, and exactly one of them is checked.
void GeneratorWindow::addLayoutChoices(QFormLayout* form) {
    m_layouts = new QButtonGroup(this);
    const QStringList captions{QStringLiteral("Banner and contents menu"),
                               QStringLiteral("Contents menu only"),
                               QStringLiteral("Pages without frames (for phones)")};
    for (int layout = 0; layout < captions.size(); ++layout) {
        auto* choice = new QRadioButton(captions.at(layout));
        m_layouts->addButton(choice, layout);
        form->addRow(choice);
    }
}

QWidget* GeneratorWindow::buildProjectTab() {
    m_projectName = new QLineEdit;
    m_projectName->setReadOnly(true);
    m_categoryEntry = new QLineEdit;
    m_categoryList = namedList(QStringLiteral("Categories' names :"));
    auto* listLabel = new QLabel(QStringLiteral("Categories' names :"));
    listLabel->setBuddy(m_categoryList);

    auto* form = new QFormLayout;
    FormRows::addRow(form, QStringLiteral("Project Name :"), m_projectName);
    FormRows::addRow(form, QStringLiteral("Category name :"), m_categoryEntry);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(
        button(QStringLiteral("New Project"), [this] { m_controller.newProject(); }));
    buttons->addWidget(
        button(QStringLiteral("Open Project"), [this] { m_controller.openProject(); }));
    buttons->addWidget(
        button(QStringLiteral("Clear listing"), [this] { m_controller.clearCategories(); }));
    auto* add = button(QStringLiteral("Add Category"), [this] { m_controller.addCategory(); });
    buttons->addWidget(add);
    connect(m_categoryEntry, &QLineEdit::returnPressed, add, &QPushButton::click);
    connect(m_categoryEntry, &QLineEdit::textChanged, &m_controller,
            &GeneratorController::setCategoryEntry);
    onDoubleClick(m_categoryList, &m_controller,
                  [this](int row) { m_controller.removeCategory(row); });
    deleteKeyRuns(m_categoryList, [this](int row) { m_controller.removeCategory(row); });

    auto* tab = new QWidget;
    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addWidget(listLabel);
    layout->addWidget(m_categoryList);
    return tab;
}

QWidget* GeneratorWindow::buildSettingsTab() {
    m_fontTag = new QLineEdit;
    m_tableTag = new QLineEdit;
    m_actionCode = new QPlainTextEdit;
    m_actionCode->setTabChangesFocus(true);
    auto* htmlFrame = new QGroupBox(QStringLiteral("Setting HTML"));
    auto* htmlForm = new QFormLayout(htmlFrame);
    htmlForm->setRowWrapPolicy(QFormLayout::WrapAllRows);
    FormRows::addRow(htmlForm, QStringLiteral("Here You may define Font style"), m_fontTag);
    FormRows::addRow(htmlForm, QStringLiteral("Here You may define Table style"), m_tableTag);
    FormRows::addRow(htmlForm, kActionCodeLabel, m_actionCode);

    m_serverName = new QLineEdit;
    m_userName = new QLineEdit;
    m_rememberPassword = new RememberPasswordBox;
    auto* frontPageFrame = new QGroupBox(QStringLiteral("FrontPage settings"));
    auto* frontPageForm = new QFormLayout(frontPageFrame);
    FormRows::addRow(frontPageForm, QStringLiteral("Server name:"), m_serverName);
    FormRows::addRow(frontPageForm, QStringLiteral("User name:"), m_userName);
    m_password = m_rememberPassword->addRowBesideField(frontPageForm, QStringLiteral("Password :"));

    auto* tab = new QWidget;
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(htmlFrame);
    layout->addWidget(frontPageFrame);
    return tab;
}

QWidget* GeneratorWindow::buildProductFrame() {
    auto* frame = new QGroupBox(QStringLiteral("Product"));
    auto* form = new QFormLayout(frame);
    m_categoryBox = new QComboBox;
    m_categoryBox->setEditable(true);
    m_categoryBox->setInsertPolicy(QComboBox::NoInsert);
    FormRows::addRow(form, QStringLiteral("Category name"), m_categoryBox);
    // A screen reader on Linux announces an editable box by its text: the
    // line edit inside carries the caption as well.
    m_categoryBox->lineEdit()->setAccessibleName(QStringLiteral("Category name"));
    for (int f = 0; f < ItemRecord::kFieldCount; ++f) {
        m_itemFields[f] = new QLineEdit;
        FormRows::addRow(form, ItemRecord::label(ItemRecord::Field(f)), m_itemFields[f]);
    }
    m_manufacturer = new QCheckBox(QStringLiteral("Manufacturer"));
    m_descriptionUrl = new QCheckBox(QStringLiteral("Description URL"));
    m_pictureUrl = new QCheckBox(QStringLiteral("Picture URL"));
    m_weight = new QCheckBox(QStringLiteral("Weight"));
    auto* options = new QHBoxLayout;
    for (QCheckBox* box : {m_manufacturer, m_descriptionUrl, m_pictureUrl, m_weight}) {
        options->addWidget(box);
        connect(box, &QCheckBox::toggled, this, &GeneratorWindow::storeOptions);
    }
    form->addRow(options);
    m_salesTax = new QLineEdit;
    FormRows::addRow(form, QStringLiteral("Sales Tax,%"), m_salesTax);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(button(QStringLiteral("Add"), [this] { m_controller.addItem(); }));
    buttons->addWidget(button(QStringLiteral("Get it"), [this] { m_controller.getIt(); }));
    form->addRow(buttons);
    return frame;
}

QWidget* GeneratorWindow::buildItemListFrame() {
    auto* frame = new QGroupBox(QStringLiteral("Item List"));
    m_itemList = namedList(QStringLiteral("Item List"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(button(QStringLiteral("Up"), [this] { m_controller.moveUp(); }));
    buttons->addWidget(button(QStringLiteral("Down"), [this] { m_controller.moveDown(); }));
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(m_itemList);
    layout->addLayout(buttons);

    connect(m_itemList, &QListWidget::currentRowChanged, &m_controller,
            &GeneratorController::showItem);
    connect(m_itemList, &QListWidget::itemClicked, &m_controller,
            [this](QListWidgetItem* item) { m_controller.showItem(m_itemList->row(item)); });
    onDoubleClick(m_itemList, &m_controller, [this](int row) { m_controller.takeOutItem(row); });
    deleteKeyRuns(m_itemList, [this](int row) { m_controller.takeOutItem(row); });
    return frame;
}

QWidget* GeneratorWindow::buildLayoutTab() {
    auto* commands = new QHBoxLayout;
    commands->addWidget(button(QStringLiteral("Generate"), [this] { m_controller.generate(); }));
    commands->addWidget(button(QStringLiteral("Update"), [this] { m_controller.update(); }));
    commands->addWidget(button(QStringLiteral("Preview"), [this] { m_controller.preview(); }));
    commands->addWidget(button(QStringLiteral("Front Page"), [this] { m_controller.frontPage(); }));

    auto* tab = new QWidget;
    auto* columns = new QHBoxLayout;
    columns->addWidget(buildProductFrame(), 3);
    columns->addWidget(buildItemListFrame(), 2);
    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(columns);
    layout->addLayout(commands);
    return tab;
}

// The order forms' addresses, then one editor per template text. Editors
// show LF line ends; the templates keep CR LF like every written page.
QWidget* GeneratorWindow::buildTemplatesTab() {
    m_orderEmail = new QLineEdit;
    m_gatewayHost = new QLineEdit;
    m_gatewayLogin = new QLineEdit;
    m_saveResultsEmail = new QLineEdit;
    auto* form = new QFormLayout;
    FormRows::addRow(form, QStringLiteral("Orders are mailed to:"), m_orderEmail);
    FormRows::addRow(form, QStringLiteral("Payment gateway host:"), m_gatewayHost);
    FormRows::addRow(form, QStringLiteral("Login at the gateway:"), m_gatewayLogin);
    FormRows::addRow(form, QStringLiteral("Order1 results are mailed to:"), m_saveResultsEmail);
    connect(m_orderEmail, &QLineEdit::textChanged, &m_controller,
            &GeneratorController::setOrderEmail);
    connect(m_gatewayHost, &QLineEdit::textChanged, &m_controller,
            &GeneratorController::setGatewayHost);
    connect(m_gatewayLogin, &QLineEdit::textChanged, &m_controller,
            &GeneratorController::setGatewayLogin);
    connect(m_saveResultsEmail, &QLineEdit::textChanged, &m_controller,
            &GeneratorController::setSaveResultsEmail);

    auto* tab = new QWidget;
    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(form);
    layout->addWidget(buildTemplateEditors());
    return tab;
}

QWidget* GeneratorWindow::buildTemplateEditors() {
    const QStringList captions{
        QStringLiteral("Weight mail order body"), QStringLiteral("Weight gateway order body"),
        QStringLiteral("Plain order body"),       QStringLiteral("Weight COD body"),
        QStringLiteral("Plain COD body"),         QStringLiteral("Order1 tail"),
        QStringLiteral("Payment choice page")};
    auto* pages = new QTabWidget;
    pages->setAccessibleName(QStringLiteral("Order form templates"));
    for (int i = 0; i < int(m_templateEditors.size()); ++i) {
        auto* editor = new QPlainTextEdit;
        editor->setTabChangesFocus(true);
        editor->setLineWrapMode(QPlainTextEdit::NoWrap);
        editor->setAccessibleName(captions.at(i));
        connect(editor, &QPlainTextEdit::textChanged, this, &GeneratorWindow::storeTemplates);
        m_templateEditors[i] = editor;
        auto* page = new QWidget;
        auto* label = new QLabel(captions.at(i));
        label->setBuddy(editor);
        auto* layout = new QVBoxLayout(page);
        layout->addWidget(label);
        layout->addWidget(editor);
        pages->addTab(page, captions.at(i));
    }
    return pages;
}

void GeneratorWindow::connectSettingsFields() {
    for (QLineEdit* edit :
         {m_startFile, m_fontTag, m_tableTag, m_salesTax, m_serverName, m_userName, m_password})
        connect(edit, &QLineEdit::textChanged, this, &GeneratorWindow::storeSettings);
    connect(m_actionCode, &QPlainTextEdit::textChanged, this, &GeneratorWindow::storeSettings);
    connect(m_layouts, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            storeSettings();
    });
    for (QLineEdit* account : {m_serverName, m_userName})
        connect(account, &QLineEdit::editingFinished, &m_controller,
                &GeneratorController::lookUpRememberedPassword);
    connect(m_rememberPassword, &QCheckBox::toggled, &m_controller,
            &GeneratorController::setRememberPassword);
}

void GeneratorWindow::connectItemFields() {
    for (int f = 0; f < ItemRecord::kFieldCount; ++f)
        connect(m_itemFields[f], &QLineEdit::textChanged, &m_controller,
                [this, f](const QString& text) {
                    m_controller.setItemField(ItemRecord::Field(f), text);
                });
    connect(m_categoryBox, &QComboBox::editTextChanged, &m_controller,
            &GeneratorController::setCategoryBoxText);
    connect(m_categoryBox, &QComboBox::textActivated, &m_controller,
            &GeneratorController::chooseCategory);
    connect(m_categoryBox->lineEdit(), &QLineEdit::editingFinished, &m_controller,
            &GeneratorController::takeTypedCategory);
}

void GeneratorWindow::setPictureUrl(const QString& url) {
    m_controller.setItemField(ItemRecord::PicUrl, url);
    m_itemFields[ItemRecord::PicUrl]->setText(url);
}

void GeneratorWindow::storeSettings() {
    SiteSettings settings = m_controller.settings();
    settings.layout = SiteSettings::Layout(m_layouts->checkedId());
    settings.startFileName = m_startFile->text();
    settings.fontTag = m_fontTag->text();
    settings.tableTag = m_tableTag->text();
    settings.actionCode = fromEditor(m_actionCode->toPlainText());
    settings.salesTax = m_salesTax->text();
    settings.frontPageServer = m_serverName->text();
    settings.frontPageUser = m_userName->text();
    settings.frontPagePassword = m_password->text();
    m_controller.setSettings(settings);
}

void GeneratorWindow::storeIdentity() {
    ShopIdentity identity = m_controller.identity();
    identity.bannerText = m_bannerText->text();
    identity.bannerPicture = m_bannerPicture->text();
    identity.companyText = m_companyText->toPlainText();
    m_controller.setIdentity(identity);
}

void GeneratorWindow::refreshIdentity() {
    const ShopIdentity& identity = m_controller.identity();
    setText(m_bannerText, identity.bannerText);
    setText(m_bannerPicture, identity.bannerPicture);
    if (m_companyText->toPlainText() != identity.companyText) {
        const QSignalBlocker block(m_companyText);
        m_companyText->setPlainText(identity.companyText);
    }
}

void GeneratorWindow::closeEvent(QCloseEvent* event) {
    m_controller.keepSettings();
    QMainWindow::closeEvent(event);
}

void GeneratorWindow::storeOptions() {
    m_controller.setOptions({m_manufacturer->isChecked(), m_descriptionUrl->isChecked(),
                             m_pictureUrl->isChecked(), m_weight->isChecked()});
}

// While files go up the tabs take no input: the publish runs its own event
// loop, and a second command could change the site under it.
void GeneratorWindow::showPublishProgress(int done, int total) {
    const bool publishing = total > 0;
    m_publishProgress->setVisible(publishing);
    m_tabs->setEnabled(!publishing);
    if (publishing) {
        m_publishProgress->setRange(0, total);
        m_publishProgress->setValue(done);
    }
}

void GeneratorWindow::refresh() {
    refreshLists();
    refreshFields();
    refreshSettings();
    refreshTemplates();
    refreshIdentity();
    m_rememberPassword->showState(m_controller.rememberedPassword());
    showKeyringStatus();
}

// A desktop keyring that cannot be used is told in the status bar, which
// the window gets only then.
void GeneratorWindow::showKeyringStatus() {
    QString reason = m_controller.rememberedPassword().unavailableReason();
    if (reason.isEmpty())
        reason = m_controller.orders().rememberedPassword().unavailableReason();
    if (!reason.isEmpty() || findChild<QStatusBar*>(QString(), Qt::FindDirectChildrenOnly))
        statusBar()->showMessage(reason);
}

namespace {

std::array<QString*, 7> templateTexts(OrderTemplates& t) {
    return {&t.weightMailBody, &t.weightGatewayBody, &t.plainOrderBody, &t.weightCodBody,
            &t.plainCodBody,   &t.order1Tail,        &t.paymentPage};
}

} // namespace

void GeneratorWindow::storeTemplates() {
    OrderTemplates templates = m_controller.templates();
    const auto texts = templateTexts(templates);
    for (size_t i = 0; i < texts.size(); ++i)
        *texts[i] = fromEditor(m_templateEditors[i]->toPlainText());
    m_controller.setTemplates(templates);
    setText(m_saveResultsEmail, OrderAddresses::saveResultsEmail(templates.order1Tail));
}

void GeneratorWindow::refreshTemplates() {
    const SiteSettings& settings = m_controller.settings();
    setText(m_orderEmail, OrderAddresses::orderEmail(settings.emailFormTag));
    setText(m_gatewayHost, OrderAddresses::gatewayHost(settings.actionCode));
    setText(m_gatewayLogin, OrderAddresses::gatewayLogin(settings.actionCode));
    OrderTemplates templates = m_controller.templates();
    setText(m_saveResultsEmail, OrderAddresses::saveResultsEmail(templates.order1Tail));
    const auto texts = templateTexts(templates);
    for (size_t i = 0; i < texts.size(); ++i) {
        if (fromEditor(m_templateEditors[i]->toPlainText()) == *texts[i])
            continue;
        const QSignalBlocker block(m_templateEditors[i]);
        m_templateEditors[i]->setPlainText(toEditor(*texts[i]));
    }
}

void GeneratorWindow::refreshLists() {
    const QSignalBlocker blockCategories(m_categoryList);
    const QSignalBlocker blockBox(m_categoryBox);
    const QSignalBlocker blockItems(m_itemList);
    setText(m_projectName, m_controller.projectName());
    setText(m_categoryEntry, m_controller.categoryEntry());
    setEntries(m_categoryList, m_controller.categories());
    QStringList boxEntries;
    for (int i = 0; i < m_categoryBox->count(); ++i)
        boxEntries << m_categoryBox->itemText(i);
    if (boxEntries != m_controller.categoryBoxList()) {
        m_categoryBox->clear();
        m_categoryBox->addItems(m_controller.categoryBoxList());
    }
    if (m_categoryBox->currentText() != m_controller.categoryBoxText()) {
        m_categoryBox->setCurrentIndex(m_categoryBox->findText(m_controller.categoryBoxText()));
        m_categoryBox->setEditText(m_controller.categoryBoxText());
    }
    setEntries(m_itemList, m_controller.items());
    m_itemList->setCurrentRow(m_controller.selectedItem());
}

void GeneratorWindow::refreshFields() {
    for (int f = 0; f < ItemRecord::kFieldCount; ++f)
        setText(m_itemFields[f], m_controller.itemFields()[ItemRecord::Field(f)].toString());
    const CatalogOptions& options = m_controller.options();
    const QSignalBlocker blockManufacturer(m_manufacturer);
    const QSignalBlocker blockDescription(m_descriptionUrl);
    const QSignalBlocker blockPicture(m_pictureUrl);
    const QSignalBlocker blockWeight(m_weight);
    m_manufacturer->setChecked(options.manufacturer);
    m_descriptionUrl->setChecked(options.descriptionUrl);
    m_pictureUrl->setChecked(options.pictureUrl);
    m_weight->setChecked(options.weight);
}

void GeneratorWindow::refreshSettings() {
    const SiteSettings& settings = m_controller.settings();
    const QSignalBlocker blockLayouts(m_layouts);
    const QSignalBlocker blockAction(m_actionCode);
    m_layouts->button(int(settings.layout))->setChecked(true);
    setText(m_startFile, settings.startFileName);
    setText(m_fontTag, settings.fontTag);
    setText(m_tableTag, settings.tableTag);
    setText(m_salesTax, settings.salesTax);
    setText(m_serverName, settings.frontPageServer);
    setText(m_userName, settings.frontPageUser);
    setText(m_password, settings.frontPagePassword);
    if (fromEditor(m_actionCode->toPlainText()) != settings.actionCode)
        m_actionCode->setPlainText(toEditor(settings.actionCode));
}
