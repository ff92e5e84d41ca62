#include "shop/OrderAddresses.h"

#include "shop/OrderTemplates.h"
#include "shop/SiteSettings.h"

#include <QRegularExpression>
#include <QUrl>

namespace {

const QRegularExpression kMailto(QStringLiteral("mailto:([^?\"]*)"));
const QRegularExpression kGatewayHost(QStringLiteral("action=\"https?://([^/\"]*)"),
                                      QRegularExpression::CaseInsensitiveOption);
const QRegularExpression kLogin(QStringLiteral("name=\"LOGIN\" value=\"([^\"]*)\""),
                                QRegularExpression::CaseInsensitiveOption);
const QRegularExpression kSaveResults(QStringLiteral("S-Email-Address=\"([^\"]*)\""));

QString fromAttribute(QString value) {
    value.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    value.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    value.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    return value.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
}

QString captured(const QString& text, const QRegularExpression& pattern) {
    return pattern.match(text).captured(1);
}

// The text with the pattern's first captured part replaced; nothing when
// the text no longer holds the pattern.
std::optional<QString> replaced(const QString& text, const QRegularExpression& pattern,
                                const QString& value) {
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    QString result = text;
    return result.replace(match.capturedStart(1), match.capturedLength(1), value);
}

// A form action code written afresh; parts the old text did not hold take
// their defaults.
QString freshActionCode(const QString& host, const QString& login) {
    const QString url = host.isEmpty() ? SiteSettings::defaultGatewayUrl()
                                       : QStringLiteral("https://") + host +
                                             QStringLiteral("/scripts/authnet25/WLDoTrans.asp");
    return SiteSettings::actionCodeFor(url, login.isEmpty() ? SiteSettings::defaultGatewayLogin()
                                                            : login);
}

} // namespace

QString OrderAddresses::orderEmail(const QString& emailFormTag) {
    return QUrl::fromPercentEncoding(captured(emailFormTag, kMailto).toUtf8());
}

// A tag that no longer names a mail address is written afresh.
QString OrderAddresses::withOrderEmail(const QString& emailFormTag, const QString& email) {
    return replaced(emailFormTag, kMailto, mailtoText(email))
        .value_or(SiteSettings::emailFormTagFor(email));
}

QString OrderAddresses::gatewayHost(const QString& actionCode) {
    return fromAttribute(captured(actionCode, kGatewayHost));
}

QString OrderAddresses::withGatewayHost(const QString& actionCode, const QString& host) {
    return replaced(actionCode, kGatewayHost, attributeText(host))
        .value_or(freshActionCode(host, gatewayLogin(actionCode)));
}

QString OrderAddresses::gatewayLogin(const QString& actionCode) {
    return fromAttribute(captured(actionCode, kLogin));
}

QString OrderAddresses::withGatewayLogin(const QString& actionCode, const QString& login) {
    return replaced(actionCode, kLogin, attributeText(login))
        .value_or(freshActionCode(gatewayHost(actionCode), login));
}

QString OrderAddresses::withLoginOf(const QString& actionCode, const QString& order1Tail) {
    const QRegularExpressionMatch login = kLogin.match(actionCode);
    if (!login.hasMatch())
        return order1Tail;
    return replaced(order1Tail, kLogin, login.captured(1)).value_or(order1Tail);
}

QString OrderAddresses::saveResultsEmail(const QString& order1Tail) {
    return fromAttribute(captured(order1Tail, kSaveResults));
}

QString OrderAddresses::withSaveResultsEmail(const QString& order1Tail, const QString& email) {
    return replaced(order1Tail, kSaveResults, attributeText(email))
        .value_or(OrderTemplates::order1TailFor(email));
}

namespace {

// The domains kept for examples, which no real mailbox or server has.
bool isExampleHost(const QString& host) {
    const QString name = host.toLower();
    for (const QString& domain : {QStringLiteral("example.com"), QStringLiteral("example.net"),
                                  QStringLiteral("example.org")})
        if (name == domain || name.endsWith(QLatin1Char('.') + domain))
            return true;
    return name == QLatin1String("example") || name.endsWith(QLatin1String(".example"));
}

bool isExampleAddress(const QString& address) {
    return isExampleHost(address.section(QLatin1Char('@'), -1));
}

} // namespace

QStringList OrderAddresses::placeholders(const SiteSettings& settings,
                                         const OrderTemplates& templates) {
    QStringList found;
    const auto note = [&found](bool example, const QString& label, const QString& value) {
        if (example)
            found << label + QLatin1Char(' ') + value;
    };
    const QString email = orderEmail(settings.emailFormTag);
    note(isExampleAddress(email), QStringLiteral("Orders are mailed to:"), email);
    const QString host = gatewayHost(settings.actionCode);
    note(isExampleHost(host), QStringLiteral("Payment gateway host:"), host);
    const QString login = gatewayLogin(settings.actionCode);
    note(login == SiteSettings::defaultGatewayLogin(), QStringLiteral("Login at the gateway:"),
         login);
    const QString results = saveResultsEmail(templates.order1Tail);
    note(isExampleAddress(results), QStringLiteral("Order1 results are mailed to:"), results);
    return found;
}

QString OrderAddresses::placeholderWarning(const QStringList& placeholders) {
    QString text = QStringLiteral("These order addresses are still the examples of a new project, "
                                  "so the shop's orders and payments would not reach you:\n");
    for (const QString& line : placeholders)
        text += QStringLiteral("  ") + line + QLatin1Char('\n');
    return text + QStringLiteral("Set your own on the \"Templates\" tab of the store generator.");
}

QString OrderAddresses::mailtoText(const QString& address) {
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

QString OrderAddresses::attributeText(const QString& value) {
    QString safe = value;
    safe.replace(QLatin1Char('&'), QStringLiteral("&amp;"));
    safe.replace(QLatin1Char('"'), QStringLiteral("&quot;"));
    safe.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
    return safe.replace(QLatin1Char('>'), QStringLiteral("&gt;"));
}
