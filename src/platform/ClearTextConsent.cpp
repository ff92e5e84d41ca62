#include "platform/ClearTextConsent.h"

#include "platform/Prompts.h"

bool ClearTextConsent::allows(const QString& server, const QString& question, Prompts& prompts,
                              const QString& title) {
    if (m_allowed.contains(server))
        return true;
    if (!prompts.askYesNo(question, title))
        return false;
    m_allowed.insert(server);
    return true;
}
