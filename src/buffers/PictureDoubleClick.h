#pragma once

#include <QString>

class Catalogs;
class PictureBuffer;

// A double-click on a page of a user view picks the picture (or link)
// under the mouse: it leaves the picture buffer, and goes either into the
// store generator's item editor (view 1, while the generator is shown) or
// into the catalog of the selected search-words entry.
class PictureDoubleClick {
public:
    enum class Outcome {
        Ignored,        // nothing with a plain web address was under the mouse
        ToGenerator,    // the address belongs in the generator's "Picture URL"
        AddedToCatalog, // the address joined the selected catalog
        NoCatalogName   // no catalog is selected: the user is asked to pick one
    };
    struct Click {
        bool inView1 = true;
        QString address;
        bool generatorShown = false;
        int selectedEntry = -1; // the search-words box's selected entry
        QString searchWords;    // the search-words box's text
    };

    PictureDoubleClick(PictureBuffer& pictures, Catalogs& catalogs);

    Outcome run(const Click& click);
    // The message for NoCatalogName, which differs between the two views.
    static QString noCatalogMessage(bool inView1);

private:
    PictureBuffer& m_pictures;
    Catalogs& m_catalogs;
};
