#include "generator/GeneratorController.h"

#include "files/TextFile.h"
#include "platform/Prompts.h"
#include "project/BrowserLink.h"
#include "publish/PublisherChoice.h"
#include "shop/NameRules.h"
#include "shop/OrderAddresses.h"
#include "shop/PictureFile.h"
#include "sitegen/SiteGenerator.h"
#include "sitegen/SitePublishing.h"
#include "text/ScriptText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

const QString kProjectFilter = QStringLiteral("Project file (*.caa)|*.caa");
const QString kPictureFilter =
    QStringLiteral("Pictures (*.png *.jpg *.jpeg *.gif *.webp)|*.png;*.jpg;*.jpeg;*.gif;*.webp");

const QString kNoProject = QStringLiteral(
    "Create a project with \"New Project\" or open one with \"Open Project\" first.");
const QString kChooseCategory =
    QStringLiteral("Choose a category in the Category box first: the items are saved under "
                   "the chosen category's name.");
const QString kBadPrice =
    QStringLiteral("The retail price (RPrice) must be a number such as 12 or 12.5: digits with "
                   "at most one decimal point.");

// The seven item fields that choosing a category empties; "WPrice" and "CV"
// keep their text.
const QString kBadField =
    QStringLiteral("The item fields cannot hold the character ^ or line breaks: they separate "
                   "the fields and the items in the item file.");
const QString kBadAddress =
    QStringLiteral("The \"Picture URL\" and \"Description URL\" fields cannot hold quotes, angle "
                   "brackets or control characters: the shop's pages write them into links and "
                   "pictures.");
const QString kListFull = QStringLiteral("A list holds at most 32,767 entries.");
constexpr qsizetype kMaxEntries = 32767;

// A caret or a line break typed into a field would shift or split the
// record when the item file is read back.
bool breaksRecord(const ItemRecord& record) {
    for (int f = 0; f < ItemRecord::kFieldCount; ++f) {
        const QUtf8StringView field = record[ItemRecord::Field(f)];
        if (std::any_of(field.begin(), field.end(),
                        [](char c) { return c == '^' || c == '\n' || c == '\r'; }))
            return true;
    }
    return false;
}

// Whether an item can be added to a list of `count` items, and why not.
Expected<void> checkNewItem(const ItemRecord& record, qsizetype count) {
    if (breaksRecord(record))
        return Failure{kBadField};
    if (!ScriptText::isPrice(record[ItemRecord::ItemPrice]))
        return Failure{kBadPrice};
    if (record.hasUnsafeAddress())
        return Failure{kBadAddress};
    if (count >= kMaxEntries)
        return Failure{kListFull};
    return {};
}

constexpr ItemRecord::Field kFieldsClearedOnChoice[] = {
    ItemRecord::ItemId, ItemRecord::ItemDesc, ItemRecord::ItemPrice, ItemRecord::DescUrl,
    ItemRecord::PicUrl, ItemRecord::ItemMan,  ItemRecord::ItemW};

} // namespace

GeneratorController::GeneratorController(const QString& homeFolder, Prompts& prompts,
                                         QObject* parent)
    : QObject(parent), m_home(homeFolder), m_prompts(prompts),
      m_publisherFor([this](const QString& server) { return realPublisher(server); }),
      m_orders(OrderStore::defaultPath(homeFolder), prompts) {}

// The back end for the server, asking the user before trusting an SFTP
// server seen for the first time.
std::unique_ptr<Publisher> GeneratorController::realPublisher(const QString& server) {
    TransferAccess access;
    access.trustedCertificate = m_trustedPublishCertificate;
    access.approveHostKey = [this](const QString& name, const QString& fingerprint) {
        return m_prompts.askYesNo(
            QStringLiteral("The server %1 is not known on this computer yet. Its host key "
                           "fingerprint is\n\n%2\n\nTrust this server and publish? Answer Yes "
                           "only if the server's administrator has confirmed this fingerprint.")
                .arg(name, fingerprint),
            QStringLiteral("Publishing"));
    };
    return PublisherChoice::forServer(server, access);
}

ProjectFolder GeneratorController::folder() const {
    return ProjectFolder(m_home, m_projectName);
}

bool GeneratorController::hasProject(const QString& action) {
    if (!m_projectName.isEmpty())
        return true;
    m_prompts.message(kNoProject, action);
    return false;
}

