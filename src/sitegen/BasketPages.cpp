#include "sitegen/BasketPages.h"

#include "sitegen/PageText.h"
#include "text/ScriptText.h"

namespace {

// One double-quote character, for the script string literals of the pages.
const QString Q = QStringLiteral("\"");

// The tag settings as they stand inside the pages' double-quoted script
// strings. They are the merchant's own HTML, so only the string is guarded.
struct ScriptTags {
    QString table;
    QString font;
};

ScriptTags scriptTags(const SiteSettings& settings) {
    return {ScriptText::stringBody(settings.tableTag), ScriptText::stringBody(settings.fontTag)};
}

// How the basket scripts name one category: its catalog array, its remove
// function and its position, which numbers the row-total variables.
struct ScriptCategory {
    QString list;
    QString remove;
    QString k;
};

ScriptCategory scriptCategory(const SiteCategory& category, qsizetype position) {
    return {PageText::topList(category.name),
            QStringLiteral("RemoveFrom") + ScriptText::identifier(category.name),
            QString::number(position)};
}

QStringList pageHead(const QString& generatorVersion) {
    return {QStringLiteral("<html>"),
            QString(),
            QStringLiteral("<head>"),
            QStringLiteral("<title>BASKET</title>"),
            QStringLiteral("<meta name='GENERATOR' content='Quillmart ") + generatorVersion +
                QStringLiteral("'>"),
            QStringLiteral("<script LANGUAGE='JavaScript'>")};
}

// Both pages reload the retail basket after a removal.
QStringList removeFunctions(const QList<SiteCategory>& categories) {
    QStringList lines;
    for (qsizetype k = 0; k < categories.size(); ++k) {
        const ScriptCategory c = scriptCategory(categories.at(k), k);
        lines << QStringLiteral("function ") + c.remove + QStringLiteral("(nSelectedItem) {")
              << QStringLiteral("  ") + c.list + QStringLiteral("[nSelectedItem].itemquantity = 0")
              << QStringLiteral("  this.location.href = 'basket.htm' }") << QString();
    }
    return lines;
}

QString forEachItem(const ScriptCategory& c) {
    return QStringLiteral(" for (var n =1; n <= ") + c.list + QStringLiteral(".length; n++) {");
}

QString idCell(const QString& indent, const ScriptCategory& c, const QString& font) {
    return indent + QStringLiteral("msg += ") + Q + QStringLiteral("<TR VALIGN='top'><TD>") + font +
           Q + QStringLiteral("+ ") + c.list + QStringLiteral("[n].itemid + ") + Q +
           QStringLiteral("</TD>") + Q;
}

// A cell showing one property of the item record as it stands.
QString propertyCell(const QString& lead, const ScriptCategory& c, const QString& property,
                     const QString& font) {
    return lead + Q + QStringLiteral("<TD>") + font + Q + QStringLiteral("+") + c.list +
           QStringLiteral("[n].") + property + Q + QStringLiteral("</TD>") + Q;
}

QString removeCell(const QString& indent, const ScriptCategory& c, const QString& font) {
    return indent + QStringLiteral("msg += ") + Q + QStringLiteral("<TD>") + font +
           QStringLiteral("<FORM><INPUT TYPE='button' VALUE='Remove' onClick='") + c.remove +
           QStringLiteral("(") + Q + QStringLiteral(" + n + ") + Q +
           QStringLiteral(")'></FORM></TD></TR>") + Q;
}

// A cell showing a money amount; amount is the script expression between the
// string pieces, end closes the cell (and the row, for the last cell).
QString moneyCell(const QString& lead, const QString& amount, const QString& font,
                  const QString& end = QStringLiteral("</TD>")) {
    return lead + Q + QStringLiteral("<TD>") + font + QStringLiteral("$ ") + Q + amount + Q + end +
           Q;
}

QString headingCell(const QString& lead, const QString& heading, const QString& font) {
    return lead + Q + QStringLiteral("<TD>") + font + heading + QStringLiteral("</TD>") + Q;
}

QStringList pageTail(const QString& bodyTag) {
    return {QStringLiteral("    document.write (msg) }"),
            QStringLiteral("    </script>"),
            QStringLiteral("    </head>"),
            bodyTag,
            QStringLiteral("<h3 ALIGN='center'><script LANGUAGE='JavaScript'>"),
            QStringLiteral("displayBasket()"),
            QStringLiteral("    </script></h> </h3>"),
            QStringLiteral("<p><strong><font face='Verdana'>To complete the order select "
                           "&quot;Order form&quot; from"),
            QStringLiteral("the menu</font></strong></p>"),
            QStringLiteral("</body>"),
            QStringLiteral("</html>")};
}

QStringList retailHeadings(const ScriptTags& tags, bool manufacturer) {
    const QString& f = tags.font;
    const QString lead = QStringLiteral("  msg +=");
    QStringList lines{
        QStringLiteral("var msg = ") + Q + QStringLiteral("<CENTER><BR>") + tags.table +
            QStringLiteral("<TR>") + Q,
        lead + Q +
            (manufacturer ? QStringLiteral("<TH COLSPAN=7>") : QStringLiteral("<TH COLSPAN=6>")) +
            f + QStringLiteral("Contents of Basket</TH></TR>") + Q,
        lead + Q + QStringLiteral("<TR><TD>") + f + QStringLiteral("Item ID</TD>") + Q,
        headingCell(lead, QStringLiteral("Description"), f),
        headingCell(lead, QStringLiteral("Price"), f)};
    if (manufacturer)
        lines << headingCell(lead, QStringLiteral("Manufacturer"), f);
    lines << headingCell(lead, QStringLiteral("Quantity"), f)
          << lead + Q + QStringLiteral("<TD>") + f + QStringLiteral("Total</TD><TD>") + f +
                 QStringLiteral("Remove</TD></TR>") + Q;
    return lines;
}

QStringList retailRows(const ScriptCategory& c, const QString& f, bool manufacturer) {
    const QString tight = QStringLiteral("  msg +=");
    const QString spaced = QStringLiteral("  msg += ");
    QStringList lines{
        forEachItem(c),
        QStringLiteral("      if(") + c.list + QStringLiteral("[n].itemquantity > 0) {"),
        idCell(QStringLiteral("  "), c, f),
        propertyCell(spaced, c, QStringLiteral("itemdesc +"), f),
        QStringLiteral("       var total") + c.k + QStringLiteral(" = parseFloat(") + c.list +
            QStringLiteral("[n].itemprice) * parseFloat(") + c.list +
            QStringLiteral("[n].itemquantity)"),
        QStringLiteral("       totalW += parseFloat(") + c.list + QStringLiteral("[n].itemW * ") +
            c.list + QStringLiteral("[n].itemquantity)"),
        moneyCell(spaced,
                  QStringLiteral("+top.moneyFormat(") + c.list + QStringLiteral("[n].itemprice)+"),
                  f)};
    if (manufacturer)
        lines << propertyCell(tight, c, QStringLiteral("itemman+"), f);
    lines << propertyCell(tight, c, QStringLiteral("itemquantity +"), f)
          << moneyCell(tight,
                       QStringLiteral("+top.moneyFormat(total") + c.k + QStringLiteral(") +"), f)
          << removeCell(QStringLiteral("  "), c, f)
          << QStringLiteral("        total += total") + c.k + QStringLiteral(" } }") << QString();
    return lines;
}

QStringList retailTotals(const QString& f, bool manufacturer) {
    return {QStringLiteral("   totalPrice += parseFloat(total)"),
            QStringLiteral("    msg += ") + Q +
                (manufacturer ? QStringLiteral("<TR><TH COLSPAN=5>")
                              : QStringLiteral("<TR><TH COLSPAN=4>")) +
                f + QStringLiteral("Products Total</TH>") + Q,
            moneyCell(QStringLiteral("    msg+="),
                      QStringLiteral(" + top.moneyFormat(totalPrice) +"), f,
                      QStringLiteral("</TD></TR>")),
            QStringLiteral("    msg += ") + Q + QStringLiteral("</TABLE></CENTER>") + Q};
}

QStringList wholesaleHeadings(const ScriptTags& tags) {
    const QString& f = tags.font;
    const QString lead = QStringLiteral("  msg +=");
    return {QStringLiteral("var msg = ") + Q + QStringLiteral("<CENTER><BR>") + tags.table +
                QStringLiteral("<TR><TH COLSPAN=7>") + f +
                QStringLiteral("Contents of Basket</TH></TR>") + Q,
            QStringLiteral("msg += ") + Q + QStringLiteral("<TR><TD>") + f +
                QStringLiteral("Item ID</TD>") + Q,
            headingCell(QStringLiteral("msg += "), QStringLiteral("Description"), f),
            headingCell(lead, QStringLiteral("RPTotal"), f),
            headingCell(lead, QStringLiteral("WPTotal"), f),
            headingCell(lead, QStringLiteral("Savings"), f),
            headingCell(lead, QStringLiteral("Quantity"), f),
            headingCell(lead, QStringLiteral("Remove"), f)};
}

// The retail, wholesale and savings amounts of one row.
QStringList wholesaleAmounts(const ScriptCategory& c) {
    const QString quantity =
        QStringLiteral(") * parseFloat(") + c.list + QStringLiteral("[n].itemquantity);");
    return {QStringLiteral("       var rptotal") + c.k + QStringLiteral(" = parseFloat(") + c.list +
                QStringLiteral("[n].itemprice") + quantity,
            QStringLiteral("       var wptotal") + c.k + QStringLiteral(" = parseFloat(") + c.list +
                QStringLiteral("[n].wprice") + quantity,
            QStringLiteral("       var savings") + c.k + QStringLiteral(" =rptotal") + c.k +
                QStringLiteral("- wptotal") + c.k + QStringLiteral(" ;")};
}

QStringList wholesaleRows(const ScriptCategory& c, const QString& f) {
    const QString indent = QStringLiteral("       ");
    const QString lead = indent + QStringLiteral("msg += ");
    QStringList lines{forEachItem(c), QStringLiteral("   if(") + c.list +
                                          QStringLiteral("[n].itemquantity > 0) {")};
    lines << wholesaleAmounts(c) << idCell(indent, c, f)
          << propertyCell(lead, c, QStringLiteral("itemdesc +"), f);
    for (const QString& amount :
         {QStringLiteral("rptotal"), QStringLiteral("wptotal"), QStringLiteral("savings")})
        lines << moneyCell(
            lead, QStringLiteral("+top.moneyFormat(") + amount + c.k + QStringLiteral(")+"), f);
    lines << propertyCell(lead, c, QStringLiteral("itemquantity +"), f) << removeCell(indent, c, f)
          << indent + QStringLiteral("rtotal += rptotal") + c.k + QStringLiteral(";")
          << indent + QStringLiteral("wtotal += wptotal") + c.k + QStringLiteral(";")
          << indent + QStringLiteral("stotal += savings") + c.k + QStringLiteral(";")
          << indent + QStringLiteral("qtotal += parseFloat(") + c.list +
                 QStringLiteral("[n].itemquantity);")
          << QStringLiteral(" } }") << QString();
    return lines;
}

QStringList wholesaleTotals(const QString& f) {
    const QString lead = QStringLiteral("    msg += ");
    QStringList lines{QStringLiteral("   totalPrice += parseFloat(total)"),
                      lead + Q + QStringLiteral("<TR><TH COLSPAN=2>") + f +
                          QStringLiteral("Totals</TH>") + Q};
    for (const QString& total :
         {QStringLiteral("rtotal"), QStringLiteral("wtotal"), QStringLiteral("stotal")})
        lines << moneyCell(
            lead, QStringLiteral(" + top.moneyFormat(") + total + QStringLiteral(") +"), f);
    lines << lead + Q + QStringLiteral("<TD>") + f + Q + QStringLiteral(" + qtotal +") + Q +
                 QStringLiteral("</TD>") + Q
          << lead + Q + QStringLiteral("<TD>") + f + QStringLiteral("Thanks!</TD></TR>") + Q
          << lead + Q + QStringLiteral("</TABLE></CENTER>") + Q;
    return lines;
}

QStringList variables(const QStringList& names) {
    QStringList lines{QStringLiteral("var totalPrice = 0")};
    for (const QString& name : names)
        lines << QStringLiteral("var ") + name + QStringLiteral("=0");
    return lines;
}

} // namespace

