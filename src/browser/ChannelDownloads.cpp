#include "browser/ChannelDownloads.h"

#include "browser/BrowserController.h"
#include "browser/StartPages.h"
#include "channels/ChannelText.h"
#include "platform/Logging.h"
#include "settings/StartupSettings.h"
#include "web/Downloader.h"

namespace {

using View = BrowserController::View;

// The search-toolbar button each of the seven search-toolbar files fills.
constexpr std::array<int, ChannelDownloads::SearchButtonCount> kSearchPositions = {1, 8, 3, 4,
                                                                                   5, 6, 7};

} // namespace

ChannelDownloads::ChannelDownloads(BrowserController& controller, QObject* parent)
    : QObject(parent), m_controller(controller), m_featured(controller.zone().seenFeatured()) {
    makeListDownloaders();
    makeMenuDownloaders();
    m_retry.setInterval(RetryIntervalMs);
    connect(&m_retry, &QTimer::timeout, this, &ChannelDownloads::retryPrivateLists);
    connect(&m_controller, &BrowserController::channelDownloadsWanted, this,
            &ChannelDownloads::startUp);
    connect(&m_controller, &BrowserController::privateListsWanted, this,
            &ChannelDownloads::fetchPrivateLists);
}

void ChannelDownloads::makeListDownloaders() {
    m_channels = makeDownloader([this](const QString& text) { readChannels(text); },
                                [this] { privateListArrived(m_channelsWanted); });
    m_searchList = makeDownloader([this](const QString& text) { readSearchList(text); },
                                  [this] { privateListArrived(m_searchListWanted); });
    m_featuredList = makeDownloader([this](const QString& text) { readFeatured(text); });
    m_privateTable = makeDownloader([this](const QString& text) { readPrivateTable(text); });
    m_countries = makeDownloader([this](const QString& text) {
        Q_EMIT countriesArrived(ChannelText::lineList(text, true));
    });
    m_locations = makeDownloader([this](const QString& text) { readLocations(text); });
}

// The server menus and the search-toolbar buttons.
void ChannelDownloads::makeMenuDownloaders() {
    for (int n = 0; n < MenuCount; ++n)
        m_menus[n] = makeDownloader([this, n](const QString& text) { readMenu(n, text); });
    for (int i = 0; i < SearchButtonCount; ++i) {
        const int position = kSearchPositions[i];
        m_searchButtons[i] = makeDownloader(
            [this, position](const QString& text) {
                Q_EMIT searchButtonArrived(position, ChannelText::headedList(text, false));
            },
            [this, position] { Q_EMIT searchButtonRefused(position); });
    }
}

// The downloaders go before the network access manager they use.
ChannelDownloads::~ChannelDownloads() {
    cancel();
    qDeleteAll(m_all);
}

// `refused` runs for a server error page; without it the page is ignored.
Downloader* ChannelDownloads::makeDownloader(const Reader& read,
                                             const std::function<void()>& refused) {
    auto* downloader = new Downloader(m_network, this);
    connect(downloader, &Downloader::stateChanged, this,
            [this, downloader, read, refused](int state) {
                arrived(downloader, state, read, refused);
            });
    m_all.append(downloader);
    return downloader;
}

void ChannelDownloads::arrived(Downloader* downloader, int state, const Reader& read,
                               const std::function<void()>& refused) {
    if (state != Downloader::ResponseCompleted) {
        downloader->cancel();
        return;
    }
    const QString text = downloader->getChunk();
    const bool errorPage = ChannelText::isErrorPage(text);
    qCDebug(lcChannels) << "channel file" << downloader->url() << "arrived:" << text.size()
                        << "characters" << (errorPage ? "(a server error page)" : "");
    if (!errorPage)
        read(text);
    else if (refused)
        refused();
}

void ChannelDownloads::startUp() {
    const QString& base = m_controller.location1();
    m_channelsWanted = m_searchListWanted = true;
    m_channels->execute(base + QStringLiteral("pubchannels.txt"), ListChunk);
    m_searchList->execute(base + QStringLiteral("pubsearch.txt"), ListChunk);
    m_featuredList->execute(base + QStringLiteral("list5.txt"), FeaturedChunk);
    for (int n = 0; n < MenuCount; ++n)
        m_menus[n]->execute(base + QStringLiteral("menu%1.txt").arg(n + 1), MenuChunk);
    m_privateTable->execute(base + QStringLiteral("pass.txt"), ListChunk);
    m_countries->execute(base + QStringLiteral("intl.txt"), ListChunk);
    m_locations->execute(base + QStringLiteral("locations.txt"), ListChunk);
    fetchSearchButtons(base, QStringLiteral("World"));
}

