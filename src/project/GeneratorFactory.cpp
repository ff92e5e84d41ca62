#include "project/GeneratorFactory.h"

#include "project/GeneratorController.h"

#include <QSettings>

namespace {

constexpr qint64 kBytesPerMegabyte = 1024 * 1024;

} // namespace

std::unique_ptr<GeneratorController>
GeneratorFactory::create(const QString& homeFolder, Prompts& prompts, BrowserLink* browser) {
    auto controller = std::make_unique<GeneratorController>(homeFolder, prompts);
    useStartupSettings(controller->orders());
    controller->setTrustedPublishCertificate(
        QSettings(QStringLiteral("Quillmart"), QStringLiteral("Quillmart"))
            .value(QStringLiteral("Startup/TrustedPublishCertificate"))
            .toString());
    controller->setBrowserLink(browser);
    return controller;
}

// An OrderDatabase is a SQLite path or a "driver://..." address; an empty
// one and a size limit of none keep the defaults.
void GeneratorFactory::useStartupSettings(OrderController& orders) {
    QSettings settings(QStringLiteral("Quillmart"), QStringLiteral("Quillmart"));
    settings.beginGroup(QStringLiteral("Startup"));
    const QString database = settings.value(QStringLiteral("OrderDatabase")).toString();
    if (!database.isEmpty())
        orders.setDatabase(database);
    orders.setTrustedCertificate(
        settings.value(QStringLiteral("TrustedMailCertificate")).toString());
    const qint64 sizeLimitMegabytes =
        settings.value(QStringLiteral("MailSizeLimitMB")).toLongLong();
    if (sizeLimitMegabytes > 0)
        orders.setSizeLimit(sizeLimitMegabytes * kBytesPerMegabyte);
}
