#include "shop/Order1Tail.h"

#include "shop/TemplateText.h"
#include "text/ScriptText.h"

#include <QStringList>

namespace {

// Charges by the products total. Each bracket starts where the one before
// ends, so a total of exactly 100.00 or 1000.00 has a charge too. The
// Priority slot cof4 is filled from the shopper's shipping choice.
QString shippingFunction() {
    return TemplateText::fromRaw(R"html(function UpdateShipping(){
if (0.01<= totalPrice & totalPrice <100.00) {cof=5.00;cof2=11.00;cof3=29.00}
if (100.00<= totalPrice & totalPrice <200.00) {cof=7.00;cof2=13.00;cof3=31.00}
if (200.00<= totalPrice & totalPrice <300.00) {cof=9.00;cof2=15.00;cof3=33.00}
if (300.00<= totalPrice & totalPrice <400.00) {cof=11.00;cof2=17.00;cof3=35.00}
if (400.00<= totalPrice & totalPrice <500.00) {cof=14.00;cof2=20.00;cof3=38.00}
if (500.00<= totalPrice & totalPrice <1000.00) {cof=17.00;cof2=23.00;cof3=41.00}
if (totalPrice >= 1000.00) { cof=20.00;cof2=26.00;cof3=44.00;}}
)html");
}

// The order script ends, the body shows the basket, and the form saves the
// order through the web server's Save Results component.
QString pageAndFormStart(const QString& saveResultsEmail) {
    return TemplateText::fromRaw(R"html(    </script>
<meta name="Microsoft Theme" content="none, default">
</head>

<body topmargin="0" leftmargin="0">

<p align="center">&nbsp;</p>
<script>
UpdateOrder()
</script>

<form NAME="FormOrder" method="POST" action="--WEBBOT-SELF--">
  <!--webbot bot="SaveResults" U-File="_private/distorders.htm" S-Format="HTML/UL"
  S-Label-Fields="TRUE" B-Reverse-Chronology="FALSE" S-Email-Format="HTML/UL"
  S-Email-Address="%1" B-Email-Label-Fields="TRUE" S-Builtin-Fields
  U-Confirmation-Url="dorder_conf.htm" startspan --><strong>[FrontPage Save Results Component]</strong><!--webbot
  bot="SaveResults" endspan -->
  <input type="hidden" name="AMOUNT" value=""><input type="hidden" name="TYPE" value="NA">
  <input type="hidden" name="DESCRIPTION" value=""><input type="hidden" name="LOGIN" value="tessmark">
<table cellpadding="2" cellspacing="1" width="100%" border="1" bordercolor="#000000">)html")
        .arg(ScriptText::html(saveResultsEmail));
}

struct StateRate {
    const char* name;
    const char* rate;
};

// The states' sales tax rates, as fractions.
constexpr StateRate kStateRates[] = {{"Alaska", "0"},           {"Alabama", "0.04"},
                                     {"Arkansas", "0.04625"},   {"Arizona", "0.072"},
                                     {"California", "0.0625"},  {"Colorado", "0.03"},
                                     {"Connecticut", "0.06"},   {"Washington D C", "0.0575"},
                                     {"Deleware", "0"},         {"Florida", "0.06"},
                                     {"Georgia", "0.04"},       {"Guam", "0"},
                                     {"Hawaii", "0"},           {"Iowa", "0.05"},
                                     {"Idaho", "0.05"},         {"Illinois", "0.0625"},
                                     {"Indiana", "0.05"},       {"Kansas", "0.049"},
                                     {"Kentucky", "0.06"},      {"Louisiana", "0.04"},
                                     {"Massachusetts", "0.05"}, {"Maryland", "0.05"},
                                     {"Maine", "0.055"},        {"Michigan", "0.06"},
                                     {"Minnesota", "0.065"},    {"Missouri", "0"},
                                     {"Mississippi", "0.07"},   {"Montana", "0"},
                                     {"North Carolina", "0"},   {"North Dakota", "0"},
                                     {"New Hampshire", "0"},    {"New Jersey", "0.06"},
                                     {"New Mexico", "0.05"},    {"Nevada", "0"},
                                     {"New York", "0.04"},      {"Ohio", "0"},
                                     {"Oklahoma", "0.045"},     {"Oregon", "0"},
                                     {"Pennsylvania", "0.06"},  {"Puerto Rico", "0"},
                                     {"Rhode Island", "0.075"}, {"South Carolina", "0.05"},
                                     {"South Dakota", "0.04"},  {"Tennessee", "0.06"},
                                     {"Texas", "0.0625"},       {"Utah", "0"},
                                     {"Virginia", "0.035"},     {"Virgin Islands", "0"},
                                     {"Vermont", "0.05"},       {"Wisconsin", "0.05"},
                                     {"West Virginia", "0.06"}, {"Wyoming", "0"}};

