#include "sitegen/SiteInput.h"

#include "text/ScriptText.h"

namespace {

QString itemName(const QString& category, const ItemRecord& item) {
    const QString& id = item[ItemRecord::ItemId];
    return category + QStringLiteral(", item ") + (id.isEmpty() ? QStringLiteral("(no ID)") : id);
}

QString badPriceLine(const QString& category, const ItemRecord& item) {
    return itemName(category, item) + QStringLiteral(": price \"") + item[ItemRecord::ItemPrice] +
           QLatin1Char('"');
}

QString badAddressLine(const QString& category, const ItemRecord& item) {
    return itemName(category, item) + QStringLiteral(": picture \"") + item[ItemRecord::PicUrl] +
           QStringLiteral("\", description \"") + item[ItemRecord::DescUrl] + QLatin1Char('"');
}

} // namespace

QStringList SiteInput::badPrices() const {
    QStringList lines;
    for (const SiteCategory& category : categories)
        for (const ItemRecord& item : category.items)
            if (!ScriptText::isPrice(item[ItemRecord::ItemPrice]))
                lines << badPriceLine(category.name, item);
    return lines;
}

QStringList SiteInput::badAddresses() const {
    QStringList lines;
    for (const SiteCategory& category : categories)
        for (const ItemRecord& item : category.items)
            if (item.hasUnsafeAddress())
                lines << badAddressLine(category.name, item);
    return lines;
}
