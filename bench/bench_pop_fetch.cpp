// How fast order messages come in from a POP3 mailbox: the program's
// mailbox client beside the curl command-line tool, both reading the same
// messages from a local dovecot in the same run, then the whole intake
// into a SQLite file and into a PostgreSQL server.
//
//   bench_pop_fetch [number of messages, default 10000]

#include "orders/IntakeSink.h"
#include "orders/OrderFetcher.h"
#include "orders/OrderMail.h"
#include "orders/OrderStore.h"
#include "orders/PopMailbox.h"
#include "support/DovecotFixture.h"
#include "support/PostgresFixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

namespace {

constexpr int kDefaultMessages = 10000;

// What each fetched message is handed to; the order intake can be put here
// to measure fetching and taking in together.
using MessageHandler = std::function<void(const MailboxEntry& entry, const QString& text)>;

struct Measurement {
    QString name;
    int messages = 0;
    qint64 bytes = 0;
    double seconds = 0;
    QString error;
};

QByteArray orderMessage(int index) {
    OrderMail mail;
    mail.set(QStringLiteral("NameB"), QStringLiteral("Buyer %1").arg(index));
    mail.set(QStringLiteral("E_Mail1"), QStringLiteral("buyer%1@shop.test").arg(index));
    mail.items = {OrderMail::item("A1", "2", "5.00", "10.00"),
                  OrderMail::item("B7", "1", "72.00", "72.00"),
                  OrderMail::item("C3", "4", "1.25", "5.00")};
    return mail.text().toUtf8();
}

bool fillMailbox(DovecotFixture& server, int count) {
    for (int i = 1; i <= count; ++i) {
        if (!server.addMessage(orderMessage(i)))
            return false;
    }
    return true;
}

// dovecot files new messages on the first look and caches what it learns
// from the first reading; one untimed pass does both, so the timed runs
// find the same state whatever their order.
bool warmUp(const MailAccount& account, int count) {
    PopMailbox mailbox(account);
    const QList<MailboxEntry> entries = mailbox.list();
    for (const MailboxEntry& entry : entries)
        mailbox.retrieve(entry.number);
    return mailbox.close() && entries.size() == count;
}

Measurement fetchWithMailbox(const MailAccount& account, const MessageHandler& handle) {
    Measurement run;
    run.name = QStringLiteral("PopMailbox (list + retrieve)");
    QElapsedTimer timer;
    timer.start();
    PopMailbox mailbox(account);
    const QList<MailboxEntry> entries = mailbox.list();
    for (const MailboxEntry& entry : entries) {
        const QString text = mailbox.retrieve(entry.number);
        if (!mailbox.error().isEmpty())
            break;
        run.bytes += text.toUtf8().size();
        ++run.messages;
        if (handle)
            handle(entry, text);
    }
    run.error = mailbox.error();
    mailbox.close();
    run.seconds = double(timer.nsecsElapsed()) / 1e9;
    return run;
}

// The whole intake: every message read, parsed and stored with its details
// in a fresh order database (`name` says which), one transaction per
// message.
Measurement fetchIntoOrders(const MailAccount& account, const QString& name,
                            const QString& database, const QString& password = {}) {
    Measurement run;
    run.name = QStringLiteral("order intake into %1").arg(name);
    OrderStore store;
    if (const Expected<void> opened = store.open(database, password); !opened) {
        run.error = opened.error();
        return run;
    }
    OrderIntake intake(store);
    IntakeSink sink(store, intake);
    QElapsedTimer timer;
    timer.start();
    PopMailbox mailbox(account);
    const FetchSummary summary =
        OrderFetcher::fetch(mailbox, QStringLiteral("bench@127.0.0.1"), sink, false);
    run.seconds = double(timer.nsecsElapsed()) / 1e9;
    run.messages = summary.orders;
    run.error = summary.ok() ? QString() : summary.text(account.serverName());
    return run;
}

// The same into a PostgreSQL server of its own (the test fixture: a fresh
// cluster in a temporary folder, on 127.0.0.1, with its default settings).
Measurement fetchIntoPostgres(const MailAccount& account) {
    PostgresFixture postgres;
    if (!postgres.start() || !postgres.createDatabase(QStringLiteral("orders"))) {
        Measurement run;
        run.name = QStringLiteral("order intake into PostgreSQL");
        run.error = postgres.error();
        return run;
    }
    return fetchIntoOrders(account, QStringLiteral("PostgreSQL"),
                           postgres.url(QStringLiteral("orders")), postgres.password());
}

// One curl process fetching every message over one connection, as curl
// does for a numbered range of addresses.
Measurement fetchWithCurlTool(const DovecotFixture& server, int count) {
    Measurement run;
    run.name = QStringLiteral("curl command line (RETR 1..N)");
    const QString curl = QStandardPaths::findExecutable(QStringLiteral("curl"));
    QTemporaryDir dir;
    if (curl.isEmpty() || !dir.isValid()) {
        run.error = QStringLiteral("curl is not installed");
        return run;
    }
    const QString output = dir.filePath(QStringLiteral("messages"));
    QProcess process;
    process.setStandardOutputFile(output);
    QElapsedTimer timer;
    timer.start();
    process.start(curl,
                  {QStringLiteral("--silent"), QStringLiteral("--show-error"),
                   QStringLiteral("--user"), server.user() + ':' + server.password(),
                   QStringLiteral("pop3://127.0.0.1:%1/[1-%2]").arg(server.port()).arg(count)});
    const bool finished = process.waitForFinished(-1);
    run.seconds = double(timer.nsecsElapsed()) / 1e9;
    if (!finished || process.exitCode() != 0)
        run.error = QString::fromLocal8Bit(process.readAllStandardError());
    run.messages = count;
    run.bytes = QFileInfo(output).size();
    return run;
}

void print(const Measurement& run) {
    std::printf("%-34s %6d messages %10lld bytes %8.3f s %10.0f messages/s\n", qPrintable(run.name),
                run.messages, static_cast<long long>(run.bytes), run.seconds,
                run.seconds > 0 ? run.messages / run.seconds : 0.0);
    if (!run.error.isEmpty())
        std::printf("  failed: %s\n", qPrintable(run.error));
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : kDefaultMessages;
    if (count <= 0) {
        std::fprintf(stderr, "usage: bench_pop_fetch [number of messages]\n");
        return 2;
    }
    DovecotFixture server;
    if (!server.start()) {
        std::fprintf(stderr, "%s\n", qPrintable(server.error()));
        return 1;
    }
    if (!fillMailbox(server, count) || !warmUp(server.account(), count)) {
        std::fprintf(stderr, "could not fill the mailbox with %d messages\n", count);
        return 1;
    }
    const Measurement ours = fetchWithMailbox(server.account(), {});
    const Measurement theirs = fetchWithCurlTool(server, count);
    QTemporaryDir dir;
    const Measurement sqlite = fetchIntoOrders(server.account(), QStringLiteral("SQLite"),
                                               dir.filePath(QStringLiteral("orders.sqlite")));
    const Measurement postgres = fetchIntoPostgres(server.account());
    bool ok = true;
    for (const Measurement& run : {ours, theirs, sqlite, postgres}) {
        print(run);
        ok = ok && run.error.isEmpty();
    }
    if (ours.bytes != theirs.bytes)
        std::printf("note: the two runs read a different number of bytes\n");
    return ok ? 0 : 1;
}
