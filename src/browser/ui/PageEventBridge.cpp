#include "browser/ui/PageEventBridge.h"

void PageEventBridge::mouseOver(const QString& href) {
    Q_EMIT pageMouseOver(href);
}

void PageEventBridge::mouseOut() {
    Q_EMIT pageMouseOut();
}

void PageEventBridge::doubleClick(const QString& address) {
    Q_EMIT pageDoubleClick(address);
}
