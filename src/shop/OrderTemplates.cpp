#include "shop/OrderTemplates.h"

#include "shop/Order1Tail.h"
#include "shop/TemplateText.h"

#include <QList>
#include <QStringList>

// The form texts continue the table that the page's table tag opens and
// close the table, the form and the page. Their control handlers keep the
// sales tax, the shipping charges, the grand total and the hidden fields
// DESCRIPTION and AMOUNT up to date with the order script's globals.

namespace {

// ---- Statements shared by the handlers ----

QString showTax() {
    return QStringLiteral("FormOrder.T2.value='$ '+top.moneyFormat(tax);");
}
QString showTotal() {
    return QStringLiteral("FormOrder.T1.value=FormOrder.AMOUNT.value;");
}
QString noTax() {
    return QStringLiteral("tax = 0 ;");
}
QString rateTax() {
    return QStringLiteral("tax = totalPrice * tax1;");
}
QString withSaver() {
    return QStringLiteral("totalPrice+tax+cof");
}
QString uncheckAllButSaver() {
    return QStringLiteral(
        "FormOrder.V2.checked=false; FormOrder.V3.checked=false; FormOrder.V4.checked=false;");
}

QString uncheck(const QString& radio) {
    return QStringLiteral("FormOrder.") + radio + QStringLiteral(".checked=false;");
}

QString amountOf(const QString& sum) {
    return QStringLiteral("FormOrder.AMOUNT.value='$$$ '+top.moneyFormat(") + sum +
           QStringLiteral(");");
}

QString describeAmount(bool withSemicolon) {
    return QStringLiteral(
               R"(FormOrder.DESCRIPTION.value=info+'\n Total Price : '+FormOrder.AMOUNT.value)") +
           (withSemicolon ? QStringLiteral(";") : QString());
}

QString showCharge(const QString& field, const QString& charge) {
    return QStringLiteral("FormOrder.") + field + QStringLiteral(".value='$ '+top.moneyFormat(") +
           charge + QStringLiteral(");");
}

// The four method charges shown again; the total is refreshed between the
// third and the fourth.
QStringList showChargesAndTotal() {
    return {showCharge(QStringLiteral("T3"), QStringLiteral("cof")),
            showCharge(QStringLiteral("T4"), QStringLiteral("cof2")),
            showCharge(QStringLiteral("T5"), QStringLiteral("cof3")), showTotal(),
            showCharge(QStringLiteral("T6"), QStringLiteral("cof4"))};
}

// ---- Rows shared by the bodies ----

// The tax choice and the sales tax field; `span` is a colspan attribute or
// empty.
QString taxRow(const QString& span, const QString& outLabel, const QString& onOut,
               const QString& onWithin, const QString& onTax) {
    return TemplateText::fromRaw(R"html(
  <tr>
    <td%1>%2 <input type="radio" name="R11" value="In" onclick="%3">
      Within State <input type="radio" name="R12" value="Out" onclick="%4"></td>
    <td%1>Sales Tax : <input type="text" name="T2" size="20" onchange="%5"></td>
  </tr>)html")
        .arg(span, outLabel, onOut, onWithin, onTax);
}

QString totalRow(const QString& span, const QString& onTotal) {
    return TemplateText::fromRaw(R"html(
  <tr>
    <td%1>Extended
      Total :</td>
    <td%1><input type="text" name="T1" size="20" onchange="%2"></td>
  </tr>)html")
        .arg(span, onTotal);
}

QString textRow(const QString& label, const QString& field, int tabIndex) {
    return TemplateText::fromRaw(R"html(
  <tr>
    <td>%1</td>
    <td><input type="text" name="%2" size="20" tabindex="%3"></td>
  </tr>)html")
        .arg(label, field, QString::number(tabIndex));
}

struct LabelledField {
    QString label;
    QString field;
};

// One address column, tab order from 1.
QString addressColumn(const QList<LabelledField>& fields) {
    QString rows;
    for (qsizetype i = 0; i < fields.size(); ++i)
        rows += textRow(fields[i].label, fields[i].field, int(i) + 1);
    return rows;
}

QString cardTypeRow(const QString& label, const QString& span) {
    return TemplateText::fromRaw(R"html(
  <tr>
    <td>%1</td>
    <td%2><select name="METHOD" size="1" tabindex="17">
      <option value="Visa">Visa </option>
      <option value="MasterCard">MasterCard</option>
    </select></td>
  </tr>)html")
        .arg(label, span);
}

QString noteAndEnd() {
    return TemplateText::fromRaw(R"html(
</table>
<p><textarea rows="6" name="Note" cols="79">Special Instructions :
</textarea></p>
</form>
</body>
</html>
)html");
}

QString emptyParagraphAndEnd() {
    return TemplateText::fromRaw(R"html(
</table>
<p>&nbsp;</p>
</form>
</body>
</html>
)html");
}

// ---- Weight order body and the order1.htm address block ----

QStringList weightTaxStatements(const QString& taxStatement, const QString& otherRadio,
                                const QString& selectSaver) {
    return QStringList{QStringLiteral("UpdateShipping();"),
                       taxStatement,
                       showTax(),
                       uncheck(otherRadio),
                       amountOf(withSaver()),
                       uncheckAllButSaver(),
                       describeAmount(true),
                       selectSaver} +
           showChargesAndTotal();
}

// R11 and R12 select the Saver method with a statement; the T2 handler's
// statement has no semicolon.
QString weightTaxRows() {
    const QString saver = QStringLiteral("FormOrder.V1.checked=true");
    return taxRow(
        QStringLiteral(" colspan=\"2\""), QStringLiteral("Out of State"),
        TemplateText::handler(weightTaxStatements(noTax(), QStringLiteral("R12"), saver + u';')),
        TemplateText::handler(weightTaxStatements(rateTax(), QStringLiteral("R11"), saver + u';')),
        TemplateText::handler(weightTaxStatements(rateTax(), QStringLiteral("R11"), saver)));
}

struct ShippingMethod {
    QString carrier;
    QString delivery;
    QString field;
    QString radio;
    QString value;
    QString charge;
    QString uncheckOthers;
};

QList<ShippingMethod> shippingMethods() {
    return {{QStringLiteral("FedEx Saver"), QStringLiteral("3-4 Days"), QStringLiteral("T3"),
             QStringLiteral("V1"), QStringLiteral("Saver"), QStringLiteral("cof"),
             uncheckAllButSaver()},
            {QStringLiteral("FedEx Economy"), QStringLiteral("2 Days"), QStringLiteral("T4"),
             QStringLiteral("V2"), QStringLiteral("Economy"), QStringLiteral("cof2"),
             QStringLiteral("FormOrder.V1.checked=false; FormOrder.V3.checked=false; "
                            "FormOrder.V4.checked=false;")},
            {QStringLiteral("FedEx Standard"), QStringLiteral("1 Day"), QStringLiteral("T5"),
             QStringLiteral("V3"), QStringLiteral("Standard"), QStringLiteral("cof3"),
             QStringLiteral("FormOrder.V2.checked=false; FormOrder.V1.checked=false; "
                            "FormOrder.V4.checked=false; ")},
            {QStringLiteral("FedEx Piority"), QStringLiteral("Next Morning"), QStringLiteral("T6"),
             QStringLiteral("V4"), QStringLiteral("Priority"), QStringLiteral("cof4"),
             QStringLiteral("FormOrder.V2.checked=false; FormOrder.V3.checked=false; "
                            "FormOrder.V1.checked=false;")}};
}

QString methodRow(const ShippingMethod& method) {
    const QStringList showCharges{showCharge(QStringLiteral("T3"), QStringLiteral("cof")),
                                  showCharge(QStringLiteral("T4"), QStringLiteral("cof2")),
                                  showCharge(QStringLiteral("T5"), QStringLiteral("cof3")),
                                  showCharge(QStringLiteral("T6"), QStringLiteral("cof4"))};
    const QStringList choose =
        QStringList{QStringLiteral("UpdateShipping();"),
                    amountOf(QStringLiteral("totalPrice+tax+") + method.charge),
                    method.uncheckOthers, describeAmount(method.radio == u"V1")} +
        showChargesAndTotal();
    return TemplateText::fromRaw(R"html(
  <tr>
    <td>%1</td>
    <td>%2</td>
    <td><input type="text" name="%3" size="6" onchange="%4"></td>
    <td><input type="radio" name="%5" value="%6" onclick="%7"></td>
  </tr>)html")
        .arg(method.carrier, method.delivery, method.field, TemplateText::handler(showCharges),
             method.radio, method.value, TemplateText::handler(choose));
}

QString shippingMethodRows() {
    QString rows = TemplateText::fromRaw(R"html(
  <tr>
    <td colspan="4">Select Shipping Method :</td>
  </tr>)html");
    for (const ShippingMethod& method : shippingMethods())
        rows += methodRow(method);
    return rows;
}

QString weightTotalRow() {
    const QString saver = QStringLiteral("FormOrder.V1.checked=true");
    return totalRow(
        QStringLiteral(" colspan=\"2\""),
        TemplateText::handler(QStringList{QStringLiteral("UpdateShipping()")} +
                              weightTaxStatements(rateTax(), QStringLiteral("R11"), saver)));
}

// A billing field that copies itself to its shipping twin while C1 is
// ticked, and the shipping field.
QString twinAddressRow(const QString& label, const QString& stem, int tabIndex, bool blankAfterIf) {
    const QString billing = stem + u'B';
    const QString shipping = stem + u'S';
    const QString copy = (blankAfterIf ? QStringLiteral("if (") : QStringLiteral("if(")) +
                         QStringLiteral("FormOrder.C1.checked==true){FormOrder.") + shipping +
                         QStringLiteral(".value=FormOrder.") + billing + QStringLiteral(".value}");
    return TemplateText::fromRaw(R"html(
  <tr>
    <td>%1</td>
    <td><input type="text" name="%2" size="20" tabindex="%3" onchange="%4"></td>
    <td colspan="2"><input type="text" name="%5" size="20" tabindex="%6"></td>
  </tr>)html")
        .arg(label, billing, QString::number(tabIndex), copy, shipping,
             QString::number(tabIndex + 8));
}

QList<LabelledField> addressFields() {
    return {{QStringLiteral("Name : "), QStringLiteral("Name")},
            {QStringLiteral("Address 1 :"), QStringLiteral("Adrs1")},
            {QStringLiteral("Address 2 :"), QStringLiteral("Adrs2")},
            {QStringLiteral("City :"), QStringLiteral("City")},
            {QStringLiteral("State : "), QStringLiteral("State")},
            {QStringLiteral("ZIP : "), QStringLiteral("ZIP")}};
}

// Billing and shipping addresses side by side, phones and e-mails.
QString twinAddressRows() {
    QString rows = TemplateText::fromRaw(R"html(
  <tr>
    <td>Billing Address:</td>
    <td>Check here if shipping address is the same <input type="checkbox" name="C1" value="ON"></td>
    <td colspan="2">Shipping Address:</td>
  </tr>)html");
    for (qsizetype i = 0; i < addressFields().size(); ++i)
        rows +=
            twinAddressRow(addressFields()[i].label, addressFields()[i].field, int(i) + 1, i > 0);
    return rows + TemplateText::fromRaw(R"html(
  <tr>
    <td>Phone</td>
    <td><input type="text" name="PhoneE" size="20" tabindex="7"> Eve </td>
    <td colspan="2"><input type="text" name="PhoneD" size="20" tabindex="15"> Day </td>
  </tr>
  <tr>
    <td>E-Mail</td>
    <td><input type="text" name="E_Mail1" size="20" tabindex="8"></td>
    <td colspan="2"><input type="text" name="E_Mail2" size="20" tabindex="16"></td>
  </tr>)html");
}

QString cardNumberRow(const QString& label) {
    return TemplateText::fromRaw(R"html(
  <tr>
    <td>%1</td>
    <td><input type="text" name="CCNumber" size="20" tabindex="18"></td>
    <td>Exp. Day :</td>
    <td><input type="text" name="CCExp" size="20" tabindex="19"></td>
  </tr>)html")
        .arg(label);
}

QString twinButtonRow() {
    return TemplateText::fromRaw(R"html(
  <tr>
    <td colspan="2"><input type="submit" value="Submit" name="B1" tabindex="20"></td>
    <td colspan="2"><input type="reset" value="Reset" name="B2" tabindex="21"></td>
  </tr>)html");
}

QString defaultWeightOrderBody() {
    return weightTaxRows() + shippingMethodRows() + weightTotalRow() + twinAddressRows() +
           cardTypeRow(QStringLiteral("Select the card : "), QStringLiteral(" colspan=\"3\"")) +
           cardNumberRow(TemplateText::fromRaw("Credit Card #\n      :")) + twinButtonRow() +
           noteAndEnd();
}

// ---- Plain order and COD bodies ----

QStringList plainTaxStatements(const QString& taxStatement, const QString& otherRadio) {
    return {taxStatement,         showTax(),  uncheck(otherRadio), amountOf(withSaver()),
            describeAmount(true), showTotal()};
}

QString plainTaxAndTotalRows() {
    const QString withTax =
        TemplateText::handler(plainTaxStatements(rateTax(), QStringLiteral("R11")));
    return taxRow(QString(), QStringLiteral("Out of State"),
                  TemplateText::handler(plainTaxStatements(noTax(), QStringLiteral("R12"))),
                  withTax, withTax) +
           totalRow(QString(), withTax);
}

QList<LabelledField> singleAddressFields() {
    return {{QStringLiteral("Name : "), QStringLiteral("Name")},
            {QStringLiteral("Address 1 :"), QStringLiteral("Adrs1")},
            {QStringLiteral("Address 2 :"), QStringLiteral("Adrs2")},
            {QStringLiteral("City :"), QStringLiteral("City")},
            {QStringLiteral("State : "), QStringLiteral("State")},
            {QStringLiteral("ZIP : "), QStringLiteral("ZIP")},
            {QStringLiteral("Phone"), QStringLiteral("Phone")},
            {QStringLiteral("E-Mail"), QStringLiteral("E_Mail1")}};
}

QString plainCardRows() {
    return cardTypeRow(QStringLiteral("Select a Card Type:"), QString()) +
           TemplateText::fromRaw(R"html(
  <tr>
    <td>Credit Card # eg: 1234567890120000
      :</td>
    <td><input type="text" name="CCNumber" size="20" tabindex="18"></td>
  </tr>
  <tr>
    <td>Exp. Day eg: 09/98 :</td>
    <td><input type="text" name="CCExp" size="20" tabindex="19"></td>
  </tr>)html");
}

QString plainButtonRow() {
    return TemplateText::fromRaw(R"html(
  <tr>
    <td><input type="submit" value="Submit" name="B1" tabindex="20"></td>
    <td><input type="reset" value="Reset" name="B2" tabindex="21"></td>
  </tr>)html");
}

QString plainBody(bool withCard) {
    return plainTaxAndTotalRows() + addressColumn(singleAddressFields()) +
           (withCard ? plainCardRows() : QString()) + plainButtonRow() + emptyParagraphAndEnd();
}

// The COD pages have no shipping function, and their tax uses the page's
// sales tax rate like every other order page.
QStringList codTaxStatements(const QString& taxStatement, const QString& otherRadio) {
    return {
        taxStatement,
        showTax(),
        uncheck(otherRadio),
        amountOf(withSaver()),
        QStringLiteral("FormOrder.T1.value='$$$ '+top.moneyFormat(totalPrice+tax);"),
        QStringLiteral(
            R"(FormOrder.DESCRIPTION.value=info+'\n Total Price : '+top.moneyFormat(totalPrice);)")};
}

QString codTotalHandler() {
    return TemplateText::handler(
        {rateTax(), showTax(), uncheck(QStringLiteral("R11")),
         amountOf(QStringLiteral("totalPrice+tax")), describeAmount(true),
         QStringLiteral("FormOrder.T1.value='$$$ '+top.moneyFormat(totalPrice+tax);")});
}

// The shipping address column of the COD form: the billing-named fields.
QString codAddressRows() {
    QList<LabelledField> fields;
    for (const LabelledField& address : addressFields())
        fields.append({address.label, address.field + u'B'});
    fields.append({QStringLiteral("Phone"), QStringLiteral("PhoneE")});
    fields.append({QStringLiteral("E-Mail"), QStringLiteral("E_Mail1")});
    return TemplateText::fromRaw(R"html(
  <tr>
    <td colspan="2">Shipping Address:</td>
  </tr>)html") +
           addressColumn(fields);
}

QString defaultWeightCodBody() {
    const QString withTax =
        TemplateText::handler(codTaxStatements(rateTax(), QStringLiteral("R11")));
    return taxRow(QString(), QStringLiteral("Out of Staate"),
                  TemplateText::handler(codTaxStatements(noTax(), QStringLiteral("R12"))), withTax,
                  withTax) +
           totalRow(QString(), codTotalHandler()) + codAddressRows() + TemplateText::fromRaw(R"html(
  <tr>
    <td colspan="2"><input type="submit" value="Submit" name="B1" tabindex="20">
      <input type="reset" value="Reset" name="B2" tabindex="21"></td>
  </tr>)html") +
           noteAndEnd();
}

// ---- select_payment.htm ----

QString paymentChoicePage() {
    return TemplateText::fromRaw(R"html(<html>

<head>
<title>Select Method of Payment</title>
<meta name="GENERATOR" content="Microsoft FrontPage 3.0">
</head>

<body>

<p align="center"><font face="Verdana">Select Method of Payment</font></p>

<p align="center"><a href="order.htm">E-Mail Order with Credit Card</a></p>

<p align="center"><a href="order_cod.htm">COD</a></p>

<p align="center"><a href="order_cc.htm">On-line Order with secure Credit Catd Payment</a></p>

<p align="center"><font face="Verdana">Whole Sale</font></p>

<p align="center"><a href="worder.htm">E-Mail Order with Credit Card</a></p>

<p align="center"><a href="worder_cod.htm">COD</a></p>

<p align="center"><a href="worder_cc.htm">On-line Order with secure Credit Catd Payment</a></p>

<p align="center"><a href="order1.htm">Order1</a></p>
</body>
</html>
)html");
}

} // namespace

OrderTemplates OrderTemplates::defaults() {
    OrderTemplates templates;
    templates.weightMailBody = defaultWeightOrderBody();
    templates.weightGatewayBody = templates.weightMailBody;
    templates.plainOrderBody = plainBody(true);
    templates.weightCodBody = defaultWeightCodBody();
    templates.plainCodBody = plainBody(false);
    templates.order1Tail = order1TailFor(defaultSaveResultsEmail());
    templates.paymentPage = paymentChoicePage();
    return templates;
}

QString OrderTemplates::defaultSaveResultsEmail() {
    return QStringLiteral("orders@example.com");
}

QString OrderTemplates::order1TailFor(const QString& saveResultsEmail) {
    return Order1Tail::upToAddresses(saveResultsEmail) + twinAddressRows() +
           cardNumberRow(QStringLiteral("Credit Card #")) + twinButtonRow() +
           emptyParagraphAndEnd();
}
