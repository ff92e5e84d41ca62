#pragma once

#include <QSet>
#include <QString>

class Prompts;

// The servers the user has let a password go to unencrypted in this
// session: the user is asked once per server.
class ClearTextConsent {
public:
    // True when the user allowed it before for this server or allows it now.
    bool allows(const QString& server, const QString& question, Prompts& prompts,
                const QString& title = {});

private:
    QSet<QString> m_allowed;
};
