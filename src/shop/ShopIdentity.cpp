#include "shop/ShopIdentity.h"

#include "shop/PictureFile.h"

#include <algorithm>

namespace {

// The site name of a picture, or empty when none is set.
QString pictureName(const QString& baseName, const QString& path) {
    if (path.isEmpty())
        return {};
    return PictureFile::siteName(baseName, path);
}

bool isHexDigit(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

} // namespace

QString ShopIdentity::caption(Page page) {
    switch (page) {
    case Page::Banner:
        return QStringLiteral("Banner");
    case Page::Menu:
        return QStringLiteral("Menu");
    case Page::Main:
        return QStringLiteral("Main");
    case Page::StoreMenu:
        break;
    }
    return QStringLiteral("Store menu");
}

QString ShopIdentity::pageName(Page page) {
    switch (page) {
    case Page::Banner:
        return QStringLiteral("banner");
    case Page::Menu:
        return QStringLiteral("mmenu");
    case Page::Main:
        return QStringLiteral("compinfo");
    case Page::StoreMenu:
        break;
    }
    return QStringLiteral("m_products");
}

bool ShopIdentity::isColour(const QString& text) {
    if (text.size() != 7 || text.front() != QLatin1Char('#'))
        return false;
    return std::all_of(text.begin() + 1, text.end(), isHexDigit);
}

// A picture whose file name has no picture ending keeps an empty site
// name; Generate refuses it with PictureFile's message.
QList<SitePicture> ShopIdentity::pictures() const {
    QList<SitePicture> list;
    if (!bannerPicture.isEmpty())
        list << SitePicture{bannerPicture, bannerPictureName()};
    for (const Page page : kPages) {
        const QString& source = style(page).backgroundPicture;
        if (!source.isEmpty())
            list << SitePicture{source, backgroundPictureName(page)};
    }
    return list;
}

QString ShopIdentity::bannerPictureName() const {
    return pictureName(QStringLiteral("banner_picture"), bannerPicture);
}

QString ShopIdentity::backgroundPictureName(Page page) const {
    return pictureName(pageName(page) + QStringLiteral("_background"),
                       style(page).backgroundPicture);
}