QString stateOptions() {
    QString options;
    bool first = true;
    for (const StateRate& state : kStateRates) {
        options += TemplateText::fromRaw(R"html(
      <option%1 value="%2">%3</option>)html")
                       .arg(first ? QStringLiteral(" selected") : QString(),
                            QLatin1String(state.rate), QLatin1String(state.name));
        first = false;
    }
    return options;
}

// Picking a state computes its tax and adds the charge of the shipping
// method already chosen (cof4), so the total the order carries is the one
// the Shipping list shows.
QString stateRow() {
    const QString onPick = TemplateText::handler(
        {QStringLiteral("tax = totalPrice * State.value;"),
         QStringLiteral("FormOrder.SalesTax.value='$ '+top.moneyFormat(tax);"),
         QStringLiteral("FormOrder.AMOUNT.value='$$$ '+top.moneyFormat(totalPrice+tax+cof4);"),
         QStringLiteral(
             R"(FormOrder.DESCRIPTION.value=info+'\n Total Price : '+FormOrder.AMOUNT.value;)"),
         QStringLiteral("FormOrder.ExtendedTotal.value=FormOrder.AMOUNT.value;")});
    return TemplateText::fromRaw(R"html(
  <tr>
    <td>State:</td>
    <td colspan="3"><select name="State" size="1" onclick="%1">%2
    </select></td>
  </tr>)html")
        .arg(onPick, stateOptions());
}

// The chosen shipping puts its charge into cof4, which goes into the total.
QString chargeHandler(bool showShippingCost) {
    QStringList statements{QStringLiteral("UpdateShipping();"),
                           QStringLiteral("if (Shipping.value=='Ground') {cof4=cof};"),
                           QStringLiteral("if (Shipping.value=='2nd Day') {cof4=cof2};"),
                           QStringLiteral("if (Shipping.value=='Next Day') {cof4=cof3};"),
                           QStringLiteral("tax = totalPrice * State.value;")};
    if (showShippingCost)
        statements << QStringLiteral("FormOrder.ShippingCost.value='$ '+top.moneyFormat(cof4);");
    statements
        << QStringLiteral("FormOrder.SalesTax.value='$ '+top.moneyFormat(tax);")
        << QStringLiteral("FormOrder.AMOUNT.value='$$$ '+top.moneyFormat(totalPrice+tax+cof4);")
        << QStringLiteral(
               R"(FormOrder.DESCRIPTION.value=info+'\n Total Price : '+FormOrder.AMOUNT.value;)")
        << QStringLiteral("FormOrder.ExtendedTotal.value=FormOrder.AMOUNT.value;");
    return TemplateText::handler(statements);
}

QString chargeRows() {
    return TemplateText::fromRaw(R"html(
  <tr>
    <td>Sales Tax :</td>
    <td colspan="3"><input type="text" name="SalesTax" size="20" onchange="%1"></td>
  </tr>
  <tr>
    <td>Shipping :</td>
    <td><select name="Shipping" size="1" onclick="%2">
      <option selected value="Ground">Ground</option>
      <option value="2nd Day">2nd Day</option>
      <option value="Next Day">Next Day</option>
    </select></td>
    <td colspan="2"><input type="text" name="ShippingCost" size="20" onchange="%2"></td>
  </tr>
  <tr>
    <td>Extended
      Total :</td>
    <td colspan="3"><input type="text" name="ExtendedTotal" size="20" onchange="%1"></td>
  </tr>)html")
        .arg(chargeHandler(false), chargeHandler(true));
}

} // namespace

QString Order1Tail::upToAddresses(const QString& saveResultsEmail) {
    return shippingFunction() + pageAndFormStart(saveResultsEmail) + stateRow() + chargeRows();
}
