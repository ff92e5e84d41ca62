#include "platform/Logging.h"

Q_LOGGING_CATEGORY(lcHarvest, "quillmart.harvest", QtWarningMsg)
Q_LOGGING_CATEGORY(lcOrders, "quillmart.orders", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSitegen, "quillmart.sitegen", QtWarningMsg)
Q_LOGGING_CATEGORY(lcPublish, "quillmart.publish", QtWarningMsg)
Q_LOGGING_CATEGORY(lcBrowser, "quillmart.browser", QtWarningMsg)
Q_LOGGING_CATEGORY(lcChannels, "quillmart.channels", QtWarningMsg)
Q_LOGGING_CATEGORY(lcKeyring, "quillmart.keyring", QtWarningMsg)
