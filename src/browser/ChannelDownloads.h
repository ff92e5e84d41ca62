#pragma once

#include "channels/FeaturedPages.h"
#include "channels/LinkRecord.h"

#include <QList>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <array>
#include <functional>

class BrowserController;
class Downloader;

// The channel server's files: fetched at start, for a country of the
// "World" menu and for the private zone, each read once and handed on as
// lists for the menus and drop-downs. The private-zone table, the saved
// server locations and the featured-pages rotation are kept here directly.
//
// Every file comes from the controller's Location1 (for a country, from
// Location2 when Location1 is empty). A file that fails, or whose text is a
// server error page, leaves its target as it was.
class ChannelDownloads : public QObject {
    Q_OBJECT

public:
    static constexpr int RetryIntervalMs = 10000;
    // How much of a file is read.
    static constexpr int ListChunk = 12000;
    static constexpr int MenuChunk = 16000;
    static constexpr int FeaturedChunk = 64000;
    static constexpr int MenuCount = 5;
    static constexpr int SearchButtonCount = 7;

    explicit ChannelDownloads(BrowserController& controller, QObject* parent = nullptr);
    ~ChannelDownloads() override;

    // All start-up downloads, in their order.
    void startUp();
    // A "World" menu item: that country's lists and its page.
    void chooseCountry(const QString& country);
    // The private zone's search list and channel list in place of the
    // public ones; `retry` switches the retry timer on.
    void fetchPrivateLists(const QString& searchListUrl, const QString& channelListUrl, bool retry);
    // The next featured page in the shown view; with none left, the list is
    // fetched again and its arrival shows one.
    void nextFeatured();
    // Ends every pending download.
    void cancel();
    // Some download is still under way.
    bool busy() const;

    // Refetches the search list and the channel list until both arrived.
    QTimer& retryTimer() { return m_retry; }
    const FeaturedPages& featured() const { return m_featured; }

Q_SIGNALS:
    // Main-toolbar drop-downs: text and address of each item.
    void channelsArrived(const QList<LinkRecord>& items);
    void searchListArrived(const QList<LinkRecord>& items);
    // Server menu `menu` (1 to 5): its caption and items.
    void menuArrived(int menu, const HeadedList& list);
    // Search-toolbar button at `position`: its caption and query prefixes;
    // refused when the server sent an error page (the button is hidden).
    void searchButtonArrived(int position, const HeadedList& list);
    void searchButtonRefused(int position);
    // The "World" menu's countries.
    void countriesArrived(const QStringList& countries);

private:
    using Reader = std::function<void(const QString& text)>;

    void makeListDownloaders();
    void makeMenuDownloaders();
    Downloader* makeDownloader(const Reader& read, const std::function<void()>& refused = {});
    void fetchSearchButtons(const QString& base, const QString& prefix);
    void arrived(Downloader* downloader, int state, const Reader& read,
                 const std::function<void()>& refused);
    void readChannels(const QString& text);
    void readSearchList(const QString& text);
    void readMenu(int index, const QString& text);
    void readPrivateTable(const QString& text);
    void readFeatured(const QString& text);
    void readLocations(const QString& text);
    void privateListArrived(bool& wanted);
    void retryPrivateLists();

    BrowserController& m_controller;
    QNetworkAccessManager m_network;
    Downloader* m_channels = nullptr;
    Downloader* m_searchList = nullptr;
    Downloader* m_featuredList = nullptr;
    Downloader* m_privateTable = nullptr;
    Downloader* m_countries = nullptr;
    Downloader* m_locations = nullptr;
    std::array<Downloader*, MenuCount> m_menus{};
    std::array<Downloader*, SearchButtonCount> m_searchButtons{};
    QList<Downloader*> m_all;
    FeaturedPages m_featured;
    QTimer m_retry;
    // The search list and the channel list still to come while retrying.
    bool m_channelsWanted = false;
    bool m_searchListWanted = false;
};
