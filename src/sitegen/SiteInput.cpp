#include "sitegen/SiteInput.h"

#include "text/ScriptText.h"

namespace {

QString itemName(const QString& category, const ItemRecord& item) {
    const QString id = item.text(ItemRecord::ItemId);
    QString name = category + QStringLiteral(", item ");
    if (id.isEmpty())
        name += QStringLiteral("(no ID)");
    else
        name += id;
    return name;
}

QString badPriceLine(const QString& category, const ItemRecord& item) {
    QString line = itemName(category, item) + QStringLiteral(": price \"");
    line += item.text(ItemRecord::ItemPrice);
    return line + QLatin1Char('"');
}

QString badAddressLine(const QString& category, const ItemRecord& item) {
    QString line = itemName(category, item) + QStringLiteral(": picture \"");
    line += item.text(ItemRecord::PicUrl);
    line += QStringLiteral("\", description \"");
    line += item.text(ItemRecord::DescUrl);
    return line + QLatin1Char('"');
}

} // namespace

// Each item is looked at once for both checks.
SiteInput::ItemFaults SiteInput::itemFaults() const {
    ItemFaults faults;
    for (const SiteCategory& category : categories) {
        for (const ItemRecord& item : category.items) {
            if (!ScriptText::isPrice(item[ItemRecord::ItemPrice]))
                faults.badPrices << badPriceLine(category.name, item);
            if (item.hasUnsafeAddress())
                faults.unsafeAddresses << badAddressLine(category.name, item);
        }
    }
    return faults;
}
