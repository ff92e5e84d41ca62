#include "orders/OrderController.h"

#include "orders/DatabaseAddress.h"
#include "orders/DatabaseKeyring.h"
#include "orders/IntakeSink.h"
#include "platform/Prompts.h"

#include <QCoreApplication>
#include <QThread>
#include <QUrl>

namespace {

// The server a remembered password belongs to: host and port, so the
// window and `quillmart orders fetch` find the same one; none without a host.
QString keyringServer(const MailAccount& account) {
    return account.host.isEmpty() ? QString() : account.serverName();
}

} // namespace

OrderController::OrderController(const QString& database, Prompts& prompts, QObject* parent)
    : QObject(parent), m_database(database), m_prompts(prompts) {}

// A fetch still running is stopped after the message it is on; reads of
// the orders end by themselves. What they would still report is dropped.
OrderController::~OrderController() {
    m_cancelled = true;
    if (m_thread) {
        m_thread->disconnect(this);
        m_thread->wait();
        delete m_thread;
    }
    for (QThread* reader : std::as_const(m_readers)) {
        reader->disconnect(this);
        reader->wait();
        delete reader;
    }
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

bool OrderController::mayOpenStore() {
    // An address that cannot be used sends no password: opening it fails.
    const DatabaseAddress address = DatabaseAddress::read(m_database).valueOr({});
    const QString warning = address.passwordInClearWarning();
    return warning.isEmpty() ||
           m_clearTextConsent.allows(address.serverName(), warning + QStringLiteral("\nGo on?"),
                                     m_prompts);
}

// A keyring that cannot be used leaves ~/.pgpass to give the password; a
// login refused then names every place a password may come from. The
// keyring is asked here, on the window's thread, as everywhere else: it
// keeps the window painting while it waits.
std::optional<OrderController::StoreLogin> OrderController::storeLogin() {
    if (!mayOpenStore())
        return std::nullopt;
    return StoreLogin{m_database, DatabaseKeyring().read(m_database).valueOr(QString())};
}

Expected<void> OrderController::openStore(OrderStore& store, const StoreLogin& login) {
    const Expected<void> opened = store.open(login.database, login.password);
    if (opened)
        return opened;
    return Expected<void>::failure(QStringLiteral("The order database could not be opened.\n") +
                                   opened.error());
}

void OrderController::readOrders() {
    const std::optional<StoreLogin> login = storeLogin();
    if (!login) {
        Q_EMIT ordersRead({}, QStringLiteral("The order database was not opened."));
        return;
    }
    QThread* reader = QThread::create([this, login = *login] {
        OrderStore store;
        const Expected<void> opened = openStore(store, login);
        const Expected<QList<StoredOrder>> read =
            opened ? store.orders() : Expected<QList<StoredOrder>>::failure(opened.error());
        QMetaObject::invokeMethod(
            this,
            [this, orders = read.valueOr({}), problem = read.error()] {
                Q_EMIT ordersRead(orders, problem);
            },
            Qt::QueuedConnection);
    });
    m_readers << reader;
    connect(reader, &QThread::finished, this, [this, reader] {
        m_readers.removeOne(reader);
        reader->wait();
        delete reader;
    });
    reader->start();
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
    if (!mayUseAccount(account))
        return;
    const std::optional<StoreLogin> login = storeLogin();
    if (!login)
        return;
    auto summary = std::make_shared<FetchSummary>();
    m_cancelled = false;
    const FetchJob job{*login, account, m_hostDelete, m_sizeLimit};
    m_thread = QThread::create([this, job, summary] { fetch(job, *summary); });
    connect(m_thread, &QThread::finished, this, [this, summary, account] {
        if (summary->error.isEmpty())
            m_rememberedPassword.succeeded(account.serverName(), account.user, account.password);
        finishFetch(*summary, account.serverName());
    });
    Q_EMIT fetchProgress(0, 1);
    m_thread->start();
}

// Runs on the fetch's thread: the store, the intake and the mailbox are
// made and used there; what the tab shows comes back as queued calls.
void OrderController::fetch(const FetchJob& job, FetchSummary& summary) {
    OrderStore store;
    if (const Expected<void> opened = openStore(store, job.login); !opened) {
        summary.error = opened.error();
        return;
    }
    OrderIntake intake(store);
    intake.setShownHandler([this](const OrderIntake::Shown& shown) {
        QMetaObject::invokeMethod(
            this, [this, shown] { show(shown); }, Qt::QueuedConnection);
    });
    IntakeSink sink(store, intake);
    PopMailbox mailbox(job.account);
    mailbox.setSizeLimit(job.sizeLimit);
    summary = OrderFetcher::fetch(
        mailbox, job.account.user + QLatin1Char('@') + job.account.serverName(), sink,
        job.deleteAfterReading,
        [this](int done, int total) {
            QMetaObject::invokeMethod(
                this, [this, done, total] { Q_EMIT fetchProgress(done, total); },
                Qt::QueuedConnection);
        },
        [this] { return m_cancelled.load(); });
}

void OrderController::show(const OrderIntake::Shown& shown) {
    for (const QString& line : shown.lines)
        m_orderLines.add(line);
    m_log.add(shown.logText);
    m_counter = shown.counter;
    Q_EMIT changed();
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
