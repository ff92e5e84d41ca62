#pragma once

#include <QString>

// The maker's web addresses. Every generated shop names the maker's host in
// its GENERATOR tags and its no-frames message; its credit links lead to a
// maker site only when the settings name one (`pageAddress`).
class MakerSite {
public:
    static QString host() { return QStringLiteral("www.dorvane.example"); }
    // Written after "http://" in the start page's no-frames message.
    static QString browserDownload() { return QStringLiteral("www.dorvane.example/browsers.htm"); }
    // The address of `page` on the maker site `site` (a host, or an address
    // with its scheme); empty when no site is named.
    static QString pageAddress(const QString& site, const QString& page) {
        QString base = site.trimmed();
        if (base.isEmpty())
            return {};
        if (!base.contains(QStringLiteral("://")))
            base.prepend(QStringLiteral("http://"));
        if (!base.endsWith(QLatin1Char('/')))
            base += QLatin1Char('/');
        return base + page;
    }
};
