#include "OrderMail.h"
#include "orders/OrderIntake.h"
#include "support/ExpectedFile.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kMailbox = QStringLiteral("jane@pop.shop.test:110");

} // namespace

class TestOrderIntake : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void showsEachOrderTakenIn_data();
    void showsEachOrderTakenIn();
    void takesTwoOrdersOneAfterTheOther();
    void takesAMailboxMessageOnce_data();
    void takesAMailboxMessageOnce();
    void reportsAnOrderItCannotStore();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<OrderStore> m_store;
};

void TestOrderIntake::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_store = std::make_unique<OrderStore>();
    QVERIFY(m_store->open(OrderStore::defaultPath(m_dir->path())));
}

void TestOrderIntake::cleanup() {
    m_store.reset();
}

void TestOrderIntake::showsEachOrderTakenIn_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expectedLog");
    QTest::newRow("billing and shipping") << OrderMail().text() << "order_log.txt";
    QTest::newRow("one address column")
        << OrderMail::plainPage().text() << "order_log_one_address.txt";
}

void TestOrderIntake::showsEachOrderTakenIn() {
    QFETCH(QString, text);
    QFETCH(QString, expectedLog);
    OrderIntake intake(*m_store);
    QCOMPARE(intake.counter(), QString());
    const OrderIntake::Result result = intake.take(text);
    QCOMPARE(result.outcome, OrderIntake::Outcome::Stored);
    QCOMPARE(result.orderId, 1);
    const QByteArray log = intake.log().toUtf8();
    const QByteArray expected = expectedFile("orders/expected/" + expectedLog);
    QVERIFY2(log == expected, firstDifference(log, expected).constData());
    QCOMPARE(intake.orderLines(), QStringList({"A1 ^ 2 ^ 5.00 ^ 10.00^", "B7 ^ 1 ^ 72.00 ^ 72.00^",
                                               "", " Total Price : $$$ 97.47"}));
    QCOMPARE(intake.counter(), " 2");
    QVERIFY(QFile::exists(m_dir->filePath("orders.sqlite")));
}

void TestOrderIntake::takesTwoOrdersOneAfterTheOther() {
    OrderIntake intake(*m_store);
    OrderMail second;
    second.items = {OrderMail::item("C3", "4", "1.25", "5.00")};
    const int first = intake.take(OrderMail().text(), kMailbox, "uid-1").orderId;
    const int next = intake.take(second.text(), kMailbox, "uid-2").orderId;
    QVERIFY(first != next && next != 0);
    QCOMPARE(m_store->orders()->value(0).details,
             QList<QStringList>({{QString::number(next), "C3 ", "4", "1.25", "5.00"}}));
    QCOMPARE(intake.orderLines().size(), 4 + 3);
    QCOMPARE(intake.counter(), " 3");
}

void TestOrderIntake::takesAMailboxMessageOnce_data() {
    QTest::addColumn<QString>("subjectLine");
    QTest::addColumn<OrderIntake::Outcome>("outcome");
    QTest::newRow("order") << "Subject: Online Order" << OrderIntake::Outcome::Stored;
    QTest::newRow("other mail") << "Subject: online order" << OrderIntake::Outcome::NotAnOrder;
}

// Fetching again without deleting on the server adds nothing.
void TestOrderIntake::takesAMailboxMessageOnce() {
    QFETCH(QString, subjectLine);
    QFETCH(OrderIntake::Outcome, outcome);
    OrderMail mail;
    mail.subjectLine = subjectLine;
    OrderIntake intake(*m_store);
    QCOMPARE(intake.take(mail.text(), kMailbox, "uid-1").outcome, outcome);
    const QString log = intake.log();
    QCOMPARE(intake.take(mail.text(), kMailbox, "uid-1").outcome,
             OrderIntake::Outcome::AlreadyTaken);
    QCOMPARE(intake.log(), log);
    QVERIFY(m_store->hasTaken(kMailbox, "uid-1"));
    QCOMPARE(m_store->orderCount(), outcome == OrderIntake::Outcome::Stored ? 1 : 0);
    // A message read from a file has no id and is taken each time.
    QCOMPARE(intake.take(mail.text()).outcome, outcome);
}

void TestOrderIntake::reportsAnOrderItCannotStore() {
    QSqlQuery(QSqlDatabase::database(m_store->connectionName()))
        .exec("CREATE TRIGGER refuse BEFORE INSERT ON Orders "
              "BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    OrderIntake intake(*m_store);
    const OrderIntake::Result result = intake.take(OrderMail().text(), kMailbox, "uid-1");
    QCOMPARE(result.outcome, OrderIntake::Outcome::Failed);
    QVERIFY2(result.error.contains("disk full"), qPrintable(result.error));
    QVERIFY(intake.log().isEmpty() && intake.orderLines().isEmpty() && intake.counter().isEmpty());
    QVERIFY(!m_store->hasTaken(kMailbox, "uid-1"));
}

QTEST_GUILESS_MAIN(TestOrderIntake)
#include "test_order_intake.moc"
