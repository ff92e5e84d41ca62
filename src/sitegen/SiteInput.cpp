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

// The lines `line` gives for the items `isBad` finds, category by category
// in order. Large projects have many items: the categories are looked
// through on two threads.
QStringList itemLines(const QList<SiteCategory>& categories, bool (*isBad)(const ItemRecord&),
                      QString (*line)(const QString&, const ItemRecord&)) {
    std::vector<QStringList> found(size_t(categories.size()));
    runOnTwoThreads(categories.size(), [&](qsizetype k) {
        const SiteCategory& category = categories.at(k);
        for (const ItemRecord& item : category.items)
            if (isBad(item))
                found[size_t(k)] << line(category.name, item);
    });
    QStringList lines;
    for (const QStringList& part : found)
        lines << part;
    return lines;
}

bool hasBadPrice(const ItemRecord& item) {
    return !ScriptText::isPrice(item[ItemRecord::ItemPrice]);
}

bool hasUnsafeAddress(const ItemRecord& item) {
    return item.hasUnsafeAddress();
}

} // namespace

QStringList SiteInput::badPrices() const {
    return itemLines(categories, hasBadPrice, badPriceLine);
}

QStringList SiteInput::badAddresses() const {
    return itemLines(categories, hasUnsafeAddress, badAddressLine);
}
