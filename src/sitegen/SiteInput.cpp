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
