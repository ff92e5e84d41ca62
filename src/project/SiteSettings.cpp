#include "project/SiteSettings.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Percent-encodes what would end the ACTION attribute, start the mailto
// header part or split the tag over lines; the mail client decodes it again.
QString mailtoSafe(const QString& address) {
    static const QString kUnsafe = QStringLiteral("%\"<>&?#");
    QString safe;
    for (const QChar c : address) {
        if (kUnsafe.contains(c) || c.unicode() < 0x20 || c.unicode() == 0x7F)
            safe += QStringLiteral("%%1").arg(int(c.unicode()), 2, 16, QLatin1Char('0')).toUpper();
        else
            safe += c;
    }
    return safe;
}

// Character references for a double-quoted attribute value; the browser
// turns them back into the characters before it submits the form.
QString attributeSafe(const QString& value) {
    QString safe = value;
    safe.replace(QLatin1Char('&'), QStringLiteral("&amp;"));
    safe.replace(QLatin1Char('"'), QStringLiteral("&quot;"));
    safe.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
    safe.replace(QLatin1Char('>'), QStringLiteral("&gt;"));
    return safe;
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
    return QStringLiteral("<form ACTION=\"mailto:") + mailtoSafe(orderEmail) +
           QStringLiteral("?subject=Online Order\" METHOD=\"POST\"") + kCrLf +
           QStringLiteral("ENCTYPE=\"text/plain\" NAME=\"FormOrder\"><input type=\"hidden\" "
                          "name=\"DESCRIPTION\"><input type=\"hidden\" name=\"AMOUNT\">") +
           kCrLf;
}

QString SiteSettings::actionCodeFor(const QString& gatewayUrl, const QString& login) {
    return QStringLiteral("<form NAME=\"FormOrder\" method=\"POST\"") + kCrLf +
           QStringLiteral("action=\"") + attributeSafe(gatewayUrl) + QStringLiteral("\">") + kCrLf +
           QStringLiteral("  <input type=\"hidden\" name=\"AMOUNT\" value><input "
                          "type=\"hidden\" ") +
           kCrLf + QStringLiteral("name=\"TYPE\" value=\"NA\"><input") + kCrLf +
           QStringLiteral("  type=\"hidden\" name=\"DESCRIPTION\" value><input type=\"hidden\"") +
           kCrLf + QStringLiteral("name=\"LOGIN\" value=\"") + attributeSafe(login) +
           QStringLiteral("\">") + kCrLf;
}
