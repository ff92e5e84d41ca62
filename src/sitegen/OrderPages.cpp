#include "sitegen/OrderPages.h"

#include "sitegen/PageText.h"
#include "text/ScriptText.h"

namespace {

using Prices = OrderPages::Prices;

// The text of a script string literal between its double quotes.
QString literal(const QString& html) {
    return ScriptText::stringBody(html);
}

QString priceField(Prices prices) {
    return prices == Prices::Retail ? QStringLiteral("itemprice") : QStringLiteral("wprice");
}

QStringList scriptHead(const SiteInput& input) {
    return {QStringLiteral("<html>"),
            QString(),
            QStringLiteral("<head>"),
            QStringLiteral("<title>Order Form</title>"),
            QStringLiteral("<meta name='GENERATOR' content='Quillmart 2.0'>"),
            QStringLiteral("<script LANGUAGE='JavaScript'>"),
            QStringLiteral("var cof=0"),
            QStringLiteral("var cof2=0"),
            QStringLiteral("var cof3=0"),
            QStringLiteral("var cof4=0"),
            QStringLiteral("var tax"),
            QStringLiteral("var tax1=") + input.settings.salesTax,
            QStringLiteral("var info=''"),
            QStringLiteral("var totalPrice = 0"),
            QStringLiteral("var extendedTotal"),
            QStringLiteral("var totalW=0"),
            QStringLiteral("function UpdateOrder(){")};
}

// The basket table's first row and its heading row.
QStringList tableHeading(const SiteInput& input) {
    const QString font = literal(input.settings.fontTag);
    const bool manufacturer = input.options.manufacturer;
    QStringList lines{
        QStringLiteral("var msg = \"<CENTER><BR>") + literal(input.settings.tableTag) +
            QStringLiteral("<TR><TH COLSPAN=") +
            (manufacturer ? QStringLiteral("6>") : QStringLiteral("5>")) + font +
            QStringLiteral("Contents of Basket</TH></TR>\""),
        QStringLiteral("  msg +=\"<TR><TD>") + font + QStringLiteral("Item ID</TD>\""),
        QStringLiteral("  msg +=\"<TD>") + font + QStringLiteral("Description</TD>\""),
        QStringLiteral("  msg +=\"<TD>") + font + QStringLiteral("WPrice</TD>\"")};
    if (manufacturer)
        lines << QStringLiteral("  msg += \"<TD>") + font + QStringLiteral("Manufacturer</TD>\"");
    lines << QStringLiteral("  msg +=\"<TD>") + font + QStringLiteral("Quantity</TD>\"")
          << QStringLiteral("  msg +=\"<TD>") + font + QStringLiteral("Total</TD>\"")
          << QStringLiteral("  msg +=\"</TR>\"");
    return lines;
}

// The rows of one category's ordered items; K is its position in the list.
QStringList categoryRows(const SiteInput& input, qsizetype k, Prices prices) {
    const QString list = PageText::topList(input.categories.at(k).name);
    const QString item = list + QStringLiteral("[n].");
    const QString font = literal(input.settings.fontTag);
    const QString total = QStringLiteral("total") + QString::number(k);
    const QString price = item + priceField(prices);
    QStringList lines{
        QStringLiteral(" for (var n =1; n <= ") + list + QStringLiteral(".length; n++) {"),
        QStringLiteral("      if(") + item + QStringLiteral("itemquantity > 0) {"),
        QStringLiteral("  msg += \"<TR VALIGN='top'>\""),
        QStringLiteral("  msg += \"<TD>") + font + QStringLiteral("\"+ ") + item +
            QStringLiteral("itemid + \"</TD>\""),
        QStringLiteral("  msg += \"<TD>") + font + QStringLiteral("\"+") + item +
            QStringLiteral("itemdesc +\"</TD>\""),
        QStringLiteral("       var ") + total + QStringLiteral(" = parseFloat(") + price +
            QStringLiteral(") * parseFloat(") + item + QStringLiteral("itemquantity)"),
        QStringLiteral("       totalW += parseFloat(") + item + QStringLiteral("itemW * ") + item +
            QStringLiteral("itemquantity)"),
        QStringLiteral("info += ") + item + QStringLiteral("itemid + \" ^ \" + ") + item +
            QStringLiteral("itemquantity + \" ^ \"  + top.moneyFormat(") + price +
            QStringLiteral(") + \" ^ \" + top.moneyFormat(") + total + QStringLiteral(")+\"^\""),
        QStringLiteral("      info += \"\\n\""),
        QStringLiteral("  msg += \"<TD>") + font + QStringLiteral("$ \"+top.moneyFormat(") + price +
            QStringLiteral(")+\"</TD>\"")};
    if (input.options.manufacturer)
        lines << QStringLiteral("  msg += \"<TD>") + font + QStringLiteral("\"+") + item +
                     QStringLiteral("itemman+\"</TD>\"");
    lines << QStringLiteral("  msg += \"<TD>") + font + QStringLiteral("\"+") + item +
                 QStringLiteral("itemquantity +\"</TD>\"")
          << QStringLiteral("  msg += \"<TD>") + font + QStringLiteral("$ \"+top.moneyFormat(") +
                 total + QStringLiteral(") +\"</TD>\"")
          << QStringLiteral("        totalPrice += ") + total + QStringLiteral(" } }") << QString();
    return lines;
}

QStringList tableFooter(const SiteInput& input) {
    const QString font = literal(input.settings.fontTag);
    return {QStringLiteral("       tax=totalPrice * tax1"),
            QStringLiteral("    msg += \"<TR><TH COLSPAN=") +
                (input.options.manufacturer ? QStringLiteral("5>") : QStringLiteral("4>")) + font +
                QStringLiteral("Products Total</TH>\""),
            QStringLiteral("    msg+=\"<TD>") + font +
                QStringLiteral("$ \" + top.moneyFormat(totalPrice) +\"</TD></TR>\""),
            QStringLiteral("    msg += \"</TABLE></CENTER>\""),
            QStringLiteral("    document.write (msg) }"),
            QString()};
}

// One bracket of the weight table: weight over `from` up to and including
// `to`, and the charges of the four methods.
struct WeightBracket {
    int from;
    int to;
    const char* charges[4];
};

constexpr WeightBracket kWeightBrackets[] = {
    {0, 1, {"7.75", "8.25", "18.45", "20.00"}},     {1, 2, {"8.70", "9.00", "20.70", "22.40"}},
    {2, 3, {"10.20", "10.40", "22.70", "24.30"}},   {3, 4, {"11.50", "11.75", "24.70", "26.70"}},
    {4, 5, {"13.10", "13.35", "26.70", "28.80"}},   {5, 6, {"15.25", "15.50", "28.95", "31.20"}},
    {6, 7, {"16.55", "16.80", "30.95", "33.35"}},   {7, 8, {"18.45", "18.70", "32.95", "35.45"}},
    {8, 9, {"20.05", "20.30", "34.95", "37.60"}},   {9, 10, {"21.10", "21.60", "36.95", "39.75"}},
    {10, 11, {"22.45", "22.95", "38.95", "42.15"}}, {11, 12, {"23.75", "24.00", "40.95", "44.00"}},
    {12, 13, {"24.60", "25.35", "42.95", "46.15"}}, {13, 14, {"26.20", "26.70", "44.70", "48.25"}},
    {14, 15, {"27.50", "28.00", "46.45", "50.15"}}, {15, 16, {"28.40", "29.35", "47.70", "51.45"}},
    {16, 17, {"29.30", "30.70", "48.95", "53.05"}}, {17, 18, {"30.20", "32.00", "50.45", "54.40"}},
    {18, 19, {"31.10", "33.60", "51.70", "55.75"}}, {19, 20, {"32.00", "34.95", "52.95", "57.05"}},
};

// The first line is indented by three blanks, brackets from the sixth on
// have a blank after the brace, and the second one a blank before a
// semicolon: the charges table as it has always been written.
QString bracketLine(const WeightBracket& bracket, int number) {
    const QString indent = number == 1 ? QStringLiteral("   ") : QString();
    const QString open = number >= 6 ? QStringLiteral(") { cof=") : QStringLiteral(") {cof=");
    const QString afterStandard =
        number == 2 ? QStringLiteral(" ;cof4=") : QStringLiteral(";cof4=");
    return indent + QStringLiteral("if (") + QString::number(bracket.from) +
           QStringLiteral("< totalW & totalW <=") + QString::number(bracket.to) + open +
           QLatin1String(bracket.charges[0]) + QStringLiteral(";cof2=") +
           QLatin1String(bracket.charges[1]) + QStringLiteral(";cof3=") +
           QLatin1String(bracket.charges[2]) + afterStandard + QLatin1String(bracket.charges[3]) +
           QLatin1Char('}');
}

QString scriptTail() {
    return PageText::lines({QStringLiteral("    </script></head><body>"),
                            QStringLiteral("<script>"), QStringLiteral("UpdateOrder()"),
                            QStringLiteral("</script>")});
}

// An order page with a form: the script, the weight function when the
// charges depend on weight, then the form tag, the table tag and the body.
QString formPage(const QString& script, bool weightShipping, const QString& formTag,
                 const SiteInput& input, const QString& body) {
    QString page = script;
    if (weightShipping)
        page += OrderPages::weightShipping();
    return page + scriptTail() + formTag + input.settings.tableTag + body;
}

// The e-mail, cash-on-delivery and card-gateway pages, in that order; the
// wholesale pages' names start with "w". Cash on delivery never carries a
// shipping charge.
QList<NamedPage> formPages(const SiteInput& input, const QString& script, const QString& prefix) {
    const OrderTemplates& templates = input.templates;
    const bool weight = input.options.weight;
    const QString& mail = input.settings.emailFormTag;
    const QString& gateway = input.settings.actionCode;
    return {
        {prefix + QStringLiteral("order"),
         formPage(script, weight, mail, input,
                  weight ? templates.weightMailBody : templates.plainOrderBody)},
        {prefix + QStringLiteral("order_cod"),
         formPage(script, false, mail, input,
                  weight ? templates.weightCodBody : templates.plainCodBody)},
        {prefix + QStringLiteral("order_cc"),
         formPage(script, weight, gateway, input,
                  weight ? templates.weightGatewayBody : templates.plainOrderBody)},
    };
}

} // namespace

