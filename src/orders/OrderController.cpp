#include "orders/OrderController.h"

#include "orders/DatabaseAddress.h"
#include "orders/DatabaseKeyring.h"
#include "platform/Prompts.h"

#include <QCoreApplication>
#include <QThread>
#include <QUrl>

namespace {

// Hands every call of the fetch to the intake on the controller's thread
// and waits there: the order store is used from one thread only.
class ThreadHopSink : public MessageSink {
public:
    ThreadHopSink(OrderController& controller, OrderStore& store, OrderIntake& intake,
                  const std::atomic_bool& cancelled)
        : m_controller(controller), m_store(store), m_intake(intake), m_cancelled(cancelled) {}

    bool hasTaken(const QString& mailbox, const QString& uid) override {
        bool taken = false;
        QMetaObject::invokeMethod(
            &m_controller, [&] { taken = m_store.hasTaken(mailbox, uid); },
            Qt::BlockingQueuedConnection);
        return taken;
    }

    OrderIntake::Result take(const QString& text, const QString& mailbox,
                             const QString& uid) override {
        if (m_cancelled)
            return {OrderIntake::Outcome::Failed, 0, QStringLiteral("the fetch was stopped")};
        OrderIntake::Result result;
        QMetaObject::invokeMethod(
            &m_controller,
            [&] {
                result = m_intake.take(text, mailbox, uid);
                Q_EMIT m_controller.changed();
            },
            Qt::BlockingQueuedConnection);
        return result;
    }

private:
    OrderController& m_controller;
    OrderStore& m_store;
    OrderIntake& m_intake;
    const std::atomic_bool& m_cancelled;
};

// The server a remembered password belongs to: host and port, so the
// window and `quillmart orders fetch` find the same one; none without a host.
QString keyringServer(const MailAccount& account) {
    return account.host.isEmpty() ? QString() : account.serverName();
}

const RecentEntries kNoEntries{0, 0};
const QString kNoText;

} // namespace

OrderController::OrderController(const QString& database, Prompts& prompts, QObject* parent)
    : QObject(parent), m_database(database), m_prompts(prompts) {}

// A fetch still running is stopped; its calls into this thread are served
// meanwhile, so it cannot wait on us for ever.
OrderController::~OrderController() {
    if (!m_thread)
        return;
    m_cancelled = true;
    m_thread->disconnect(this);
    while (!m_thread->wait(20))
        QCoreApplication::processEvents();
    delete m_thread;
}

void OrderController::setHostDelete(bool on) {
    if (on && !m_hostDelete)
        m_prompts.warning(
            QStringLiteral("Messages will be deleted after they are read from the host."));
    m_hostDelete = on;
}

MailAccount OrderController::account() const {
    MailAccount account;
    QString host = m_popHost.trimmed();
    account.security = MailAccount::Security::StartTls;
    if (host.startsWith(QLatin1String("pop3s://"), Qt::CaseInsensitive))
        account.security = MailAccount::Security::Tls;
    else if (host.startsWith(QLatin1String("pop3://"), Qt::CaseInsensitive))
        account.security = MailAccount::Security::Plain;
    if (account.security != MailAccount::Security::StartTls)
        host = host.section(QStringLiteral("://"), 1);
    const QUrl url(QStringLiteral("pop3://") + host);
    account.host = url.host();
    account.port = url.port(0);
    account.user = m_userName;
    account.password = m_password;
    account.trustedCertificate = m_trustedCertificate;
    return account;
}

OrderStore* OrderController::store() {
    if (m_store)
        return m_store.get();
    // A login about to go unencrypted, as the address asks, goes only
    // when the user agrees (once per server).
    const DatabaseAddress address = DatabaseAddress::read(m_database);
    const QString warning = address.passwordInClearWarning();
    if (!warning.isEmpty() &&
        !m_clearTextConsent.allows(address.serverName(), warning + QStringLiteral("\nGo on?"),
                                   m_prompts))
        return nullptr;
    auto store = std::make_unique<OrderStore>();
    // A keyring that cannot be used leaves ~/.pgpass to give the password;
    // a login refused then names every place a password may come from.
    const QString password = DatabaseKeyring().read(m_database).valueOr(QString());
    if (const Status opened = store->open(m_database, password); !opened) {
        m_prompts.message(QStringLiteral("The order database could not be opened.\n") +
                          opened.error());
        return nullptr;
    }
    m_store = std::move(store);
    m_intake = std::make_unique<OrderIntake>(*m_store);
    return m_store.get();
}

void OrderController::getOrders() {
    if (m_thread)
        return;
    const MailAccount account = this->account();
    if (account.host.isEmpty()) {
        m_prompts.message(QStringLiteral("Enter the mail server in \"POP Host:\" first, such as "
                                         "mail.example.com (secured with STLS), "
                                         "pop3s://mail.example.com or pop3://mail.example.com."));
        return;
    }
    if (!mayUseAccount(account) || !store())
        return;
    const QString mailboxKey = account.user + QLatin1Char('@') + account.serverName();
    const bool deleteAfterReading = m_hostDelete;
    const qint64 sizeLimit = m_sizeLimit;
    auto summary = std::make_shared<FetchSummary>();
    m_cancelled = false;
    m_thread = QThread::create([this, account, mailboxKey, deleteAfterReading, sizeLimit, summary] {
        PopMailbox mailbox(account);
        mailbox.setSizeLimit(sizeLimit);
        ThreadHopSink sink(*this, *m_store, *m_intake, m_cancelled);
        *summary = OrderFetcher::fetch(
            mailbox, mailboxKey, sink, deleteAfterReading,
            [this](int done, int total) {
                QMetaObject::invokeMethod(
                    this, [this, done, total] { Q_EMIT fetchProgress(done, total); },
                    Qt::QueuedConnection);
            },
            [this] { return m_cancelled.load(); });
    });
    connect(m_thread, &QThread::finished, this, [this, summary, account] {
        if (summary->error.isEmpty())
            m_rememberedPassword.succeeded(account.serverName(), account.user, account.password);
        finishFetch(*summary, account.serverName());
    });
    Q_EMIT fetchProgress(0, 1);
    m_thread->start();
}

void OrderController::lookUpRememberedPassword() {
    if (const auto password =
            m_rememberedPassword.lookUp(keyringServer(account()), m_userName, m_password))
        m_password = *password;
    Q_EMIT changed();
}

void OrderController::setRememberPassword(bool on) {
    m_rememberedPassword.setTicked(on, keyringServer(account()), m_userName);
    Q_EMIT changed();
}

bool OrderController::mayUseAccount(const MailAccount& account) {
    const QString server = account.serverName();
    return account.security != MailAccount::Security::Plain ||
           m_clearTextConsent.allows(
               server,
               QStringLiteral("The connection to the mail server %1 is not encrypted: the user "
                              "name and password would be sent as they are, readable on the "
                              "way.\nSend them anyway?")
                   .arg(server),
               m_prompts);
}

void OrderController::finishFetch(const FetchSummary& summary, const QString& server) {
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    Q_EMIT fetchProgress(0, 0);
    Q_EMIT changed();
    m_prompts.message(summary.text(server));
}

const RecentEntries& OrderController::orderLines() const {
    return m_intake ? m_intake->orderLines() : kNoEntries;
}

const RecentEntries& OrderController::log() const {
    return m_intake ? m_intake->log() : kNoEntries;
}

const QString& OrderController::counter() const {
    return m_intake ? m_intake->counter() : kNoText;
}
