#pragma once

#include <QList>
#include <QString>
#include <array>

// How one of the four styled pages looks: the body's background and text
// colours ("#rrggbb", or empty for the browser's own) and a background
// picture (the path of the merchant's picture file, or empty).
struct PageStyle {
    QString backgroundColour;
    QString textColour;
    QString backgroundPicture;

    bool operator==(const PageStyle&) const = default;
};

// A picture the site carries: the merchant's file and the plain name it is
// copied under in the site folder.
struct SitePicture {
    QString source;
    QString siteName;

    bool operator==(const SitePicture&) const = default;
};

// What makes the shop the merchant's own: the banner's text and picture,
// the company page's text and the styles of the four pages that take one.
// Everything is plain text as the merchant typed it; the writers escape it.
// Empty values leave the pages exactly as they are without them.
struct ShopIdentity {
    // The pages the "Pages style:" buttons style, in the buttons' order.
    enum class Page { Banner, Menu, Main, StoreMenu };
    static constexpr int kPageCount = 4;
    static constexpr std::array<Page, kPageCount> kPages{Page::Banner, Page::Menu, Page::Main,
                                                         Page::StoreMenu};

    QString bannerText;
    QString bannerPicture;
    // Lines end with LF; an empty line separates two paragraphs.
    QString companyText;
    std::array<PageStyle, kPageCount> pageStyles{};

    bool operator==(const ShopIdentity&) const = default;

    const PageStyle& style(Page page) const { return pageStyles[size_t(page)]; }
    PageStyle& style(Page page) { return pageStyles[size_t(page)]; }

    // The button's caption: "Banner", "Menu", "Main", "Store menu".
    static QString caption(Page page);
    // The page the style goes to: "banner", "mmenu", "compinfo", "m_products".
    static QString pageName(Page page);
    // True for "#" and six hexadecimal digits.
    static bool isColour(const QString& text);

    // Every picture that is set, banner picture first, then the background
    // pictures in the pages' order. Site names are "banner_picture" and
    // page name + "_background", with the picture's file type as ending.
    QList<SitePicture> pictures() const;
    // The site name of the banner picture, or of a page's background
    // picture; empty when none is set.
    QString bannerPictureName() const;
    QString backgroundPictureName(Page page) const;
};
