// The mailbox as the POP3 client reads it, and the fetch that takes its
// orders in.

#include "orders/IntakeSink.h"
#include "orders/OrderController.h"
#include "orders/OrderFetcher.h"
#include "orders/OrderMail.h"
#include "orders/OrderStore.h"
#include "orders/PopMailbox.h"
#include "support/DovecotFixture.h"
#include "support/PostgresFixture.h"
#include "support/ScriptedPrompts.h"
#include "support/ServerRequired.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>
#include <functional>

namespace {

using Security = MailAccount::Security;
using Tls = DovecotFixture::Tls;

// Mails as a mail delivery stores them (LF line ends). One has a line that
// starts with a dot, which POP3 doubles on the way and the client must
// undouble; one has a name with an accent.
const QList<QByteArray> kMessages = {
    "Subject: Online Order\n\nNameB=Jane Buyer\nAMOUNT=$$$ 10.00\n",
    "Subject: Price list\n\nNew prices.\n.\n..hidden\n",
    "Subject: Online Order\n\nNameB=Jos\xc3\xa9 Garc\xc3\xad"
    "a\n", // the "a" apart, or it would join the escape
};

QString asReceived(int index) {
    return QString::fromUtf8(QByteArray(kMessages[index]).replace("\n", "\r\n"));
}

QStringList uniqueIds(const QList<MailboxEntry>& entries) {
    QStringList ids;
    for (const MailboxEntry& entry : entries)
        ids << entry.uid;
    return ids;
}

bool startWithMessages(DovecotFixture& server, Tls tls = Tls::Off) {
    bool added = server.start(tls);
    for (const QByteArray& message : kMessages)
        added = added && server.addMessage(message);
    return added;
}

// Waits until the server has seen the end of the mail session (by QUIT or
// not), so whatever it would delete is deleted.
void waitForSessionEnd(const DovecotFixture& server) {
    static const QRegularExpression sessionEnd(QStringLiteral("pop3\\(.*Disconnected"));
    QTRY_VERIFY(server.log().contains(sessionEnd));
}

// The intake on the test's thread; `afterStoring` runs after each order
// is stored, to play a crash.
class CrashingSink : public IntakeSink {
public:
    using IntakeSink::IntakeSink;
    std::function<void()> afterStoring;

    OrderIntake::Result take(const QString& text, const QString& mailbox,
                             const QString& uid) override {
        const OrderIntake::Result result = IntakeSink::take(text, mailbox, uid);
        if (result.outcome == OrderIntake::Outcome::Stored && afterStoring)
            afterStoring();
        return result;
    }
};

// One fetch into `store` with a size limit of 64 kB; `afterStoring` as in
// CrashingSink.
FetchSummary fetch(OrderStore& store, const MailAccount& account, bool deleteAfterReading,
                   const std::function<void()>& afterStoring = {}) {
    OrderIntake intake(store);
    CrashingSink sink(store, intake);
    sink.afterStoring = afterStoring;
    PopMailbox mailbox(account);
    mailbox.setSizeLimit(64 * 1024);
    return OrderFetcher::fetch(mailbox, "orders@127.0.0.1", sink, deleteAfterReading);
}

// A POP3 server on its own thread. Its mailbox holds a message it gives no
// size for and a small one that, asked for, comes as order lines without
// end (in truth until 64 MB) or until the client goes away. `commands` are
// those it was sent; read them once it has ended (wait()).
class EndlessServer : public QThread {
public:
    EndlessServer() {
        start();
        m_listening.acquire();
    }
    ~EndlessServer() override { wait(); }

    MailAccount account() const {
        return {"127.0.0.1", m_port, "orders", "pass", MailAccount::Security::Plain, {}};
    }
    QByteArrayList commands;

private:
    void run() override {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost);
        m_port = server.serverPort();
        m_listening.release();
        if (!server.waitForNewConnection(30000))
            return;
        QTcpSocket* client = server.nextPendingConnection();
        client->write("+OK ready\r\n");
        while (client->canReadLine() || client->waitForReadyRead(30000)) {
            commands << client->readLine().trimmed();
            const QByteArray word = commands.last().left(4);
            client->write(word == "LIST"   ? "+OK\r\n2 300\r\n.\r\n"
                          : word == "UIDL" ? "+OK\r\n1 unsized\r\n2 endless\r\n.\r\n"
                          : word == "RETR" ? "+OK\r\nSubject: Online Order\r\n\r\nDESCRIPTION="
                          : word == "USER" || word == "PASS" ? "+OK\r\n"
                                                             : "-ERR\r\n");
            const QByteArray lines = QByteArray("A1 ^ 1 ^ 5.00 ^ 5.00^\r\n").repeated(1000);
            for (qint64 sent = 0;
                 word == "RETR" && sent < 64 * 1024 * 1024 && client->waitForBytesWritten(30000);
                 sent += lines.size())
                client->write(lines);
        }
    }

    QSemaphore m_listening;
    quint16 m_port = 0;
};

const char* kNewsletter = "From: news@supplier.test\nSubject: Spring catalog\n\nNew goods.\n";

} // namespace

