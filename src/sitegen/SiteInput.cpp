#include "sitegen/SiteInput.h"

#include "platform/TwoThreads.h"
#include "text/ScriptText.h"

#include <vector>

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

// Large projects have many items: the categories are looked through on two
// threads, each item once for both checks.
SiteInput::ItemFaults SiteInput::itemFaults() const {
    std::vector<ItemFaults> found(size_t(categories.size()));
    runOnTwoThreads(categories.size(), [&](qsizetype k) {
        const QString& name = categories.at(k).name;
        ItemFaults& faults = found[size_t(k)];
        for (const ItemRecord& item : items(k)) {
            if (!ScriptText::isPrice(item[ItemRecord::ItemPrice]))
                faults.badPrices << badPriceLine(name, item);
            if (item.hasUnsafeAddress())
                faults.unsafeAddresses << badAddressLine(name, item);
        }
    });
    ItemFaults faults;
    for (const ItemFaults& part : found) {
        faults.badPrices << part.badPrices;
        faults.unsafeAddresses << part.unsafeAddresses;
    }
    return faults;
}