QString BasketPages::retail(const SiteInput& input) {
    const ScriptTags tags = scriptTags(input.settings);
    const bool manufacturer = input.options.manufacturer;
    QStringList lines = pageHead(QStringLiteral("6.0")) + removeFunctions(input.categories);
    lines << QStringLiteral("function displayBasket(){")
          << variables({QStringLiteral("total"), QStringLiteral("totalW")})
          << retailHeadings(tags, manufacturer);
    for (qsizetype k = 0; k < input.categories.size(); ++k)
        lines << retailRows(scriptCategory(input.categories.at(k), k), tags.font, manufacturer);
    lines << retailTotals(tags.font, manufacturer)
          << pageTail(QStringLiteral("<body bgcolor='#FFFFFF'>"));
    return PageText::lines(lines);
}

QString BasketPages::wholesale(const SiteInput& input) {
    const ScriptTags tags = scriptTags(input.settings);
    QStringList lines = pageHead(QStringLiteral("2.0")) + removeFunctions(input.categories);
    lines << QStringLiteral("function displayBasket(){")
          << variables({QStringLiteral("total"), QStringLiteral("totalW"), QStringLiteral("rtotal"),
                        QStringLiteral("wtotal"), QStringLiteral("qtotal"),
                        QStringLiteral("stotal")})
          << wholesaleHeadings(tags);
    for (qsizetype k = 0; k < input.categories.size(); ++k)
        lines << wholesaleRows(scriptCategory(input.categories.at(k), k), tags.font);
    lines << wholesaleTotals(tags.font) << pageTail(QStringLiteral("<body>"));
    return PageText::lines(lines);
}
