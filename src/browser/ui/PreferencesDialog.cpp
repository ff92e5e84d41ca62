#include "browser/ui/PreferencesDialog.h"

#include "browser/StartPages.h"
#include "orders/OrderStore.h"
#include "orders/PopMailbox.h"
#include "platform/Prompts.h"
#include "platform/ui/FormRows.h"
#include "web/Downloader.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString kProgramFilter = QStringLiteral("All Files(*)|*|");
const QString kCertificateFilter =
    QStringLiteral("Certificate (*.pem;*.crt)|*.pem;*.crt|All Files(*)|*|");
const QString kNone = QStringLiteral("none");
constexpr int kLargestMailLimitMB = 4096;

// A location as the window shows it, and back as the settings keep it.
QString shownLocation(const QString& kept) {
    return kept.isEmpty() ? QString() : StartPages::fromKept(kept);
}

QString keptLocation(const QLineEdit* field) {
    const QString address = field->text().trimmed();
    return address.isEmpty() ? QString() : StartPages::keptForm(address);
}

QString trimmed(const QLineEdit* field) {
    return field->text().trimmed();
}

QWidget* tabOf(QFormLayout* form) {
    auto* tab = new QWidget;
    tab->setLayout(form);
    return tab;
}

} // namespace

PreferencesDialog::PreferencesDialog(StartupSettings& settings, Prompts& prompts,
                                     const QString& homeFolder, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_prompts(prompts), m_home(homeFolder) {
    setWindowTitle(QStringLiteral("Preferences"));
    auto* tabs = new QTabWidget;
    tabs->setAccessibleName(QStringLiteral("Preferences"));
    tabs->addTab(browserTab(), QStringLiteral("Browser"));
    tabs->addTab(harvestTab(), QStringLiteral("Harvest"));
    tabs->addTab(programsTab(), QStringLiteral("Programs"));
    tabs->addTab(ordersTab(), QStringLiteral("Orders"));
    tabs->addTab(publishingTab(), QStringLiteral("Publishing"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &PreferencesDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PreferencesDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
    resize(640, sizeHint().height());
}

QWidget* PreferencesDialog::browserTab() {
    const StartupValues& values = m_settings.values();
    auto* form = new QFormLayout;
    const QString shipped = StartPages::defaultLocation();
    m_location1 = addText(form, QStringLiteral("Channel server, &first location:"),
                          shownLocation(values.location1), shipped);
    m_location2 = addText(form, QStringLiteral("Channel server, &second location:"),
                          shownLocation(values.location2), shipped);
    m_makerSite = addText(form, QStringLiteral("&Maker site:"), values.makerSite,
                          QStringLiteral("none: the pages shipped with the program"));
    m_translationService =
        addText(form, QStringLiteral("&Translation service:"), values.translationService, kNone);
    return tabOf(form);
}

QWidget* PreferencesDialog::harvestTab() {
    const StartupValues& values = m_settings.values();
    auto* form = new QFormLayout;
    m_userAgent = addText(form, QStringLiteral("&User agent:"), values.userAgent,
                          Downloader::standardUserAgent());
    m_respectRobots = new QCheckBox(QStringLiteral("&Respect robots.txt in the window's crawls"));
    m_respectRobots->setChecked(values.respectRobots.value_or(false));
    m_respectRobots->setToolTip(QStringLiteral(
        "Unless set, the window does not respect robots.txt and the harvest command does."));
    form->addRow(m_respectRobots);
    return tabOf(form);
}

QWidget* PreferencesDialog::programsTab() {
    const StartupValues& values = m_settings.values();
    auto* form = new QFormLayout;
    m_submittingProgram = addFile(form, QStringLiteral("&Submitting program:"),
                                  values.submittingProgram, kNone, kProgramFilter);
    m_publishingProgram =
        addFile(form, QStringLiteral("&Publishing program:"), values.publishingProgram,
                QStringLiteral("none: the store generator publishes"), kProgramFilter);
    return tabOf(form);
}

QWidget* PreferencesDialog::ordersTab() {
    const StartupValues& values = m_settings.values();
    auto* form = new QFormLayout;
    m_orderDatabase = addText(form, QStringLiteral("Order &database:"), values.orderDatabase,
                              OrderStore::defaultPath(m_home));
    m_mailSizeLimit = new QSpinBox;
    m_mailSizeLimit->setRange(0, kLargestMailLimitMB);
    m_mailSizeLimit->setSuffix(QStringLiteral(" MB"));
    m_mailSizeLimit->setSpecialValueText(
        QStringLiteral("%1 MB (default)").arg(PopMailbox::kDefaultSizeLimit / (1024 * 1024)));
    m_mailSizeLimit->setValue(values.mailSizeLimitMB);
    FormRows::addRow(form, QStringLiteral("&Largest order mail:"), m_mailSizeLimit);
    m_mailCertificate =
        addFile(form, QStringLiteral("Mail server &certificate:"), values.trustedMailCertificate,
                QStringLiteral("the system's certificates"), kCertificateFilter);
    return tabOf(form);
}

QWidget* PreferencesDialog::publishingTab() {
    auto* form = new QFormLayout;
    m_publishCertificate = addFile(form, QStringLiteral("Publish server &certificate:"),
                                   m_settings.values().trustedPublishCertificate,
                                   QStringLiteral("the system's certificates"), kCertificateFilter);
    return tabOf(form);
}

QLineEdit* PreferencesDialog::addText(QFormLayout* form, const QString& label, const QString& value,
                                      const QString& shownDefault) {
    auto* field = new QLineEdit(value);
    field->setPlaceholderText(shownDefault);
    FormRows::addRow(form, label, field);
    return field;
}

// A file's field with a "Choose..." button that picks the file into it.
QLineEdit* PreferencesDialog::addFile(QFormLayout* form, const QString& label, const QString& value,
                                      const QString& shownDefault, const QString& filter) {
    QLineEdit* field = FormRows::addChooserRow(form, label, [this, filter](const QString& current) {
        const QString folder =
            current.trimmed().isEmpty() ? m_home : QFileInfo(current.trimmed()).absolutePath();
        return m_prompts.openFile(filter, folder);
    });
    field->setText(value);
    field->setPlaceholderText(shownDefault);
    return field;
}

// A check box left as it was shown keeps an unset RespectRobots unset, so
// the harvest command goes on respecting robots.txt by default.
StartupValues PreferencesDialog::values() const {
    StartupValues values = m_settings.values();
    values.location1 = keptLocation(m_location1);
    values.location2 = keptLocation(m_location2);
    values.makerSite = trimmed(m_makerSite);
    values.translationService = trimmed(m_translationService);
    values.userAgent = trimmed(m_userAgent);
    if (values.respectRobots || m_respectRobots->isChecked())
        values.respectRobots = m_respectRobots->isChecked();
    values.submittingProgram = trimmed(m_submittingProgram);
    values.publishingProgram = trimmed(m_publishingProgram);
    values.orderDatabase = trimmed(m_orderDatabase);
    values.mailSizeLimitMB = m_mailSizeLimit->value();
    values.trustedMailCertificate = trimmed(m_mailCertificate);
    values.trustedPublishCertificate = trimmed(m_publishCertificate);
    return values;
}

void PreferencesDialog::accept() {
    if (const Expected<void> kept = m_settings.change(values()); !kept)
        m_prompts.warning(kept.error());
    QDialog::accept();
}
