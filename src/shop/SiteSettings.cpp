#include "shop/SiteSettings.h"

#include "shop/OrderAddresses.h"

namespace {

// A function, not a global constant: the defaults may be asked for while
// other files' globals are still being built.
QString crLf() {
    return QStringLiteral("\r\n");
}

} // namespace

SiteSettings SiteSettings::defaults() {
    SiteSettings settings;
    settings.layout = Layout::BannerAndContents;
    settings.startFileName = QStringLiteral("index");
    settings.fontTag = QStringLiteral("<font size='2' face='Verdana' class='std'>");
    settings.tableTag = QStringLiteral(
        "<table cellpadding='2' cellspacing='1' width='100%' border='1' bordercolor='#000000' "
        "bordercolorlight='#000000' bgcolor='#e3e3e3'>");
    settings.actionCode = actionCodeFor(defaultGatewayUrl(), defaultGatewayLogin());
    settings.emailFormTag = emailFormTagFor(defaultOrderEmail());
    settings.salesTax = QStringLiteral("0.0825");
    return settings;
}

QString SiteSettings::defaultOrderEmail() {
    return QStringLiteral("orders@example.com");
}

QString SiteSettings::defaultGatewayUrl() {
    return QStringLiteral("https://gateway.example.com/scripts/authnet25/WLDoTrans.asp");
}

QString SiteSettings::defaultGatewayLogin() {
    return QStringLiteral("tessmark");
}

QString SiteSettings::emailFormTagFor(const QString& orderEmail) {
    return QStringLiteral("<form ACTION=\"mailto:") + OrderAddresses::mailtoText(orderEmail) +
           QStringLiteral("?subject=Online Order\" METHOD=\"POST\"") + crLf() +
           QStringLiteral("ENCTYPE=\"text/plain\" NAME=\"FormOrder\"><input type=\"hidden\" "
                          "name=\"DESCRIPTION\"><input type=\"hidden\" name=\"AMOUNT\">") +
           crLf();
}

QString SiteSettings::actionCodeFor(const QString& gatewayUrl, const QString& login) {
    return QStringLiteral("<form NAME=\"FormOrder\" method=\"POST\"") + crLf() +
           QStringLiteral("action=\"") + OrderAddresses::attributeText(gatewayUrl) +
           QStringLiteral("\">") + crLf() +
           QStringLiteral("  <input type=\"hidden\" name=\"AMOUNT\" value><input "
                          "type=\"hidden\" ") +
           crLf() + QStringLiteral("name=\"TYPE\" value=\"NA\"><input") + crLf() +
           QStringLiteral("  type=\"hidden\" name=\"DESCRIPTION\" value><input type=\"hidden\"") +
           crLf() + QStringLiteral("name=\"LOGIN\" value=\"") +
           OrderAddresses::attributeText(login) + QStringLiteral("\">") + crLf();
}