QString OrderPages::orderScript(const SiteInput& input, Prices prices) {
    QStringList lines = scriptHead(input) + tableHeading(input);
    for (qsizetype k = 0; k < input.categories.size(); ++k)
        lines += categoryRows(input, k, prices);
    return PageText::lines(lines + tableFooter(input));
}

QString OrderPages::weightShipping() {
    QStringList lines{QStringLiteral("function UpdateShipping(){")};
    int number = 0;
    for (const WeightBracket& bracket : kWeightBrackets)
        lines << bracketLine(bracket, ++number);
    lines << QStringLiteral("if (totalW > 20) { cof=100.00;cof3=100.00;cof2=100.00;cof4=100.00;}}");
    return PageText::lines(lines);
}

QList<NamedPage> OrderPages::retailPages(const SiteInput& input) {
    const QString script = orderScript(input, Prices::Retail);
    QList<NamedPage> pages = formPages(input, script, QString());
    pages.insert(1, {QStringLiteral("order1"), script + input.templates.order1Tail});
    pages.append({QStringLiteral("select_payment"), input.templates.paymentPage});
    return pages;
}

QList<NamedPage> OrderPages::wholesalePages(const SiteInput& input) {
    return formPages(input, orderScript(input, Prices::Wholesale), QStringLiteral("w"));
}