class TestOrderFetch : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Plain, over TLS and with STLS: deletions take effect only when the
    // session ends normally; a message keeps its id while the numbers count
    // afresh in each session.
    void readsKeepsAndDeletes() {
        for (const Security security : {Security::Plain, Security::Tls, Security::StartTls}) {
            DovecotFixture server;
            QVERIFY2(startWithMessages(server, security == Security::Plain ? Tls::Off : Tls::On),
                     qPrintable(server.error()));
            QStringList ids;
            {
                PopMailbox abandoned(server.account(security));
                const QList<MailboxEntry> entries = abandoned.list();
                ids = uniqueIds(entries);
                QCOMPARE(QSet<QString>(ids.begin(), ids.end()).size(), kMessages.size());
                for (int i = 0; i < entries.size(); ++i) {
                    QCOMPARE(entries[i].number, i + 1);
                    QCOMPARE(entries[i].size, asReceived(i).toUtf8().size());
                    QCOMPARE(abandoned.retrieve(entries[i].number), asReceived(i));
                    QVERIFY(abandoned.remove(entries[i].number));
                }
            } // gone without close()
            waitForSessionEnd(server);
            QCOMPARE(server.messageCount(), kMessages.size());
            PopMailbox mailbox(server.account(security));
            QCOMPARE(uniqueIds(mailbox.list()), ids);
            QVERIFY(mailbox.remove(2));
            QVERIFY2(mailbox.close(), qPrintable(mailbox.error()));
            QCOMPARE(server.messageCount(), kMessages.size() - 1);
            const QList<MailboxEntry> after = mailbox.list();
            QCOMPARE(uniqueIds(after), (QStringList{ids[0], ids[2]}));
            QCOMPARE(mailbox.retrieve(after[1].number), asReceived(2));
            QVERIFY(mailbox.close());
        }
    }

    // Each failure is explained, naming the server, and deletes nothing. A
    // refused command ends the session without QUIT: a new session would
    // number the messages afresh and forget the deletion, so the session's
    // calls fail instead.
    void failuresDeleteNothing() {
        DovecotFixture server;
        QVERIFY2(startWithMessages(server, Tls::On), qPrintable(server.error()));
        const QString serverName = server.account().serverName();
        PopMailbox mailbox(server.account());
        QCOMPARE(mailbox.list().size(), kMessages.size());
        QVERIFY(mailbox.remove(1));
        QCOMPARE(mailbox.retrieve(99), QString());
        QVERIFY2(mailbox.error().startsWith("The mail server " + serverName + " said: "),
                 qPrintable(mailbox.error()));
        waitForSessionEnd(server);
        QVERIFY(!mailbox.remove(2));
        QVERIFY2(mailbox.error().startsWith("The connection to the mail server " + serverName +
                                            " was lost."),
                 qPrintable(mailbox.error()));
        QVERIFY(!mailbox.close());
        QCOMPARE(mailbox.list().size(), kMessages.size()); // after close(), a new session
        const auto fails = [](const MailAccount& account, const QString& expected) {
            PopMailbox failing(account);
            QVERIFY(failing.list().isEmpty());
            QVERIFY2(failing.error().contains(expected), qPrintable(failing.error()));
            QVERIFY(failing.close());
        };
        MailAccount account = server.account();
        account.password = "wrong";
        fails(account, serverName + " refused the login");
        account = server.account(Security::Tls);
        account.trustedCertificate = "/nonexistent/cert.pem";
        fails(account, "/nonexistent/cert.pem could not be read");
        account.trustedCertificate.clear();
        fails(account, account.serverName() + " failed: its certificate is not trusted");
        QVERIFY2(server.start(), qPrintable(server.error()));
        account = server.account(Security::StartTls);
        fails(account, account.serverName() + " does not offer a secure connection (STLS).");
        server.stop();
        fails(server.account(), server.account().serverName() + " could not be reached.");
    }

    // A mailbox of three orders, a newsletter and two messages too large to
    // take. The server goes away right after the second order was stored,
    // before its deletion could take effect: nothing is lost and, once the
    // server is back, nothing is taken twice. What is too large is neither
    // stored nor deleted, and the summary names it.
    void takesEachOrderOnceAndLosesNone() {
        DovecotFixture server;
        QVERIFY2(server.start(), qPrintable(server.error()));
        for (const QByteArray& message :
             {OrderMail::of("A1").saved(), QByteArray(kNewsletter), OrderMail::of("B2").saved(),
              OrderMail::of("C3").saved(),
              QByteArray("Subject: Online Order\n\n" + QByteArray(70 * 1024, 'x') + "\n"),
              OrderMail::of("D4", 1001).saved()})
            QVERIFY(server.addMessage(message));
        OrderStore store;
        QVERIFY(store.open(m_dir.filePath("orders.sqlite")));
        int stored = 0;
        QVERIFY(!fetch(store, server.account(), true, [&] {
                     if (++stored == 2)
                         server.stop();
                 }).ok());
        QCOMPARE(store.orderCount(), 2);

        QVERIFY2(server.start(), qPrintable(server.error()));
        QCOMPARE(server.messageCount(), 6);
        FetchSummary summary = fetch(store, server.account(), false);
        QCOMPARE((std::array{summary.messages, summary.orders, summary.alreadyTaken}),
                 (std::array{6, 1, 3}));
        QCOMPARE(summary.failures,
                 QStringList({"message 5: it is 70.0 kB, more than the limit of 64.0 kB",
                              "message 6: it has more than 1000 item lines"}));
        QCOMPARE(store.orders()->first().details.first().at(1), "C3 "); // ProductID

        summary = fetch(store, server.account(), true);
        QCOMPARE((std::array{summary.orders, summary.deleted}), (std::array{0, 4}));
        QVERIFY(summary.text("127.0.0.1:110").contains("4 deleted on the server."));
        QCOMPARE(server.messageCount(), 2);
        QCOMPARE(store.orderCount(), 3);
    }

    // The database server is killed, as by a crash, while the second
    // order's items are being stored: the fetch stops and says why, nothing
    // of that order is stored and nothing not stored is deleted. Once the
    // server is back, the next fetch takes in the rest.
    void databaseServerKilledMidFetch() {
        QUILLMART_REQUIRE_SERVER(PostgresFixture::missing());
        PostgresFixture postgres;
        QVERIFY2(postgres.start() && postgres.createDatabase("orders"),
                 qPrintable(postgres.error()));
        DovecotFixture server;
        QVERIFY2(server.start(), qPrintable(server.error()));
        for (const char* id : {"A1", "B2", "C3"})
            QVERIFY(server.addMessage(OrderMail::of(id, 2).saved()));
        OrderStore store;
        QVERIFY(store.open(postgres.url("orders"), postgres.password()));
        // The server process that stores B2's first item ends every server
        // process at once, and waits for its own end.
        QVERIFY2(postgres.run("orders",
                              {"CREATE FUNCTION crash() RETURNS trigger LANGUAGE plpgsql AS $$ "
                               "BEGIN COPY (SELECT 1) TO PROGRAM 'kill -QUIT $(head -n 1 "
                               "postmaster.pid)'; PERFORM pg_sleep(60); RETURN NEW; END $$",
                               "CREATE TRIGGER crash AFTER INSERT ON \"Order Details\" FOR EACH "
                               "ROW WHEN (NEW.\"ProductID\" = 'B2 ') EXECUTE FUNCTION crash()"}),
                 qPrintable(postgres.error()));
        FetchSummary summary = fetch(store, server.account(), true);
        QCOMPARE((std::array{summary.orders, summary.deleted}), (std::array{1, 1}));
        QVERIFY2(summary.error.startsWith("The connection to the order database 127.0.0.1:"),
                 qPrintable(summary.error));
        waitForSessionEnd(server);
        QCOMPARE(server.messageCount(), 2);

        QVERIFY2(postgres.start() &&
                     postgres.run("orders", {"DROP TRIGGER crash ON \"Order Details\""}),
                 qPrintable(postgres.error()));
        QVERIFY(store.open(postgres.url("orders"), postgres.password()));
        summary = fetch(store, server.account(), true);
        QCOMPARE((std::array{summary.orders, summary.deleted}), (std::array{2, 2}));
        QStringList items;
        for (const StoredOrder& stored : store.orders().valueOr({}))
            items << stored.details.value(0).value(1) + QString::number(stored.details.size());
        QCOMPARE(items, QStringList({"C3 2", "B2 2", "A1 2"}));
    }

    // A message without a size counts as too large. A server that sends more
    // than it announced is cut off at the limit, before QUIT: the message is
    // neither stored nor deleted.
    void leavesWhatTheServerSendsTooMuchOf() {
        OrderStore store;
        QVERIFY(store.open(m_dir.filePath("endless.sqlite")));
        EndlessServer endless;
        QCOMPARE(fetch(store, endless.account(), true).failures,
                 QStringList({"message 1: it is 64.0 kB, more than the limit of 64.0 kB",
                              "message 2: the server sent more than the limit of 64.0 kB"}));
        endless.wait();
        QCOMPARE(endless.commands.last(), "RETR 2");
    }

    // What the user types as "POP Host:" picks the server, port and security;
    // without it there is nothing to fetch from.
    void hostTextChoosesTheSecurity() {
        ScriptedPrompts prompts;
        OrderController controller(m_dir.filePath("controller.sqlite"), prompts);
        prompts.expectMessage("Enter the mail server in \"POP Host:\" first");
        controller.getOrders();
        QVERIFY(prompts.done());
        for (const auto& [text, account] :
             {std::pair{" mail.shop.test:1110 ", "mail.shop.test:1110 2"},
              std::pair{"POP3S://mail.shop.test", "mail.shop.test:0 1"},
              std::pair{"pop3://127.0.0.1:2110", "127.0.0.1:2110 0"}}) {
            controller.setPopHost(text);
            const MailAccount got = controller.account();
            QCOMPARE(QStringLiteral("%1:%2 %3").arg(got.host).arg(got.port).arg(int(got.security)),
                     account);
        }
    }

    void initTestCase() { QUILLMART_REQUIRE_SERVER(DovecotFixture::missing()); }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestOrderFetch)
#include "test_order_fetch.moc"
