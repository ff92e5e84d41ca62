#include "browser/MakerPages.h"

#include "platform/ShippedData.h"
#include "sitegen/MakerSite.h"

#include <QDir>
#include <QUrl>

namespace {

const QString kHomePage = QStringLiteral("index.htm");

} // namespace

QString MakerPages::address(const QString& makerSite, const QString& page) {
    const QString onSite = MakerSite::pageAddress(makerSite, page);
    return onSite.isEmpty() ? shipped(page) : onSite;
}

QString MakerPages::shipped(const QString& page) {
    QString folder = ShippedData::folder(QStringLiteral("maker"));
    if (folder.isEmpty())
        folder = ShippedData::candidates(QStringLiteral("maker")).first();
    const QString file = page.isEmpty() ? kHomePage : page;
    return QUrl::fromLocalFile(QDir::cleanPath(folder + QLatin1Char('/') + file)).toString();
}