void ChannelDownloads::fetchSearchButtons(const QString& base, const QString& prefix) {
    for (int i = 0; i < SearchButtonCount; ++i)
        m_searchButtons[i]->execute(base + QStringLiteral("intl/") + prefix +
                                        QStringLiteral("_%1.txt").arg(i + 1),
                                    ListChunk);
}

void ChannelDownloads::chooseCountry(const QString& country) {
    m_retry.start();
    const QString base =
        m_controller.location1().isEmpty() ? m_controller.location2() : m_controller.location1();
    const QString files = base + QStringLiteral("intl/") + country;
    m_channelsWanted = m_searchListWanted = true;
    m_searchList->execute(files + QStringLiteral("_s.txt"), ListChunk);
    m_channels->execute(files + QStringLiteral("_c.txt"), ListChunk);
    fetchSearchButtons(base, country);
    m_controller.navigateShown(files + QStringLiteral("_t.htm"));
}

void ChannelDownloads::fetchPrivateLists(const QString& searchListUrl,
                                         const QString& channelListUrl, bool retry) {
    m_channelsWanted = m_searchListWanted = true;
    m_searchList->execute(searchListUrl, ListChunk);
    m_channels->execute(channelListUrl, ListChunk);
    if (retry)
        m_retry.start();
}

void ChannelDownloads::nextFeatured() {
    if (const std::optional<QString> page = m_featured.step())
        return m_controller.navigateShown(*page);
    m_featuredList->execute(m_controller.location1() + QStringLiteral("list5.txt"), FeaturedChunk);
}

void ChannelDownloads::cancel() {
    for (Downloader* downloader : std::as_const(m_all))
        downloader->cancel();
}

bool ChannelDownloads::busy() const {
    return std::any_of(m_all.begin(), m_all.end(),
                       [](const Downloader* downloader) { return downloader->stillExecuting(); });
}

void ChannelDownloads::readChannels(const QString& text) {
    privateListArrived(m_channelsWanted);
    QList<LinkRecord> items = ChannelText::linkRecords(text);
    for (LinkRecord& item : items)
        if (!item.url.contains(QStringLiteral("http")))
            item.url = m_controller.location2() + item.url;
    Q_EMIT channelsArrived(items);
}

void ChannelDownloads::readSearchList(const QString& text) {
    privateListArrived(m_searchListWanted);
    Q_EMIT searchListArrived(ChannelText::linkRecords(text));
}

void ChannelDownloads::readMenu(int index, const QString& text) {
    HeadedList list = ChannelText::headedList(text, true);
    for (LinkRecord& record : list.records)
        record.url = ChannelText::resolved(m_menus[index]->url(), record.url);
    Q_EMIT menuArrived(index + 1, list);
}

void ChannelDownloads::readPrivateTable(const QString& text) {
    const QString& base = m_privateTable->url();
    for (PrivateZoneRow row : ChannelText::privateTable(text)) {
        for (QString* url : {&row.searchListUrl, &row.channelListUrl, &row.startPageUrl})
            *url = ChannelText::resolved(base, *url);
        m_controller.zone().addPrivateZoneRow(row);
    }
}

void ChannelDownloads::readFeatured(const QString& text) {
    QStringList pages = ChannelText::lineList(text, false);
    for (QString& page : pages)
        page = ChannelText::resolved(m_featuredList->url(), page);
    m_featured.append(pages);
    if (const std::optional<QString> page = m_featured.step()) {
        Q_EMIT m_controller.navigateRequested(View::View1, *page);
        return;
    }
    m_featured.restart();
    Q_EMIT m_controller.navigateRequested(View::View1, m_controller.makerPage(QString()));
}

// Kept for the next start; this run goes on with the addresses it has.
void ChannelDownloads::readLocations(const QString& text) {
    const auto locations = ChannelText::locations(text);
    if (!locations)
        return;
    const auto keptForm = [this](const QString& location) {
        return StartPages::keptForm(ChannelText::resolved(m_locations->url(), location));
    };
    const Expected<void> kept = m_controller.settings().keepLocations(keptForm(locations->first),
                                                                      keptForm(locations->second));
    if (!kept)
        qCWarning(lcChannels) << kept.error();
}

// An error page counts as arrived: asking again would bring it again.
void ChannelDownloads::privateListArrived(bool& wanted) {
    wanted = false;
    if (!m_channelsWanted && !m_searchListWanted)
        m_retry.stop();
}

// Each of the two lists that has not arrived, and is not on its way, is
// asked for again.
void ChannelDownloads::retryPrivateLists() {
    for (const auto& [downloader, wanted] :
         {std::pair(m_channels, m_channelsWanted), std::pair(m_searchList, m_searchListWanted)}) {
        if (wanted && !downloader->stillExecuting())
            downloader->execute(downloader->url());
    }
}