void GeneratorController::newProject() {
    const auto answer = m_prompts.input(QStringLiteral("Enter the new project's name , please"),
                                        QStringLiteral("New Project's Name"));
    if (!answer)
        return;
    if (const Expected<void> usable = NameRules::check(*answer, QStringLiteral("project"));
        !usable) {
        m_prompts.message(usable.error());
        return;
    }
    m_projectName = *answer;
    const QString path = folder().path();
    if (QFileInfo::exists(path) || !QDir().mkdir(path)) {
        m_prompts.message(QFileInfo::exists(path)
                              ? QStringLiteral("You already have the project with the same "
                                               "name.Please remove appropriate folder")
                              : QStringLiteral("Cannot create the project folder %1.").arg(path));
        m_prompts.openFile(kProjectFilter, m_home);
        m_projectName.clear();
        Q_EMIT changed();
        return;
    }
    m_prompts.message(QStringLiteral("You may fill the category listing for the new Store"));
    m_categoryEntry.clear();
    m_categories.clear();
    Q_EMIT changed();
}

std::optional<QString> GeneratorController::projectNameOf(const QString& pickedFile) {
    const QString relative = QDir(QFileInfo(m_home).canonicalFilePath())
                                 .relativeFilePath(QFileInfo(pickedFile).canonicalFilePath());
    const QStringList parts = relative.split(QLatin1Char('/'));
    if (parts.size() == 2 && parts[0] != QLatin1String(".."))
        return parts[0];
    m_prompts.message(
        QStringLiteral("Choose the project file inside its project's folder, in %1.").arg(m_home));
    return std::nullopt;
}

void GeneratorController::openProject() {
    const auto picked = m_prompts.openFile(kProjectFilter, m_home);
    if (!picked)
        return;
    const auto name = projectNameOf(*picked);
    if (!name)
        return;
    const auto lines = TextFile::readLines(*picked);
    if (!lines) {
        m_prompts.message(QStringLiteral("Cannot read the project file %1.").arg(*picked));
        return;
    }
    m_projectName = *name;
    m_categories = *lines;
    readSettingsFiles();
    Q_EMIT changed();
}

// The window's settings are what the project keeps. A settings file that
// cannot be read is said; the file of the other settings is then set
// aside, so that the next save does not replace what the merchant may
// still want from it, and the rest is read without it.
void GeneratorController::readSettingsFiles() {
    const ProjectFolder project = folder();
    auto read = project.readSettings(keptSettings());
    const QString more = project.moreSettingsFile();
    if (!read && read.error().contains(more)) {
        const QString aside = more + QStringLiteral(".unreadable");
        QFile::remove(aside);
        QString message = read.error();
        if (QFile::rename(more, aside))
            message += QStringLiteral(" It was kept as %1; the settings it held keep what the "
                                      "window shows.")
                           .arg(aside);
        m_prompts.message(message);
        read = project.readSettings(keptSettings());
    }
    if (read)
        takeSettings(*read);
    else
        m_prompts.message(read.error());
}

ProjectSettings GeneratorController::keptSettings() const {
    return {m_settings, m_options, m_templates, m_identity};
}

// A password belongs to its server and user: another account starts with
// the one the keyring remembers for it, if any.
void GeneratorController::takeSettings(const ProjectSettings& settings) {
    const bool sameAccount = settings.site.frontPageServer == m_settings.frontPageServer &&
                             settings.site.frontPageUser == m_settings.frontPageUser;
    m_settings = settings.site;
    m_options = settings.options;
    m_templates = settings.templates;
    m_identity = settings.identity;
    if (!sameAccount) {
        m_settings.frontPagePassword.clear();
        lookUpRememberedPassword();
    }
}

void GeneratorController::clearCategories() {
    m_categories.clear();
    Q_EMIT changed();
    Q_EMIT categoryEntryFocusWanted();
}

void GeneratorController::addCategory() {
    if (const Expected<void> usable = NameRules::check(m_categoryEntry, QStringLiteral("category"));
        !usable) {
        m_prompts.message(usable.error());
        return;
    }
    if (m_categories.size() >= kMaxEntries) {
        m_prompts.message(kListFull);
        return;
    }
    m_categories << m_categoryEntry;
    m_categoryEntry.clear();
    Q_EMIT changed();
    Q_EMIT categoryEntryFocusWanted();
}

void GeneratorController::removeCategory(int index) {
    if (index < 0 || index >= m_categories.size())
        return;
    m_categories.removeAt(index);
    Q_EMIT changed();
}

