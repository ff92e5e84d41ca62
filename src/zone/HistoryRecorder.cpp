#include "zone/HistoryRecorder.h"

#include "browser/BrowserController.h"

bool HistoryRecorder::record(BrowserController& controller, const QString& domain) {
    // A page without a domain (a local file) records nothing: an empty
    // entry in the private list would block every public page.
    if (domain.isEmpty())
        return false;
    if (controller.privateZone && !controller.tracking)
        return false;
    QStringList& list =
        controller.privateZone ? controller.privateHistory : controller.publicHistory;
    if (list.contains(domain))
        return false;
    list.append(domain);
    return true;
}
