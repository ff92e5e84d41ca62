#pragma once

#include <QString>

class Prompts;

// Saving a buffer as an HTML file: the save dialog's filter and the write.
class BufferFile {
public:
    enum class Kind { Catalog, Mp3, Pictures };

    // Inside the private zone, catalogs and the picture buffer are saved as
    // private collection files; everything else as HTML or text.
    static QString dialogFilter(Kind kind, bool privateZone);
    // Asks for a file name starting in `folder` and writes `text` to it,
    // whole, replacing any file there; the name is used as chosen. Cancel
    // writes nothing; a file that cannot be written is named in a message.
    // Returns whether the file was written.
    static bool save(const QString& text, const QString& filter, Prompts& prompts,
                     const QString& folder);
};
