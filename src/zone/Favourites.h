#pragma once

#include <QString>
#include <QStringList>

// The favourites lists and their add/delete files. Every add and every
// delete rewrites the zone's file in full: each entry followed by CR LF,
// then one more CR LF, so the file ends with an empty line.
class Favourites {
public:
    // The add/delete file of a zone: "favor.prv" inside the private zone,
    // "favor2.txt" outside it.
    static QString addDeleteFile(const QString& homeFolder, bool privateZone);
    // The file the public favourites are loaded from at start: the exit
    // file "favor2.prv", or "favor2.txt" when that was written later (the
    // program ended without its exit, so only the add/delete file holds
    // the latest favourites).
    static QString publicStartFile(const QString& homeFolder);

    // Appends `url` (no duplicate test) and rewrites the file at `path`.
    static void add(QStringList& list, const QString& url, const QString& path);
    // Removes entry `row`, if there is one, and rewrites the file; false
    // when nothing was removed.
    static bool remove(QStringList& list, int row, const QString& path);

    static QString fileText(const QStringList& list);
};
