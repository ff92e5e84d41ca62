#include "sitegen/PublishingLists.h"

#include "sitegen/CatalogScript.h"
#include "sitegen/ListingPages.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <numeric>

namespace {

QStringList siteAddresses(const QString& startFileName, const QStringList& categories,
                          const QStringList& pictureNames) {
    QStringList addresses{QStringLiteral("compinfo.htm"),
                          startFileName + QStringLiteral(".htm"),
                          QStringLiteral("ols.htm"),
                          QStringLiteral("basket.htm"),
                          QStringLiteral("order.htm"),
                          QStringLiteral("order1.htm"),
                          QStringLiteral("wbasket.htm"),
                          QStringLiteral("worder.htm"),
                          QStringLiteral("order_cc.htm"),
                          QStringLiteral("m_products.htm"),
                          QStringLiteral("worder_cc.htm"),
                          QStringLiteral("fsecond.htm"),
                          QStringLiteral("mmenu.htm"),
                          QStringLiteral("select_payment.htm"),
                          QStringLiteral("banner.htm"),
                          QStringLiteral("complect.htm"),
                          QStringLiteral("order_cod.htm"),
                          QStringLiteral("worder_cod.htm"),
                          QString::fromLatin1(CatalogScript::kFileName)};
    for (const QString& category : categories)
        addresses << ListingPages::pageName(category) + QStringLiteral(".htm");
    return addresses << pictureNames;
}

PublishingLists listsOf(const QString& folder, const QStringList& addresses) {
    QStringList files;
    for (const QString& address : addresses)
        files << QDir(folder).filePath(address);
    return {PublishingLists::listText(files), PublishingLists::listText(addresses)};
}

// Lower ranks go up first: the catalog; the listing, basket and order
// pages and the shop's pictures; the pages that link to those, fill the
// frames or show the pictures; the menus; the second frameset; the start
// page.
int uploadRank(const QString& address, const QString& startPage) {
    static const QStringList kFramePages{QStringLiteral("compinfo.htm"), QStringLiteral("ols.htm"),
                                         QStringLiteral("banner.htm"),
                                         QStringLiteral("select_payment.htm")};
    static const QStringList kMenus{QStringLiteral("m_products.htm"), QStringLiteral("mmenu.htm")};
    if (address == QLatin1String(CatalogScript::kFileName))
        return 0;
    if (address == startPage)
        return 5;
    if (address == QLatin1String("fsecond.htm"))
        return 4;
    if (kMenus.contains(address))
        return 3;
    if (kFramePages.contains(address))
        return 2;
    return 1;
}

} // namespace

PublishingLists PublishingLists::forSite(const QString& folder, const QString& startFileName,
                                         const QStringList& categories,
                                         const QStringList& pictureNames) {
    return listsOf(folder, siteAddresses(startFileName, categories, pictureNames));
}

PublishingLists PublishingLists::forCatalog(const QString& folder) {
    return listsOf(folder, {QString::fromLatin1(CatalogScript::kFileName)});
}

QStringList PublishingLists::entries(const QString& list) {
    QStringList result = list.split(QLatin1Char('\n'));
    if (!result.isEmpty() && result.last().isEmpty())
        result.removeLast();
    // A list written with CR LF endings means the same entries.
    for (QString& entry : result) {
        if (entry.endsWith(QLatin1Char('\r')))
            entry.chop(1);
    }
    return result;
}

QString PublishingLists::listText(const QStringList& entries) {
    QString text;
    for (const QString& entry : entries)
        text += entry + QLatin1Char('\n');
    return text;
}

PublishingLists PublishingLists::inUploadOrder(const QString& startFileName) const {
    const QStringList files = entries(fileList);
    const QStringList addresses = entries(addressList);
    const QString startPage = startFileName + QStringLiteral(".htm");
    QList<qsizetype> order(addresses.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        return uploadRank(addresses.at(a), startPage) < uploadRank(addresses.at(b), startPage);
    });
    QStringList sortedFiles;
    QStringList sortedAddresses;
    for (const qsizetype i : order) {
        sortedFiles << files.value(i);
        sortedAddresses << addresses.at(i);
    }
    return {listText(sortedFiles), listText(sortedAddresses)};
}

PublishingLists PublishingLists::existing(QStringList* missing) const {
    const QStringList files = entries(fileList);
    const QStringList addresses = entries(addressList);
    QStringList keptFiles;
    QStringList keptAddresses;
    for (qsizetype i = 0; i < addresses.size(); ++i) {
        if (QFileInfo(files.value(i)).isFile()) {
            keptFiles << files.value(i);
            keptAddresses << addresses.at(i);
        } else if (missing) {
            missing->append(addresses.at(i));
        }
    }
    return {listText(keptFiles), listText(keptAddresses)};
}
