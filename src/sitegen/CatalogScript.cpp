#include "sitegen/CatalogScript.h"

#include "sitegen/ScriptText.h"

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

QString lines(const QStringList& list) {
    QString text;
    for (const QString& line : list)
        text += line + kLineEnd;
    return text;
}

// Counts keep the sign position of the classic number-to-text conversion:
// 3 is written " 3".
QString count(qsizetype n) {
    return QLatin1Char(' ') + QString::number(n);
}

QString quoted(const QString& field) {
    return QLatin1Char('"') + ScriptText::stringBody(field) + QLatin1Char('"');
}

QString makeArrayBlock() {
    return lines({QStringLiteral("function MakeArray(n){"), QStringLiteral("this.length = n;"),
                  QStringLiteral("for (var i = 1; i <= n; i++){"), QStringLiteral("this [i] = 0 }"),
                  QStringLiteral("return this }")});
}

// Works on whole cents of the absolute amount, so amounts below ten cents,
// negative amounts and amounts that round up to the next dollar all come out
// as dollars, a point and two cent digits.
QString moneyFormatBlock() {
    return lines({
        QStringLiteral("function moneyFormat(input) {"),
        QStringLiteral("var total = Math.round(Math.abs(input) * 100)"),
        QStringLiteral("var sign = (input < 0 && total > 0) ? \"-\" : \"\""),
        QStringLiteral("var cents = \"\" + (100 + total % 100)"),
        QStringLiteral("input = sign + Math.floor(total / 100) + \".\" + cents.substring(1, 3)"),
        QStringLiteral("return input }"),
    });
}

// The item properties between itemquantity and itemW that the options switch on.
QStringList optionalProperties(const CatalogOptions& options) {
    QStringList names;
    if (options.manufacturer)
        names << QStringLiteral("itemman");
    if (options.descriptionUrl)
        names << QStringLiteral("descURL");
    if (options.pictureUrl)
        names << QStringLiteral("picURL");
    return names;
}

QString itemBlock(const CatalogOptions& options) {
    const QStringList optional = optionalProperties(options);
    QString parameters = QStringLiteral("itemid, itemdesc, itemprice, itemquantity");
    for (const QString& name : optional)
        parameters += QLatin1Char(',') + name;
    parameters += QStringLiteral(",itemW,wprice,cv");

    QStringList block{QStringLiteral("function Item(") + parameters + QStringLiteral("){")};
    QStringList properties{QStringLiteral("itemid"), QStringLiteral("itemdesc"),
                           QStringLiteral("itemprice"), QStringLiteral("itemquantity")};
    properties << optional << QStringLiteral("itemW") << QStringLiteral("wprice")
               << QStringLiteral("cv");
    for (const QString& name : properties)
        block << QStringLiteral("this.") + name + QStringLiteral(" = ") + name;
    block << QStringLiteral(" }");
    return lines(block);
}

QString itemArguments(const ItemRecord& item, const CatalogOptions& options) {
    QString arguments = quoted(item[ItemRecord::ItemId]) + QLatin1Char(',') +
                        quoted(item[ItemRecord::ItemDesc]) + QLatin1Char(',') +
                        item[ItemRecord::ItemPrice] + QStringLiteral(",0");
    if (options.manufacturer)
        arguments += QLatin1Char(',') + quoted(item[ItemRecord::ItemMan]);
    if (options.descriptionUrl)
        arguments += QLatin1Char(',') + quoted(item[ItemRecord::DescUrl]);
    if (options.pictureUrl)
        arguments += QLatin1Char(',') + quoted(item[ItemRecord::PicUrl]);
    for (const auto field : {ItemRecord::ItemW, ItemRecord::WPrice, ItemRecord::Cv})
        arguments += QLatin1Char(',') + quoted(item[field]);
    return arguments;
}

QString categoryArray(const SiteCategory& category, const CatalogOptions& options) {
    const QString list = ScriptText::identifier(category.name) + QStringLiteral("List");
    QStringList block{list + QStringLiteral(" = new MakeArray(") + count(category.items.size()) +
                      QLatin1Char(')')};
    for (qsizetype j = 0; j < category.items.size(); ++j)
        block << list + QStringLiteral("[") + count(j + 1) + QStringLiteral("] = new Item(") +
                     itemArguments(category.items.at(j), options) + QLatin1Char(')');
    block << QString();
    return lines(block);
}

} // namespace

QString CatalogScript::write(const SiteInput& input) {
    QString text = makeArrayBlock() + moneyFormatBlock() + itemBlock(input.options);
    for (const SiteCategory& category : input.categories)
        text += categoryArray(category, input.options);
    return text + kLineEnd;
}
