#pragma once

#include <QString>

// What the store generator needs of the browser window: the address box's
// text ("Get it") and view 1 as the previewer of the generated start page
// ("Preview").
class BrowserLink {
public:
    virtual ~BrowserLink() = default;
    virtual QString addressText() const = 0;
    // Shows view 1 alone and opens the local file in it.
    virtual void preview(const QString& path) = 0;
};