void GeneratorController::chooseCategory(const QString& name) {
    for (const ItemRecord::Field field : kFieldsClearedOnChoice)
        m_fields.set(field, {});
    loadCategory(name);
}

void GeneratorController::loadCategory(const QString& name) {
    m_categoryBoxText = name;
    m_itemsCategory = name;
    m_items.clear();
    m_selectedItem = -1;
    const bool readable =
        !m_projectName.isEmpty() && NameRules::check(name, QStringLiteral("category")).ok();
    if (readable) {
        if (const auto lines = folder().readItemLines(name))
            m_items = *lines;
    }
    Q_EMIT changed();
}

void GeneratorController::takeTypedCategory() {
    // The item fields keep what the user typed: the next "Add" may be
    // the very click that finished the typing.
    if (!m_categoryBoxText.isEmpty() && m_categoryBoxText != m_itemsCategory)
        loadCategory(m_categoryBoxText);
}

void GeneratorController::showItem(int index) {
    if (index < 0 || index >= m_items.size())
        return;
    m_fields = ItemRecord::fromLine(m_items[index]);
    m_selectedItem = index;
    Q_EMIT changed();
}

// The item list is only ever saved under the name of the category it was
// loaded from: after a tab switch has emptied the Category box, or while
// the box shows text that was typed but not yet taken, nothing is written.
bool GeneratorController::canSaveItems() {
    if (!hasProject(QStringLiteral("Item List")))
        return false;
    if (m_categoryBoxText.isEmpty() || m_categoryBoxText != m_itemsCategory) {
        m_prompts.message(kChooseCategory);
        return false;
    }
    const Expected<void> usable = NameRules::check(m_categoryBoxText, QStringLiteral("category"));
    if (!usable)
        m_prompts.message(usable.error());
    return usable.ok();
}

void GeneratorController::saveItems() {
    writeLines(folder().itemFile(m_categoryBoxText), m_items);
}

bool GeneratorController::writeLines(const QString& path, const QStringList& lines) {
    const Expected<void> written = TextFile::writeLines(path, lines);
    if (!written)
        m_prompts.message(QStringLiteral("Could not save %1: %2").arg(path, written.error()));
    return written.ok();
}

void GeneratorController::addItem() {
    if (!canSaveItems())
        return;
    if (const Expected<void> addable = checkNewItem(m_fields, m_items.size()); !addable) {
        m_prompts.message(addable.error());
        return;
    }
    m_items << m_fields.toLine();
    saveItems();
    Q_EMIT changed();
}

void GeneratorController::takeOutItem(int index) {
    if (index < 0 || index >= m_items.size() || !canSaveItems())
        return;
    m_fields = ItemRecord::fromLine(m_items.takeAt(index));
    m_selectedItem = -1;
    saveItems();
    Q_EMIT changed();
}

void GeneratorController::moveUp() {
    const int i = m_selectedItem;
    if (i - 1 < 0 || i >= m_items.size())
        return;
    m_items.swapItemsAt(i - 1, i);
    m_selectedItem = i - 1;
    Q_EMIT changed();
}

void GeneratorController::moveDown() {
    const int i = m_selectedItem;
    if (i < 0 || i + 1 >= m_items.size())
        return;
    m_items.swapItemsAt(i, i + 1);
    m_selectedItem = i + 1;
    Q_EMIT changed();
}

// The item snapshot (project name + ".pro") is the same file as the item
// file of a category named like the project; it is then left alone, so that
// category's items are never replaced by another category's list.
bool GeneratorController::snapshotWouldHitCategory() const {
    return m_categories.contains(m_projectName) || m_categoryBoxList.contains(m_projectName) ||
           m_itemsCategory == m_projectName;
}

bool GeneratorController::writeProjectFiles() {
    const ProjectFolder project = folder();
    if (!snapshotWouldHitCategory() && !writeLines(project.snapshotFile(), m_items))
        return false;
    if (!writeLines(project.projectFile(), m_categories))
        return false;
    return writeSettingsFiles();
}

bool GeneratorController::writeSettingsFiles() {
    const Expected<void> written = folder().writeSettings(keptSettings());
    if (!written)
        m_prompts.message(written.error());
    return written.ok();
}

void GeneratorController::keepSettings() {
    if (!m_projectName.isEmpty() && QFileInfo(folder().path()).isDir())
        writeSettingsFiles();
}

