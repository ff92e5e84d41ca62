#include "orders/IntakeSink.h"
#include "orders/OrderController.h"
#include "orders/OrderFetcher.h"
#include "orders/OrderMail.h"
#include "orders/OrderStore.h"
#include "support/DovecotFixture.h"
#include "support/ScriptedPrompts.h"
#include "support/ServerRequired.h"

#include <QSemaphore>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <functional>

namespace {

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

QByteArray order(const char* id, int itemLines = 1) {
    OrderMail mail;
    mail.items = QStringList(itemLines, OrderMail::item(id, "1", "5.00", "5.00"));
    return mail.text().replace(QStringLiteral("\r\n"), QStringLiteral("\n")).toUtf8();
}

// A POP3 server on its own thread that offers one small message and, asked
// for it, sends order lines without end (in truth until 64 MB) or until
// the client goes away.
class EndlessServer {
public:
    EndlessServer() : m_thread(QThread::create([this] { serve(); })) {
        m_thread->start();
        m_listening.acquire();
    }
    ~EndlessServer() { m_thread->wait(); }

    MailAccount account() const {
        return {"127.0.0.1", m_port, "orders", "pass", MailAccount::Security::Plain, {}};
    }
    // The commands it was sent; read once the fetch is over.
    QByteArrayList commands() const {
        m_thread->wait();
        return m_commands;
    }

private:
    void serve() {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost);
        m_port = server.serverPort();
        m_listening.release();
        if (!server.waitForNewConnection(30000))
            return;
        QTcpSocket* client = server.nextPendingConnection();
        client->write("+OK ready\r\n");
        while (client->waitForBytesWritten(30000) || client->bytesToWrite() == 0) {
            if (!client->canReadLine() && !client->waitForReadyRead(30000))
                return;
            m_commands << client->readLine().trimmed();
            if (m_commands.last().startsWith("RETR"))
                return sendWithoutEnd(*client);
            client->write(answer(m_commands.last()));
        }
    }

    static QByteArray answer(const QByteArray& command) {
        const QByteArray word = command.left(4);
        return word == "LIST"                     ? "+OK\r\n1 300\r\n.\r\n"
               : word == "UIDL"                   ? "+OK\r\n1 endless\r\n.\r\n"
               : word == "USER" || word == "PASS" ? "+OK\r\n"
                                                  : "-ERR\r\n";
    }

    static void sendWithoutEnd(QTcpSocket& client) {
        client.write("+OK\r\nSubject: Online Order\r\n\r\nDESCRIPTION=");
        const QByteArray lines = QByteArray("A1 ^ 1 ^ 5.00 ^ 5.00^\r\n").repeated(1000);
        for (qint64 sent = 0; sent < 64 * 1024 * 1024 && client.waitForBytesWritten(30000);
             sent += lines.size())
            client.write(lines);
        if (client.state() == QAbstractSocket::ConnectedState && client.write("\r\n.\r\n"))
            client.waitForBytesWritten(30000);
    }

    std::unique_ptr<QThread> m_thread;
    QSemaphore m_listening;
    quint16 m_port = 0;
    QByteArrayList m_commands;
};

const char* kNewsletter = "From: news@supplier.test\nSubject: Spring catalog\n\nNew goods.\n";

} // namespace

class TestOrderFetch : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QUILLMART_REQUIRE_SERVER(DovecotFixture::missing()); }
    void takesEachOrderOnceAndLosesNone();
    void leavesWhatTheServerSendsTooMuchOf();
    void hostTextChoosesTheSecurity();
};

// A mailbox of three orders, a newsletter and two messages too large to
// take. The server goes away right after the second order was stored,
// before its deletion could take effect: nothing is lost and, once the
// server is back, nothing is taken twice. What is too large is neither
// stored nor deleted, and the summary names it.
void TestOrderFetch::takesEachOrderOnceAndLosesNone() {
    QTemporaryDir dir;
    DovecotFixture server;
    QVERIFY2(server.start(), qPrintable(server.error()));
    for (const QByteArray& message :
         {order("A1"), QByteArray(kNewsletter), order("B2"), order("C3"),
          QByteArray("Subject: Online Order\n\n" + QByteArray(70 * 1024, 'x') + "\n"),
          order("D4", 1001)})
        QVERIFY(server.addMessage(message));
    OrderStore store;
    QVERIFY(store.open(dir.filePath("orders.sqlite")));
    OrderIntake intake(store);
    CrashingSink sink(store, intake);
    const auto fetch = [&](bool deleteAfterReading) {
        PopMailbox mailbox(server.account());
        mailbox.setSizeLimit(64 * 1024);
        return OrderFetcher::fetch(mailbox, "orders@127.0.0.1", sink, deleteAfterReading);
    };
    int stored = 0;
    sink.afterStoring = [&] {
        if (++stored == 2)
            server.stop();
    };
    QVERIFY(!fetch(true).ok());
    QCOMPARE(store.orderCount(), 2);

    sink.afterStoring = {};
    QVERIFY2(server.start(), qPrintable(server.error()));
    QCOMPARE(server.messageCount(), 6);
    FetchSummary summary = fetch(false);
    QCOMPARE((std::array{summary.messages, summary.orders, summary.alreadyTaken}),
             (std::array{6, 1, 3}));
    QCOMPARE(summary.failures,
             QStringList({"message 5: it is 70.0 kB, more than the limit of 64.0 kB",
                          "message 6: it has more than 1000 item lines"}));
    QCOMPARE(store.orders()->first().details.first().at(1), "C3 "); // ProductID

    summary = fetch(true);
    QCOMPARE((std::array{summary.orders, summary.deleted}), (std::array{0, 4}));
    QVERIFY(summary.text("127.0.0.1:110").contains("4 deleted on the server."));
    QCOMPARE(server.messageCount(), 2);
    QCOMPARE(store.orderCount(), 3);
}

// A server that sends more than it announced is cut off at the limit; the
// message is neither stored nor deleted.
void TestOrderFetch::leavesWhatTheServerSendsTooMuchOf() {
    QTemporaryDir dir;
    OrderStore store;
    QVERIFY(store.open(dir.filePath("orders.sqlite")));
    OrderIntake intake(store);
    IntakeSink sink(store, intake);
    EndlessServer endless;
    PopMailbox mailbox(endless.account());
    mailbox.setSizeLimit(64 * 1024);
    const FetchSummary summary = OrderFetcher::fetch(mailbox, "orders@127.0.0.1", sink, true);
    QCOMPARE(summary.failures,
             QStringList{"message 1: the server sent more than the limit of 64.0 kB"});
    QCOMPARE(store.orderCount(), 0);
    QVERIFY(!endless.commands().contains("DELE 1"));
}

// What the user types as "POP Host:" picks the server, port and security.
void TestOrderFetch::hostTextChoosesTheSecurity() {
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    OrderController controller(dir.filePath("controller.sqlite"), prompts);
    for (const auto& [text, account] : {std::pair{"mail.shop.test", "mail.shop.test:0 2"},
                                        std::pair{" mail.shop.test:1110 ", "mail.shop.test:1110 2"},
                                        std::pair{"POP3S://mail.shop.test", "mail.shop.test:0 1"},
                                        std::pair{"pop3://127.0.0.1:2110", "127.0.0.1:2110 0"}}) {
        controller.setPopHost(text);
        const MailAccount got = controller.account();
        QCOMPARE(QStringLiteral("%1:%2 %3").arg(got.host).arg(got.port).arg(int(got.security)),
                 account);
    }
}

QTEST_GUILESS_MAIN(TestOrderFetch)
#include "test_order_fetch.moc"
