#include "browser/BrowserController.h"

#include "browser/GeneratedPage.h"
#include "browser/MakerPages.h"
#include "browser/StartPages.h"
#include "buffers/PictureBuffer.h"
#include "files/TextFile.h"
#include "harvest/WebMarkup.h"
#include "platform/Launcher.h"
#include "platform/Logging.h"
#include "settings/StartupSettings.h"
#include "zone/Favourites.h"

#include <QDir>

namespace {

const QString kAddressFile = QStringLiteral("lb.prv");
const QString kPrivateHistoryFile = QStringLiteral("domain.prv");
const QString kPublicHistoryFile = QStringLiteral("domain2.prv");
const QString kPrivateFavouritesFile = QStringLiteral("favor.prv");
const QString kPublicFavouritesFile = QStringLiteral("favor2.prv");
const QString kSeenFeaturedFile = QStringLiteral("list6.prv");

// The address box keeps at most this many items when loaded, and drops its
// oldest item before the user adds one to a box of `kAddressesBeforeEntry`.
constexpr qsizetype kAddressesAtLoad = 20;
constexpr qsizetype kAddressesBeforeEntry = 19;

// A list file that is missing or cannot be read counts as an empty list.
QStringList linesOf(const QString& path) {
    return TextFile::readLines(path).value_or(QStringList{});
}

QStringList withoutEmptyItems(QStringList items) {
    items.removeAll(QString());
    return items;
}

} // namespace

BrowserController::BrowserController(const QString& homeFolder, Launcher& launcher,
                                     StartupSettings& settings, QObject* parent)
    : QObject(parent), m_home(homeFolder), m_launcher(launcher), m_settings(settings),
      m_location1(StartPages::defaultLocation()), m_location2(StartPages::defaultLocation()) {}

QString BrowserController::makerPage(const QString& page) const {
    return MakerPages::address(m_settings.values().makerSite, page);
}

void BrowserController::setLocations(const QString& location1, const QString& location2) {
    m_location1 = location1;
    m_location2 = location2;
}

void BrowserController::startUp() {
    Q_EMIT navigateRequested(View1, m_location1 + QStringLiteral("index.htm"));
    Q_EMIT navigateRequested(View2, m_location1 + QStringLiteral("welcome.htm"));
    Q_EMIT channelDownloadsWanted();
    loadLists();
    setStatusText(2, QStringLiteral("Public zone"));
}

void BrowserController::loadLists() {
    loadAddressItems(linesOf(listFile(kAddressFile)));
    m_zone.addNew(ZoneSession::PrivateHistory, linesOf(listFile(kPrivateHistoryFile)));
    m_zone.addNew(ZoneSession::PublicHistory, linesOf(listFile(kPublicHistoryFile)));
    m_zone.addNew(ZoneSession::PrivateFavourites, linesOf(listFile(kPrivateFavouritesFile)));
    m_zone.addNew(ZoneSession::PublicFavourites, linesOf(Favourites::publicStartFile(m_home)));
    // Featured pages seen more than once are counted more than once.
    m_zone.seenFeatured().append(linesOf(listFile(kSeenFeaturedFile)));
    Q_EMIT changed();
}

void BrowserController::loadAddressItems(const QStringList& lines) {
    for (const QString& line : lines) {
        // A full box makes room by dropping its newest item, so the oldest
        // addresses of a long history stay.
        if (m_addressItems.size() >= kAddressesAtLoad)
            m_addressItems.removeAt(kAddressesAtLoad - 1);
        if (!m_addressItems.contains(line))
            m_addressItems.append(line);
    }
}

void BrowserController::shutDown() {
    // Running downloads are cancelled here once the window has downloaders.
    writePictureBuffer(QStringLiteral("error.htm"));
    writeLists();
}

void BrowserController::writePictureBuffer(const QString& fileName) const {
    writeListFile(fileName, {PictureBuffer::dumpPage(pictureBuffer)});
}

// A file that cannot be written is skipped, and logged; the others still are.
void BrowserController::writeListFile(const QString& fileName, const QStringList& lines) const {
    const QString path = listFile(fileName);
    if (const Expected<void> written = TextFile::writeLines(path, lines); !written)
        qCWarning(lcBrowser) << "Could not write" << path << written.error();
}

void BrowserController::writeLists() const {
    const std::pair<const QString&, const QStringList&> lists[] = {
        {kAddressFile, m_addressItems},
        {kPrivateHistoryFile, m_zone.entries(ZoneSession::PrivateHistory)},
        {kPublicHistoryFile, m_zone.entries(ZoneSession::PublicHistory)},
        {kSeenFeaturedFile, m_zone.seenFeatured()},
        {kPrivateFavouritesFile, m_zone.entries(ZoneSession::PrivateFavourites)},
        {kPublicFavouritesFile, m_zone.entries(ZoneSession::PublicFavourites)},
    };
    for (const auto& [file, items] : lists)
        writeListFile(file, withoutEmptyItems(items));
}

void BrowserController::enterAddress() {
    if (m_addressItems.size() == kAddressesBeforeEntry)
        m_addressItems.removeFirst();
    if (!m_addressItems.contains(m_addressText))
        m_addressItems.append(m_addressText);
    Q_EMIT changed();
    navigateFromAddressBox(m_addressText);
}

