// An item file as Generate reads it, written into the catalog script and
// the listing pages. The escapers' UTF-8 form must give what their text
// form gives for the same characters.
#include "FuzzInput.h"
#include "project/ProjectFolder.h"
#include "sitegen/CatalogScript.h"
#include "sitegen/ListingPages.h"
#include "text/ScriptText.h"

#include <memory>

namespace {

void checkEscapers(QUtf8StringView field) {
    const QString text = ItemRecord::decoded(field);
    if (text.toUtf8() != QByteArrayView(field.data(), field.size()))
        return; // not valid UTF-8: the item file's reader never gives such fields
    QByteArray body;
    ScriptText::appendStringBody(body, field);
    mustHold(body == ScriptText::stringBody(text).toUtf8());
    QByteArray html;
    ScriptText::appendHtml(html, field);
    mustHold(html == ScriptText::html(text).toUtf8());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto bytes = std::make_shared<const QByteArray>(FuzzInput(data, size).bytes());
    SiteInput input;
    input.options = {true, true, true, true};
    input.categories << SiteCategory{QStringLiteral("Tools"), ProjectFolder::itemsFromBytes(bytes)};
    for (const ItemRecord& item : input.items(0)) {
        for (int f = 0; f < ItemRecord::kFieldCount; ++f)
            checkEscapers(item[ItemRecord::Field(f)]);
        mustHold(ItemRecord::fromLine(item.toLine()) == item);
    }
    input.itemFaults();
    CatalogScript::write(input);
    ListingPages::listingPage(input, 0);
    ListingPages::combinedPage(input);
    return 0;
}
