#pragma once

#include "keyring/RememberedPassword.h"
#include "orders/OrderFetcher.h"
#include "orders/OrderIntake.h"
#include "orders/OrderStore.h"
#include "orders/RecentEntries.h"
#include "platform/ClearTextConsent.h"

#include <QList>
#include <QObject>
#include <QString>
#include <atomic>
#include <optional>

class Prompts;
class QThread;

// The state and commands of the "E-Mail DB" tab: the mailbox account, the
// "Host Delete" choice, "Get Orders" and "Show Orders". The order store is
// opened and used only on worker threads, each with a connection of its
// own: a mail server or a database server that does not answer cannot
// freeze the window.
class OrderController : public QObject {
    Q_OBJECT

public:
    // `database`: the order database's connection setting (a SQLite file
    // path or a "driver://..." address).
    OrderController(const QString& database, Prompts& prompts, QObject* parent = nullptr);
    ~OrderController() override;

    const QString& popHost() const { return m_popHost; }
    const QString& userName() const { return m_userName; }
    const QString& password() const { return m_password; }
    const QString& email() const { return m_email; }
    bool hostDelete() const { return m_hostDelete; }
    void setPopHost(const QString& text) { m_popHost = text; }
    void setUserName(const QString& text) { m_userName = text; }
    void setPassword(const QString& text) { m_password = text; }
    void setEmail(const QString& text) { m_email = text; }
    // Ticking the box warns that messages will be deleted.
    void setHostDelete(bool on);
    const QString& database() const { return m_database; }
    qint64 sizeLimit() const { return m_sizeLimit; }
    // Another order database; takes effect when the store is next opened.
    void setDatabase(const QString& database) { m_database = database; }
    // A PEM certificate to trust for a mail server with a self-signed one.
    void setTrustedCertificate(const QString& path) { m_trustedCertificate = path; }
    // The largest message "Get Orders" reads, in bytes; larger ones stay
    // on the server.
    void setSizeLimit(qint64 bytes) { m_sizeLimit = bytes; }

    // The account the "POP Host:" text names: "pop3s://host[:port]" is
    // POP3 over TLS, "pop3://host[:port]" plain POP3, and a bare
    // "host[:port]" POP3 secured with STLS.
    MailAccount account() const;

    // "Remember password" beside "Password:", for the account's server
    // and user name: a remembered password fills an empty field (the tab
    // asks when the user leaves "POP Host:" or "User Name:"), a ticked box
    // stores the password once a fetch has logged in, unticking forgets it.
    const RememberedPassword& rememberedPassword() const { return m_rememberedPassword; }
    void lookUpRememberedPassword();
    void setRememberPassword(bool on);

    // "Get Orders": starts reading the mailbox; nothing when a fetch runs.
    // Before a password goes to a server over a connection that is not
    // encrypted, the user is asked, once per server for the session.
    void getOrders();
    bool isFetching() const { return m_thread != nullptr; }

    // The newest order lines and order summaries the fetches took in.
    const RecentEntries& orderLines() const { return m_orderLines; }
    const RecentEntries& log() const { return m_log; }
    const QString& counter() const { return m_counter; }

    // Whether the order database may be opened: a login that would go
    // unencrypted, as its address asks, goes only when the user agrees
    // (once per server for the session).
    bool mayOpenStore();
    // "Show Orders" and its "Refresh": reads every order on a worker
    // thread; ordersRead() follows.
    void readOrders();

Q_SIGNALS:
    void changed();
    // Messages handled so far; (0, 0) when the fetch is over.
    void fetchProgress(int done, int total);
    // The orders readOrders() read, newest first, or why they could not be
    // read (`problem` is then not empty).
    void ordersRead(const QList<StoredOrder>& orders, const QString& problem);

private:
    // What a worker thread needs to open the order store.
    struct StoreLogin {
        QString database;
        QString password;
    };
    // What one fetch works with, taken when it starts.
    struct FetchJob {
        StoreLogin login;
        MailAccount account;
        bool deleteAfterReading = false;
        qint64 sizeLimit = 0;
    };
    std::optional<StoreLogin> storeLogin();
    static Expected<void> openStore(OrderStore& store, const StoreLogin& login);
    bool mayUseAccount(const MailAccount& account);
    void fetch(const FetchJob& job, FetchSummary& summary);
    void finishFetch(const FetchSummary& summary, const QString& server);
    void show(const OrderIntake::Shown& shown);

    QString m_database;
    Prompts& m_prompts;
    QString m_popHost;
    QString m_userName;
    QString m_password;
    QString m_email;
    QString m_trustedCertificate;
    bool m_hostDelete = false;
    qint64 m_sizeLimit = PopMailbox::kDefaultSizeLimit;
    ClearTextConsent m_clearTextConsent;
    RememberedPassword m_rememberedPassword{PasswordKeyring::Kind::Mail};
    RecentEntries m_orderLines{OrderIntake::kKeptLines, OrderIntake::kKeptCharacters};
    RecentEntries m_log{OrderIntake::kLoggedOrders, OrderIntake::kKeptCharacters};
    QString m_counter;
    QThread* m_thread = nullptr;
    QList<QThread*> m_readers;
    std::atomic_bool m_cancelled{false};
};
