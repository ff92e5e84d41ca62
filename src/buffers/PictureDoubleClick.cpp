#include "buffers/PictureDoubleClick.h"

#include "buffers/Catalogs.h"
#include "buffers/PictureBuffer.h"
#include "harvest/WebMarkup.h"

PictureDoubleClick::PictureDoubleClick(PictureBuffer& pictures, Catalogs& catalogs)
    : m_pictures(pictures), m_catalogs(catalogs) {}

// Every catalog, the last two included, can be filled this way. An address
// that is not a plain web address is left alone: it could carry markup into
// a catalog page or the shop.
PictureDoubleClick::Outcome PictureDoubleClick::run(const Click& click) {
    if (!WebMarkup::isPlainWebAddress(click.address))
        return Outcome::Ignored;
    m_pictures.remove(click.address);
    if (click.inView1 && click.generatorShown)
        return Outcome::ToGenerator;
    if (!Catalogs::isCatalog(click.selectedEntry) || click.searchWords.isEmpty())
        return Outcome::NoCatalogName;
    m_catalogs.addPicture(click.selectedEntry, click.address);
    return Outcome::AddedToCatalog;
}

QString PictureDoubleClick::noCatalogMessage(bool inView1) {
    if (inView1)
        return QStringLiteral(" Choose the catalog's name ,please !");
    return QStringLiteral("Choose a catalig's name , please");
}