void BrowserController::chooseAddress(const QString& item) {
    m_addressText = item;
    navigateFromAddressBox(item);
}

void BrowserController::navigateFromAddressBox(const QString& address) {
    if (!m_zone.inPrivateZone() && addressCheck && !addressCheck(address))
        return;
    navigateShown(address);
}

void BrowserController::enterSearchWords(const QString& text) {
    m_searchWords.prepend(text);
    Q_EMIT changed();
}

void BrowserController::deleteSearchWords(const QString& text) {
    if (m_searchWords.removeOne(text))
        Q_EMIT changed();
}

void BrowserController::replaceSearchWords(const QStringList& words) {
    m_searchWords = words;
    Q_EMIT changed();
}

void BrowserController::switchViews() {
    if (m_shown[View2]) {
        m_addressText = m_url[View1];
        show(View2, false);
        show(View1, true);
        setCaption(QStringLiteral("Browser 1"));
    } else {
        show(View2, true);
        m_addressText = m_url[View2];
        show(View1, false);
        setCaption(QStringLiteral("Browser 2"));
    }
}

void BrowserController::showOnly(View view) {
    // One view at a time, so that no command ever acts on both.
    show(view, true);
    show(view == View1 ? View2 : View1, false);
    Q_EMIT changed();
}

void BrowserController::run(Command command) {
    for (const View view : shownViews())
        Q_EMIT commandRequested(view, command);
    if (command == Command::Stop)
        setCaption(m_title[View1]);
}

void BrowserController::goBackInView1() {
    Q_EMIT commandRequested(View1, Command::Back);
}

void BrowserController::goHome() {
    for (const View view : shownViews())
        Q_EMIT navigateRequested(view, view == View1 ? m_location1 : m_location2);
}

void BrowserController::navigateShown(const QString& url) {
    for (const View view : shownViews())
        Q_EMIT navigateRequested(view, url);
}

void BrowserController::showPublicStartPages() {
    if (m_shown[View1])
        Q_EMIT navigateRequested(View1, m_location1 + QStringLiteral("index.htm"));
    if (m_shown[View2])
        Q_EMIT navigateRequested(View2, m_location1 + QStringLiteral("welcome.htm"));
}

void BrowserController::navigateFirstView(const QString& url) {
    Q_EMIT navigateRequested(View1, url);
}

void BrowserController::requestPrivateLists(const QString& searchListUrl,
                                            const QString& channelListUrl, bool retry) {
    Q_EMIT privateListsWanted(searchListUrl, channelListUrl, retry);
}

bool BrowserController::openHarvested(const QString& url) {
    if (!WebMarkup::isPageAddress(url)) {
        setStatusText(1, refusedText(url));
        return false;
    }
    navigateShown(url);
    return true;
}

QString BrowserController::refusedText(const QString& url) {
    return QStringLiteral("Not opened: only web pages (http, https, ftp) open from a harvested "
                          "list, not \"%1\"")
        .arg(url);
}

void BrowserController::navigationBegan(View view) {
    // Views report this; the page-event binding is released here once pages
    // report their events.
    Q_UNUSED(view);
}

void BrowserController::navigationComplete(View view, const QString& url, const QString& title) {
    m_url[view] = url;
    m_title[view] = title;
    if (translating && view == translationView) {
        showOnly(view);
        translating = false;
        setStatusText(1, QStringLiteral("Translation is done"));
        return;
    }
    if (!m_shown[view] || m_zone.inPrivateZone())
        return;
    Q_EMIT shownPageCompleted(view, url);
    m_addressText = url;
    setCaption(title);
    setStatusText(1, QStringLiteral("Working..."));
}

// The program's own report pages are not pages the user browsed: nothing is
// collected from them and they join no history.
void BrowserController::documentRead(View view, const DocumentSnapshot& document) {
    if (!document.isLoadedPage() || GeneratedPage::isGenerated(document.url, m_home))
        return;
    qCDebug(lcBrowser) << "view" << view + 1 << "read" << document.url;
    Q_EMIT documentArrived(view, document);
}

// Only the shown view names the window: a page loading in the hidden view
// would otherwise title the window after a page the user cannot see.
void BrowserController::downloadComplete(View view, const QString& title) {
    m_title[view] = title;
    if (!m_zone.inPrivateZone() && m_shown[view])
        setCaption(title);
    setStatusText(1, QStringLiteral("Done"));
}

void BrowserController::launch(const QString& description, const QString& program,
                               const QStringList& arguments) {
    if (!m_launcher.start(program, arguments))
        setStatusText(1, QStringLiteral("Could not start the %1 (%2).").arg(description, program));
}

void BrowserController::setStatusText(int panel, const QString& text) {
    m_status.at(panel - 1) = text;
    Q_EMIT changed();
}

QString BrowserController::listFile(const QString& name) const {
    return QDir(m_home).filePath(name);
}

QList<BrowserController::View> BrowserController::shownViews() const {
    QList<View> views;
    for (const View view : {View1, View2})
        if (m_shown[view])
            views.append(view);
    return views;
}

void BrowserController::setCaption(const QString& caption) {
    m_caption = caption;
    Q_EMIT changed();
}

void BrowserController::show(View view, bool shown) {
    m_shown[view] = shown;
}
