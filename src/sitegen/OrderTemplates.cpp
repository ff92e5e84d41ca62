#include "sitegen/OrderTemplates.h"

OrderTemplates OrderTemplates::defaults() {
    OrderTemplates templates;
    templates.order1Tail = order1TailFor(defaultSaveResultsEmail());
    return templates;
}

QString OrderTemplates::defaultSaveResultsEmail() {
    return QStringLiteral("orders@example.com");
}

QString OrderTemplates::order1TailFor(const QString&) {
    return {};
}
