#include "orders/IntakeSink.h"
#include "orders/OrderController.h"
#include "orders/OrderFetcher.h"
#include "orders/OrderMail.h"
#include "orders/OrderStore.h"
#include "support/DovecotFixture.h"
#include "support/ScriptedPrompts.h"

#include <QTemporaryDir>
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

QByteArray order(const char* id) {
    OrderMail mail;
    mail.items = {OrderMail::item(id, "1", "5.00", "5.00")};
    return mail.text().replace(QStringLiteral("\r\n"), QStringLiteral("\n")).toUtf8();
}

const QByteArray kNewsletter = "From: news@supplier.test\nSubject: Spring catalog\n\nNew goods.\n";
const QByteArray kQuestion =
    "From: jane@shop.test\nSubject: Question about my order\n\nWhen will it ship?\n";

} // namespace

class TestOrderFetch : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void fetchAgainAndDelete();
    void crashBetweenStoringAndDeleting();
    void hostTextChoosesTheSecurity();

private:
    FetchSummary fetch(bool deleteAfterReading);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<DovecotFixture> m_server;
    std::unique_ptr<OrderStore> m_store;
    std::unique_ptr<OrderIntake> m_intake;
    std::unique_ptr<CrashingSink> m_sink;
};

// A mailbox of three orders and two other mails.
void TestOrderFetch::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_server = std::make_unique<DovecotFixture>();
    QVERIFY2(m_server->start(), qPrintable(m_server->error()));
    for (const QByteArray& message :
         {order("A1"), kNewsletter, order("B2"), kQuestion, order("C3")})
        QVERIFY(m_server->addMessage(message));
    m_store = std::make_unique<OrderStore>();
    QVERIFY(m_store->open(m_dir->filePath("orders.sqlite")));
    m_intake = std::make_unique<OrderIntake>(*m_store);
    m_sink = std::make_unique<CrashingSink>(*m_store, *m_intake);
}

FetchSummary TestOrderFetch::fetch(bool deleteAfterReading) {
    PopMailbox mailbox(m_server->account());
    return OrderFetcher::fetch(mailbox, "orders@127.0.0.1", *m_sink, deleteAfterReading);
}

void TestOrderFetch::fetchAgainAndDelete() {
    FetchSummary summary = fetch(false);
    QVERIFY2(summary.ok(), qPrintable(summary.text("server")));
    QCOMPARE((std::array{summary.messages, summary.orders, summary.others}), (std::array{5, 3, 2}));
    QCOMPARE(m_intake->counter(), " 4");
    QCOMPARE(m_store->orders().first().details.first().at(1), "C3 "); // ProductID

    summary = fetch(false);
    QCOMPARE((std::array{summary.orders, summary.alreadyTaken}), (std::array{0, 5}));
    QCOMPARE(m_server->messageCount(), 5);

    summary = fetch(true);
    QCOMPARE((std::array{summary.orders, summary.deleted}), (std::array{0, 5}));
    QVERIFY(summary.text("127.0.0.1:110").endsWith("5 deleted on the server."));
    QCOMPARE(m_server->messageCount(), 0);
    QCOMPARE(m_store->orderCount(), 3);
}

// The server goes away right after the second order was stored, before
// its deletion could take effect: nothing is lost and, once the server is
// back, nothing is taken twice.
void TestOrderFetch::crashBetweenStoringAndDeleting() {
    int stored = 0;
    m_sink->afterStoring = [&] {
        if (++stored == 2)
            m_server->stop();
    };
    FetchSummary summary = fetch(true);
    QVERIFY(!summary.ok());
    QCOMPARE(m_store->orderCount(), 2);

    m_sink->afterStoring = {};
    QVERIFY2(m_server->start(), qPrintable(m_server->error()));
    QCOMPARE(m_server->messageCount(), 5);
    summary = fetch(true);
    QVERIFY2(summary.ok(), qPrintable(summary.text("server")));
    QCOMPARE(summary.orders, 1);
    QCOMPARE(m_store->orderCount(), 3);
    QCOMPARE(m_server->messageCount(), 0);
}

// What the user types as "POP Host:" picks the server, port and security.
void TestOrderFetch::hostTextChoosesTheSecurity() {
    ScriptedPrompts prompts;
    OrderController controller(m_dir->filePath("controller.sqlite"), prompts);
    using S = MailAccount::Security;
    struct Row {
        const char* text;
        const char* host;
        int port;
        S security;
    };
    for (const Row& row : {Row{"mail.shop.test", "mail.shop.test", 0, S::StartTls},
                           Row{" mail.shop.test:1110 ", "mail.shop.test", 1110, S::StartTls},
                           Row{"POP3S://mail.shop.test", "mail.shop.test", 0, S::Tls},
                           Row{"pop3://127.0.0.1:2110", "127.0.0.1", 2110, S::Plain}}) {
        controller.setPopHost(row.text);
        const MailAccount account = controller.account();
        QCOMPARE(account.host, row.host);
        QCOMPARE(account.port, row.port);
        QCOMPARE(int(account.security), int(row.security));
    }
}

QTEST_GUILESS_MAIN(TestOrderFetch)
#include "test_order_fetch.moc"
