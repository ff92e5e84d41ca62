#pragma once

#include <QString>

// The site settings of the generator window. Texts are kept exactly as
// typed; multi-line values use CR LF line ends.
struct SiteSettings {
    // The two framed layouts, and pages without frames for phones and
    // desktops alike.
    enum class Layout { BannerAndContents, ContentsOnly, Pages };

    Layout layout = Layout::BannerAndContents;
    QString startFileName;
    QString fontTag;
    QString tableTag;
    QString actionCode;
    QString emailFormTag;
    QString salesTax;
    QString frontPageServer;
    QString frontPageUser;
    QString frontPagePassword;

    bool operator==(const SiteSettings&) const = default;

    // The values the window starts with.
    static SiteSettings defaults();

    // Where the default forms send orders; example addresses until the
    // merchant sets their own.
    static QString defaultOrderEmail();
    static QString defaultGatewayUrl();
    static QString defaultGatewayLogin();
    static QString emailFormTagFor(const QString& orderEmail);
    static QString actionCodeFor(const QString& gatewayUrl, const QString& login);
};
