#pragma once

#include <QString>

// The maker's own web addresses that every generated shop carries: the host
// named in the GENERATOR tags and credit links, and the page the no-frames
// message sends visitors to for a browser.
class MakerSite {
public:
    static QString host() { return QStringLiteral("www.dorvane.example"); }
    // Written after "http://" in the start page's no-frames message.
    static QString browserDownload() { return QStringLiteral("www.dorvane.example/browsers.htm"); }
};
