#pragma once

#include "shop/SiteSettings.h"

#include <QString>

// The project's settings file (project name + ".sit"): sections separated by
// marker lines, each value followed by CR LF, an empty value written as two
// empty lines.
class SettingsFile {
public:
    // The whole file text.
    static QString write(const SiteSettings& settings);
    // Reads a settings file back. Values the file holds replace those of
    // `base`; settings the file does not hold (layout, FrontPage fields) keep
    // the values of `base`.
    static SiteSettings read(const QString& text, const SiteSettings& base);
};
