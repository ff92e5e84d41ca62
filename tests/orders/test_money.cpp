#include "orders/Money.h"

#include <QtTest>

class TestMoney : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsTheAmountsOfTheOrderPages_data();
    void readsTheAmountsOfTheOrderPages();
    void writesTwoDecimals();
};

void TestMoney::readsTheAmountsOfTheOrderPages_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVariant>("cents"); // invalid: cannot be read
    QTest::newRow("plain") << "12.34" << QVariant(1234LL);
    QTest::newRow("blank before") << " 5.00" << QVariant(500LL);
    QTest::newRow("dollar and blank") << "$ 7.75" << QVariant(775LL);
    QTest::newRow("total after its mark") << " 97.47" << QVariant(9747LL);
    QTest::newRow("one decimal") << "0.5" << QVariant(50LL);
    QTest::newRow("no decimals") << "20" << QVariant(2000LL);
    QTest::newRow("negative") << "$ -3.50" << QVariant(-350LL);
    QTest::newRow("sums exactly") << "0.30" << QVariant(30LL);
    QTest::newRow("large") << "123456789012345.67" << QVariant(12345678901234567LL);
    QTest::newRow("empty") << "" << QVariant();
    QTest::newRow("dollar only") << "$ " << QVariant();
    QTest::newRow("not a number") << "NaN.aN" << QVariant();
    QTest::newRow("grouped") << "1,000.00" << QVariant();
    QTest::newRow("three decimals") << "7.755" << QVariant();
    QTest::newRow("too large") << "1234567890123456.00" << QVariant();
    QTest::newRow("mark kept") << "$$$ 12.34" << QVariant();
}

void TestMoney::readsTheAmountsOfTheOrderPages() {
    QFETCH(QString, text);
    QFETCH(QVariant, cents);
    const std::optional<Money> money = Money::fromText(text);
    QCOMPARE(money.has_value(), cents.isValid());
    if (money)
        QCOMPARE(money->cents(), cents.toLongLong());
}

void TestMoney::writesTwoDecimals() {
    QCOMPARE(Money::fromCents(1234).toText(), QStringLiteral("12.34"));
    QCOMPARE(Money::fromCents(5).toText(), QStringLiteral("0.05"));
    QCOMPARE(Money::fromCents(-350).toText(), QStringLiteral("-3.50"));
    QCOMPARE(Money::fromCents(0).toText(), QStringLiteral("0.00"));
}

QTEST_GUILESS_MAIN(TestMoney)
#include "test_money.moc"
