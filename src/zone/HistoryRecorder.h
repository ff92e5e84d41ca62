#pragma once

#include <QString>

class BrowserController;

// Records the domain of each document a user view completes: in the public
// history list outside the private zone, in the private history list inside
// it while tracking is on, nowhere otherwise. A domain already listed is
// not added again.
class HistoryRecorder {
public:
    // True when the domain was added.
    static bool record(BrowserController& controller, const QString& domain);
};
