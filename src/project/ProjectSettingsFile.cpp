#include "project/ProjectSettingsFile.h"

#include "shop/OrderAddresses.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <array>

namespace {

constexpr int kVersion = 1;

// The layouts' texts, in the order of SiteSettings::Layout.
const std::array<QString, 3> kLayoutTexts = {QStringLiteral("banner and contents menu"),
                                             QStringLiteral("contents menu only"),
                                             QStringLiteral("pages without frames")};

// The page styles' keys, in the pages' order.
const std::array<QString, ShopIdentity::kPageCount> kStyleKeys = {
    QStringLiteral("banner"), QStringLiteral("menu"), QStringLiteral("main"),
    QStringLiteral("storeMenu")};

struct TemplateKey {
    const char* key;
    QString OrderTemplates::*text;
};
// The order1.htm tail is kept apart: its address has a key of its own.
constexpr std::array<TemplateKey, 6> kTemplateKeys = {{
    {"weightMailBody", &OrderTemplates::weightMailBody},
    {"weightGatewayBody", &OrderTemplates::weightGatewayBody},
    {"plainOrderBody", &OrderTemplates::plainOrderBody},
    {"weightCodBody", &OrderTemplates::weightCodBody},
    {"plainCodBody", &OrderTemplates::plainCodBody},
    {"paymentPage", &OrderTemplates::paymentPage},
}};

// The order1.htm tail a project has when only its address was set: the
// default text with that address and the gateway login.
QString order1TailFor(const QString& resultsEmail, const SiteSettings& site) {
    return OrderAddresses::withLoginOf(site.actionCode,
                                       OrderTemplates::order1TailFor(resultsEmail));
}

QJsonObject optionsObject(const CatalogOptions& options) {
    return {{QStringLiteral("manufacturer"), options.manufacturer},
            {QStringLiteral("descriptionUrl"), options.descriptionUrl},
            {QStringLiteral("pictureUrl"), options.pictureUrl},
            {QStringLiteral("weight"), options.weight}};
}

QJsonObject styleObject(const PageStyle& style) {
    return {{QStringLiteral("backgroundColour"), style.backgroundColour},
            {QStringLiteral("textColour"), style.textColour},
            {QStringLiteral("backgroundPicture"), style.backgroundPicture}};
}

QJsonObject shopObject(const ShopIdentity& identity) {
    QJsonObject styles;
    for (int p = 0; p < ShopIdentity::kPageCount; ++p)
        styles.insert(kStyleKeys[size_t(p)], styleObject(identity.pageStyles[size_t(p)]));
    return {{QStringLiteral("bannerText"), identity.bannerText},
            {QStringLiteral("bannerPicture"), identity.bannerPicture},
            {QStringLiteral("companyText"), identity.companyText},
            {QStringLiteral("pageStyles"), styles}};
}

// Only the texts the merchant changed: a project keeps the defaults of the
// program that opens it for the others.
QJsonObject changedTemplates(const ProjectSettings& settings, const QString& resultsEmail) {
    const OrderTemplates defaults = OrderTemplates::defaults();
    QJsonObject changed;
    for (const TemplateKey& t : kTemplateKeys)
        if (settings.templates.*t.text != defaults.*t.text)
            changed.insert(QLatin1String(t.key), settings.templates.*t.text);
    if (settings.templates.order1Tail != order1TailFor(resultsEmail, settings.site))
        changed.insert(QStringLiteral("order1Tail"), settings.templates.order1Tail);
    return changed;
}

// Each reader replaces a value only with one of the right type.
void take(const QJsonObject& object, const QString& key, QString& value) {
    if (object.value(key).isString())
        value = object.value(key).toString();
}
void take(const QJsonObject& object, const QString& key, bool& value) {
    if (object.value(key).isBool())
        value = object.value(key).toBool();
}

void readOptions(const QJsonObject& object, CatalogOptions& options) {
    take(object, QStringLiteral("manufacturer"), options.manufacturer);
    take(object, QStringLiteral("descriptionUrl"), options.descriptionUrl);
    take(object, QStringLiteral("pictureUrl"), options.pictureUrl);
    take(object, QStringLiteral("weight"), options.weight);
}

void readShop(const QJsonObject& object, ShopIdentity& identity) {
    take(object, QStringLiteral("bannerText"), identity.bannerText);
    take(object, QStringLiteral("bannerPicture"), identity.bannerPicture);
    take(object, QStringLiteral("companyText"), identity.companyText);
    const QJsonObject styles = object.value(QStringLiteral("pageStyles")).toObject();
    for (int p = 0; p < ShopIdentity::kPageCount; ++p) {
        const QJsonObject style = styles.value(kStyleKeys[size_t(p)]).toObject();
        PageStyle& kept = identity.pageStyles[size_t(p)];
        take(style, QStringLiteral("backgroundColour"), kept.backgroundColour);
        take(style, QStringLiteral("textColour"), kept.textColour);
        take(style, QStringLiteral("backgroundPicture"), kept.backgroundPicture);
    }
}

void readLayout(const QJsonObject& object, SiteSettings& site) {
    const QString text = object.value(QStringLiteral("siteLayout")).toString();
    const auto known = std::find(kLayoutTexts.begin(), kLayoutTexts.end(), text);
    if (known != kLayoutTexts.end())
        site.layout = SiteSettings::Layout(known - kLayoutTexts.begin());
}

void readPublishing(const QJsonObject& object, SiteSettings& site) {
    take(object, QStringLiteral("serverName"), site.frontPageServer);
    take(object, QStringLiteral("userName"), site.frontPageUser);
}

void readTemplates(const QJsonObject& root, ProjectSettings& settings) {
    const QJsonValue email = root.value(QStringLiteral("order1ResultsEmail"));
    if (email.isString())
        settings.templates.order1Tail = order1TailFor(email.toString(), settings.site);
    const QJsonObject texts = root.value(QStringLiteral("templates")).toObject();
    for (const TemplateKey& t : kTemplateKeys)
        take(texts, QLatin1String(t.key), settings.templates.*t.text);
    take(texts, QStringLiteral("order1Tail"), settings.templates.order1Tail);
}

} // namespace