void GeneratorController::switchTab() {
    // Without a project there is no project folder to save into.
    if (!m_projectName.isEmpty())
        writeProjectFiles();
    m_categoryBoxList = m_categories;
    m_categoryBoxText.clear();
    Q_EMIT changed();
}

std::optional<SiteInput> GeneratorController::siteInput() {
    auto input = folder().readSite(m_categoryBoxList, m_settings, m_options);
    if (!input) {
        m_prompts.message(input.error());
        return std::nullopt;
    }
    input->templates = m_templates;
    input->identity = m_identity;
    input->makerSite = m_makerSite;
    return *std::move(input);
}

void GeneratorController::report(const QStringList& failures) {
    if (!failures.isEmpty())
        m_prompts.message(failures.join(QLatin1Char('\n')));
}

void GeneratorController::generate() {
    if (!hasProject(QStringLiteral("Generate")))
        return;
    keepSettings();
    const auto input = siteInput();
    if (!input)
        return;
    const GenerationResult result = SiteGenerator::generate(folder().path(), *input);
    QStringList messages = result.problems + result.failures;
    const QStringList examples = OrderAddresses::placeholders(m_settings, m_templates);
    if (result.ok() && !examples.isEmpty())
        messages << QStringLiteral("The site was written.")
                 << OrderAddresses::placeholderWarning(examples);
    report(messages);
}

void GeneratorController::update() {
    if (m_publishing || !hasProject(QStringLiteral("Update")))
        return;
    keepSettings();
    const auto input = siteInput();
    if (!input)
        return;
    const GenerationResult result = SiteGenerator::writeCatalog(folder().path(), *input);
    if (!result.ok()) {
        report(result.problems + result.failures);
        return;
    }
    if (m_settings.frontPageServer.isEmpty()) {
        m_prompts.message(QStringLiteral("The catalog script was written to %1. To publish it, "
                                         "enter the server name on the \"Settings\" tab.")
                              .arg(result.written.join(QStringLiteral(", "))));
        return;
    }
    publish([](Publisher& publisher, const PublishTarget& target) {
        return SitePublishing::publishCatalog(publisher, target);
    });
}

void GeneratorController::frontPage() {
    if (!canPublish(QStringLiteral("Front Page")) || !mayPublishPlaceholders())
        return;
    const QStringList categories = m_categories;
    const QString startFile = m_settings.startFileName;
    const SiteSettings::Layout layout = m_settings.layout;
    QStringList pictures;
    for (const SitePicture& picture : m_identity.pictures())
        pictures << picture.siteName;
    publish([&](Publisher& publisher, const PublishTarget& target) {
        return SitePublishing::publishSite(publisher, target, startFile, layout, categories,
                                           pictures);
    });
}

// A shop whose orders would go to an example address is only published
// when the merchant says so.
bool GeneratorController::mayPublishPlaceholders() {
    const QStringList examples = OrderAddresses::placeholders(m_settings, m_templates);
    return examples.isEmpty() || m_prompts.askYesNo(OrderAddresses::placeholderWarning(examples) +
                                                        QStringLiteral("\n\nPublish anyway?"),
                                                    QStringLiteral("Front Page"));
}

bool GeneratorController::canPublish(const QString& action) {
    if (m_publishing || !hasProject(action))
        return false;
    keepSettings();
    if (!m_settings.frontPageServer.isEmpty())
        return true;
    m_prompts.message(QStringLiteral("Enter the server name on the \"Settings\" tab first: a web "
                                     "server's host name for WebDAV, an sftp://, ftps:// or "
                                     "ftp:// address, or a folder."));
    return false;
}

// Runs one publish on a fresh back end, shows its progress and ends with
// one message saying what went up and what did not.
template <typename Publish> void GeneratorController::publish(const Publish& run) {
    if (!passwordMayGoInClear())
        return;
    const std::unique_ptr<Publisher> publisher = m_publisherFor(m_settings.frontPageServer);
    connect(publisher.get(), &Publisher::documentHandled, this,
            &GeneratorController::publishProgress);
    const PublishTarget target{m_settings.frontPageServer, m_settings.frontPageUser,
                               m_settings.frontPagePassword, m_projectName, folder().path()};
    m_publishing = true;
    Q_EMIT publishProgress(0, 1);
    const PublishReport report = run(*publisher, target);
    m_publishing = false;
    if (report.ok())
        m_rememberedPassword.succeeded(target.server, target.user, target.password);
    Q_EMIT publishProgress(0, 0);
    Q_EMIT changed();
    m_prompts.message(report.summary(target));
}

