#include "generator/GeneratorFactory.h"

#include "generator/GeneratorController.h"
#include "orders/OrderStore.h"
#include "orders/PopMailbox.h"
#include "settings/StartupSettings.h"

namespace {

constexpr qint64 kBytesPerMegabyte = 1024 * 1024;

// An empty OrderDatabase is the home folder's SQLite file; a size limit of
// none is the mailbox's own.
void useSettings(GeneratorController& controller, const StartupValues& values) {
    OrderController& orders = controller.orders();
    orders.setDatabase(values.orderDatabase.isEmpty()
                           ? OrderStore::defaultPath(controller.homeFolder())
                           : values.orderDatabase);
    orders.setTrustedCertificate(values.trustedMailCertificate);
    orders.setSizeLimit(values.mailSizeLimitMB > 0 ? values.mailSizeLimitMB * kBytesPerMegabyte
                                                   : PopMailbox::kDefaultSizeLimit);
    controller.setTrustedPublishCertificate(values.trustedPublishCertificate);
    controller.setMakerSite(values.makerSite);
}

} // namespace

std::unique_ptr<GeneratorController> GeneratorFactory::create(const QString& homeFolder,
                                                              Prompts& prompts,
                                                              BrowserLink* browser,
                                                              const StartupSettings& settings) {
    auto controller = std::make_unique<GeneratorController>(homeFolder, prompts);
    useSettings(*controller, settings.values());
    GeneratorController* made = controller.get();
    QObject::connect(&settings, &StartupSettings::changed, made,
                     [made, &settings] { useSettings(*made, settings.values()); });
    controller->setBrowserLink(browser);
    return controller;
}
