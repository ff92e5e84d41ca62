#pragma once

#include <QString>

struct DocumentSnapshot;
class HarvestState;
class PictureBuffer;

// Takes the pictures of a page a user view has loaded into the picture
// buffer: links to ".jpg" or ".gif" files and the sources of all images,
// of the page and of its frames. While "Get/Add all Links" has armed it,
// it also hands every link to the link list's filtered add.
class PictureCollector {
public:
    PictureCollector(PictureBuffer& pictures, HarvestState& harvest);

    // Collects from the document and its frames; gives status panel 4's
    // text. Each pass over a document disarms the link hand-over when it
    // ends, so links go on only from the page and from its first frame
    // (and that frame's own first frames).
    QString collect(const DocumentSnapshot& document);

private:
    void collectLinks(const DocumentSnapshot& document);

    PictureBuffer& m_pictures;
    HarvestState& m_harvest;
};
