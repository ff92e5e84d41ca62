#include "sitegen/CatalogScript.h"

#include "text/ScriptText.h"
#include "text/Utf8Room.h"

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
void writeCount(Utf8Room& room, qsizetype n) {
    room.bytes(" ");
    room.number(n);
}

void writeQuoted(Utf8Room& room, QUtf8StringView field) {
    room.bytes("\"");
    room.stringBody(field);
    room.bytes("\"");
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

void writeItemArguments(Utf8Room& room, const ItemRecord& item, const CatalogOptions& options) {
    writeQuoted(room, item[ItemRecord::ItemId]);
    room.bytes(",");
    writeQuoted(room, item[ItemRecord::ItemDesc]);
    room.bytes(",");
    room.utf8(item[ItemRecord::ItemPrice]);
    room.bytes(",0");
    if (options.manufacturer) {
        room.bytes(",");
        writeQuoted(room, item[ItemRecord::ItemMan]);
    }
    if (options.descriptionUrl) {
        room.bytes(",");
        writeQuoted(room, item[ItemRecord::DescUrl]);
    }
    if (options.pictureUrl) {
        room.bytes(",");
        writeQuoted(room, item[ItemRecord::PicUrl]);
    }
    for (const auto field : {ItemRecord::ItemW, ItemRecord::WPrice, ItemRecord::Cv}) {
        room.bytes(",");
        writeQuoted(room, item[field]);
    }
}

// The most bytes an item line takes: its fields, each as a quoted string
// literal, and the list name, the number and the punctuation around them.
qsizetype mostLineBytes(const ItemRecord& item, QByteArrayView list) {
    qsizetype most = list.size() + Utf8Room::kMostNumberBytes + 64;
    for (int f = 0; f < ItemRecord::kFieldCount; ++f)
        most += Utf8Room::mostBytes(item[ItemRecord::Field(f)]) + 3;
    return most;
}

// listName = new MakeArray( n)
void appendArrayLine(QByteArray& text, QByteArrayView list, qsizetype size) {
    Utf8Room room(text, list.size() + Utf8Room::kMostNumberBytes + 32);
    room.bytes(list);
    room.bytes(" = new MakeArray(");
    writeCount(room, size);
    room.bytes(")\r\n");
}

// listName[ n] = new Item(...)
void appendItemLine(QByteArray& text, QByteArrayView list, qsizetype number, const ItemRecord& item,
                    const CatalogOptions& options) {
    Utf8Room room(text, mostLineBytes(item, list));
    room.bytes(list);
    room.bytes("[");
    writeCount(room, number);
    room.bytes("] = new Item(");
    writeItemArguments(room, item, options);
    room.bytes(")\r\n");
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