void GeneratorController::lookUpRememberedPassword() {
    if (const auto password = m_rememberedPassword.lookUp(
            m_settings.frontPageServer, m_settings.frontPageUser, m_settings.frontPagePassword))
        m_settings.frontPagePassword = *password;
    Q_EMIT changed();
}

void GeneratorController::setRememberPassword(bool on) {
    m_rememberedPassword.setTicked(on, m_settings.frontPageServer, m_settings.frontPageUser);
    Q_EMIT changed();
}

// A password about to go over plain http: the user decides once per server
// for the rest of the session.
bool GeneratorController::passwordMayGoInClear() {
    const QString server = m_settings.frontPageServer.trimmed();
    const QString warning =
        PublisherChoice::passwordInClearWarning(server, m_settings.frontPagePassword);
    return warning.isEmpty() ||
           m_clearTextConsent.allows(server, warning + QStringLiteral("\n\nPublish anyway?"),
                                     m_prompts, QStringLiteral("Publishing"));
}

void GeneratorController::setOrderEmail(const QString& email) {
    m_settings.emailFormTag = OrderAddresses::withOrderEmail(m_settings.emailFormTag, email);
    Q_EMIT changed();
}

void GeneratorController::setGatewayHost(const QString& host) {
    m_settings.actionCode = OrderAddresses::withGatewayHost(m_settings.actionCode, host);
    Q_EMIT changed();
}

void GeneratorController::setGatewayLogin(const QString& login) {
    SiteSettings settings = m_settings;
    settings.actionCode = OrderAddresses::withGatewayLogin(m_settings.actionCode, login);
    setSettings(settings);
    Q_EMIT changed();
}

void GeneratorController::setSettings(const SiteSettings& settings) {
    m_settings = settings;
    m_templates.order1Tail =
        OrderAddresses::withLoginOf(settings.actionCode, m_templates.order1Tail);
}

std::optional<QString> GeneratorController::choosePicture() {
    const auto picked = m_prompts.openFile(kPictureFilter, QDir::homePath());
    if (!picked)
        return std::nullopt;
    if (const Expected<QByteArray> picture = PictureFile::read(*picked); !picture) {
        m_prompts.message(picture.error());
        return std::nullopt;
    }
    return picked;
}

bool GeneratorController::setPageStyle(ShopIdentity::Page page, const PageStyle& style) {
    for (const QString& colour : {style.backgroundColour, style.textColour}) {
        if (!colour.isEmpty() && !ShopIdentity::isColour(colour)) {
            m_prompts.message(QStringLiteral("\"%1\" is not a colour: type # and six hexadecimal "
                                             "digits, such as #ffcc00, or leave the field empty.")
                                  .arg(colour),
                              QStringLiteral("Page style"));
            return false;
        }
    }
    if (!style.backgroundPicture.isEmpty()) {
        const QString picture = QDir(folder().path()).absoluteFilePath(style.backgroundPicture);
        if (const Expected<QByteArray> read = PictureFile::read(picture); !read) {
            m_prompts.message(read.error(), QStringLiteral("Page style"));
            return false;
        }
    }
    m_identity.style(page) = style;
    Q_EMIT changed();
    return true;
}

std::optional<QString> GeneratorController::chooseColour(const QString& current,
                                                         const QString& title) {
    return m_prompts.chooseColour(current, title);
}

void GeneratorController::setSaveResultsEmail(const QString& email) {
    m_templates.order1Tail = OrderAddresses::withSaveResultsEmail(m_templates.order1Tail, email);
    Q_EMIT changed();
}

void GeneratorController::preview() {
    if (!m_browser) {
        notAvailable(QStringLiteral("Preview"));
        return;
    }
    Q_EMIT hideWanted();
    m_browser->preview(
        QDir(folder().path()).filePath(m_settings.startFileName + QStringLiteral(".htm")));
}

void GeneratorController::getIt() {
    if (!m_browser) {
        notAvailable(QStringLiteral("Get it"));
        return;
    }
    m_fields.set(ItemRecord::DescUrl, m_browser->addressText());
    Q_EMIT changed();
}

void GeneratorController::notAvailable(const QString& command) {
    m_prompts.message(QStringLiteral("\"%1\" is not part of this version.").arg(command));
}
