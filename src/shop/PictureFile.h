#pragma once

#include "platform/Expected.h"

#include <QByteArray>
#include <QString>

// A picture file the merchant chose for the shop's pages. Only PNG, JPEG,
// GIF and WebP pictures are taken, recognised by their first bytes, and
// their file name must end as their type does (".png", ".jpg" or ".jpeg",
// ".gif", ".webp", in any letter case).
class PictureFile {
public:
    // The largest picture taken; a page picture is far smaller.
    static constexpr qint64 kMostBytes = 20 * 1024 * 1024;

    // The picture's bytes, read once and checked, so that what is copied is
    // what was checked; or why the file cannot be a picture of the shop,
    // naming it.
    static Expected<QByteArray> read(const QString& path);
    // `baseName` with the ending of the picture's type, taken from its file
    // name: "png", "jpg" (for .jpg and .jpeg), "gif" or "webp"; empty when
    // the name has none of those endings.
    static QString siteName(const QString& baseName, const QString& path);
};