QByteArray ProjectSettingsFile::write(const ProjectSettings& settings) {
    const SiteSettings& site = settings.site;
    const QString resultsEmail = OrderAddresses::saveResultsEmail(settings.templates.order1Tail);
    const QJsonObject root{{QStringLiteral("format"), QStringLiteral("Quillmart project settings")},
                           {QStringLiteral("version"), kVersion},
                           {QStringLiteral("siteLayout"), kLayoutTexts.at(size_t(site.layout))},
                           {QStringLiteral("catalogOptions"), optionsObject(settings.options)},
                           {QStringLiteral("publishing"),
                            QJsonObject{{QStringLiteral("serverName"), site.frontPageServer},
                                        {QStringLiteral("userName"), site.frontPageUser}}},
                           {QStringLiteral("order1ResultsEmail"), resultsEmail},
                           {QStringLiteral("shop"), shopObject(settings.identity)},
                           {QStringLiteral("templates"), changedTemplates(settings, resultsEmail)}};
    // CR LF line ends, as every file of the project has.
    return QJsonDocument(root).toJson(QJsonDocument::Indented).replace('\n', "\r\n");
}

Expected<ProjectSettings> ProjectSettingsFile::read(const QByteArray& text,
                                                    const ProjectSettings& base) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError)
        return Expected<ProjectSettings>::failure(
            QStringLiteral("%1 at character %2").arg(error.errorString()).arg(error.offset));
    if (!document.isObject())
        return Expected<ProjectSettings>::failure(QStringLiteral("it holds no JSON object"));
    const QJsonObject root = document.object();
    ProjectSettings settings = base;
    readLayout(root, settings.site);
    readOptions(root.value(QStringLiteral("catalogOptions")).toObject(), settings.options);
    readPublishing(root.value(QStringLiteral("publishing")).toObject(), settings.site);
    readShop(root.value(QStringLiteral("shop")).toObject(), settings.identity);
    readTemplates(root, settings);
    return settings;
}
