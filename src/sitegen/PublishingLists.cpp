#include "sitegen/PublishingLists.h"

#include "sitegen/CatalogScript.h"
#include "sitegen/ListingPages.h"
#include "sitegen/PagesLayout.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <numeric>

namespace {

// The frameset, its frames and menus, the basket and order pages and the
// catalog, in the fixed publishing order of both framed layouts.
QStringList framedPages(const QString& startPage) {
    return {QStringLiteral("compinfo.htm"),
            startPage,
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
}

// Pages without frames: the framed list without its frame and menu pages,
// with the style sheet and script the pages share before the catalog.
QStringList framelessPages(const QString& startPage) {
    static const QStringList kFrameParts{
        QStringLiteral("compinfo.htm"),   QStringLiteral("ols.htm"),
        QStringLiteral("m_products.htm"), QStringLiteral("fsecond.htm"),
        QStringLiteral("mmenu.htm"),      QStringLiteral("banner.htm")};
    QStringList pages = framedPages(startPage);
    pages.removeIf([](const QString& page) { return kFrameParts.contains(page); });
    pages.insert(pages.size() - 1, QString::fromLatin1(PagesLayout::kStyleSheetName));
    pages.insert(pages.size() - 1, QString::fromLatin1(PagesLayout::kBasketScriptName));
    return pages;
}

QStringList siteAddresses(const QString& startFileName, SiteSettings::Layout layout,
                          const QStringList& categories, const QStringList& pictureNames) {
    const QString startPage = startFileName + QStringLiteral(".htm");
    QStringList addresses =
        layout == SiteSettings::Layout::Pages ? framelessPages(startPage) : framedPages(startPage);
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

// Lower ranks go up first: the catalog; the style sheet and script of the
// pages without frames; the listing, basket and order pages and the shop's
// pictures; the pages that link to those, fill the frames or show the
// pictures; the menus; the second frameset; the start page.
int uploadRank(const QString& address, const QString& startPage) {
    static const QStringList kPageResources{QString::fromLatin1(PagesLayout::kStyleSheetName),
                                            QString::fromLatin1(PagesLayout::kBasketScriptName)};
    static const QStringList kFramePages{QStringLiteral("compinfo.htm"), QStringLiteral("ols.htm"),
                                         QStringLiteral("banner.htm"),
                                         QStringLiteral("select_payment.htm")};
    static const QStringList kMenus{QStringLiteral("m_products.htm"), QStringLiteral("mmenu.htm")};
    if (address == QLatin1String(CatalogScript::kFileName))
        return 0;
    if (kPageResources.contains(address))
        return 1;
    if (address == startPage)
        return 6;
    if (address == QLatin1String("fsecond.htm"))
        return 5;
    if (kMenus.contains(address))
        return 4;
    if (kFramePages.contains(address))
        return 3;
    return 2;
}

} // namespace

PublishingLists PublishingLists::forSite(const QString& folder, const QString& startFileName,
                                         SiteSettings::Layout layout, const QStringList& categories,
                                         const QStringList& pictureNames) {
    return listsOf(folder, siteAddresses(startFileName, layout, categories, pictureNames));
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
