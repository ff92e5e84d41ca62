#pragma once

#include <QLoggingCategory>

// One logging category per subsystem. Debug and info messages are off
// unless QT_LOGGING_RULES turns them on, for example
//   QT_LOGGING_RULES="quillmart.orders.debug=true"
// or "quillmart.*.info=true" for the milestones of every subsystem.
Q_DECLARE_LOGGING_CATEGORY(lcHarvest)
Q_DECLARE_LOGGING_CATEGORY(lcOrders)
Q_DECLARE_LOGGING_CATEGORY(lcSitegen)
Q_DECLARE_LOGGING_CATEGORY(lcPublish)
Q_DECLARE_LOGGING_CATEGORY(lcBrowser)
Q_DECLARE_LOGGING_CATEGORY(lcChannels)
Q_DECLARE_LOGGING_CATEGORY(lcKeyring)
