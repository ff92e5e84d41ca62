#pragma once

#include <QString>

// The maker's pages the browser opens: its home, the Help pages and the
// Investor page. They ship with the program and open offline; a maker site
// named in the settings serves them instead.
class MakerPages {
public:
    // The address of `page` ("gtst.htm"; empty for the home page): on
    // `makerSite` (a host, or an address with its scheme) when one is set,
    // else the shipped copy.
    static QString address(const QString& makerSite, const QString& page);
    // The shipped copy of `page`, whatever the settings say.
    static QString shipped(const QString& page);
};
