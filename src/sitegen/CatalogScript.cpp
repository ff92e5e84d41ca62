#include "sitegen/CatalogScript.h"

#include "text/ScriptText.h"

namespace {

constexpr char kLineEnd[] = "\r\n";

QString lines(const QStringList& list) {
    QString text;
    for (const QString& line : list)
        text += line + QLatin1StringView(kLineEnd);
    return text;
}

// Counts keep the sign position of the classic number-to-text conversion:
// 3 is written " 3".
void appendCount(QByteArray& text, qsizetype n) {
    text += ' ';
    text += QByteArray::number(n);
}

void appendQuoted(QByteArray& text, QUtf8StringView field) {
    text += '"';
    ScriptText::appendStringBody(text, field);
    text += '"';
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

void appendItemArguments(QByteArray& text, const ItemRecord& item, const CatalogOptions& options) {
    appendQuoted(text, item[ItemRecord::ItemId]);
    text += ',';
    appendQuoted(text, item[ItemRecord::ItemDesc]);
    text += ',';
    const QUtf8StringView price = item[ItemRecord::ItemPrice];
    text.append(price.data(), price.size());
    text += ",0";
    if (options.manufacturer) {
        text += ',';
        appendQuoted(text, item[ItemRecord::ItemMan]);
    }
    if (options.descriptionUrl) {
        text += ',';
        appendQuoted(text, item[ItemRecord::DescUrl]);
    }
    if (options.pictureUrl) {
        text += ',';
        appendQuoted(text, item[ItemRecord::PicUrl]);
    }
    for (const auto field : {ItemRecord::ItemW, ItemRecord::WPrice, ItemRecord::Cv}) {
        text += ',';
        appendQuoted(text, item[field]);
    }
}

// listName = new MakeArray( n)
void appendArrayLine(QByteArray& text, QByteArrayView list, qsizetype size) {
    text.append(list);
    text += " = new MakeArray(";
    appendCount(text, size);
    text += ")\r\n";
}

// listName[ n] = new Item(...)
void appendItemLine(QByteArray& text, QByteArrayView list, qsizetype number, const ItemRecord& item,
                    const CatalogOptions& options) {
    text.append(list);
    text += '[';
    appendCount(text, number);
    text += "] = new Item(";
    appendItemArguments(text, item, options);
    text += ")\r\n";
}

// Text beyond this many bytes is handed on before more is added.
constexpr qsizetype kPieceSize = 1 << 16;

void appendCategoryArray(QByteArray& text, const QString& name, const ItemList& items,
                         const CatalogOptions& options, const CatalogScript::TextOut& out) {
    const QByteArray list = (ScriptText::identifier(name) + QStringLiteral("List")).toUtf8();
    appendArrayLine(text, list, qsizetype(items.size()));
    qsizetype number = 0;
    for (const ItemRecord& item : items) {
        if (text.size() >= kPieceSize) {
            out(text);
            text.resize(0); // keeps the room for the next piece
        }
        appendItemLine(text, list, ++number, item, options);
    }
    text += kLineEnd;
}

} // namespace

QString CatalogScript::write(const SiteInput& input) {
    QByteArray text;
    write(input, [&text](QByteArrayView piece) { text += piece; });
    return QString::fromUtf8(text);
}

void CatalogScript::write(const SiteInput& input, const TextOut& out) {
    QByteArray text = (makeArrayBlock() + moneyFormatBlock() + itemBlock(input.options)).toUtf8();
    text.reserve(kPieceSize + 4096);
    for (qsizetype k = 0; k < input.categories.size(); ++k)
        appendCategoryArray(text, input.categories.at(k).name, input.items(k), input.options, out);
    text += kLineEnd;
    out(text);
}
