#include "project/ItemRecord.h"

#include <QTest>

Q_DECLARE_METATYPE(ItemRecord)

namespace {

ItemRecord record(const QStringList& fields) {
    ItemRecord r;
    for (int i = 0; i < fields.size() && i < ItemRecord::kFieldCount; ++i)
        r.set(ItemRecord::Field(i), fields[i]);
    return r;
}

} // namespace

class TestItemRecord : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void formatsEveryFieldFollowedByACaret_data();
    void formatsEveryFieldFollowedByACaret();
    void parsesRecordLines_data();
    void parsesRecordLines();
};

void TestItemRecord::formatsEveryFieldFollowedByACaret_data() {
    QTest::addColumn<ItemRecord>("item");
    QTest::addColumn<QString>("line");

    QTest::newRow("all fields") << record({"A1", "Claw hammer", "12.5", "pics/a1.jpg",
                                           "http://shop.test/a1.htm", "Acme", "1.2", "9.75", "x"})
                                << "A1^Claw hammer^12.5^pics/a1.jpg^http://shop.test/a1.htm^Acme^"
                                   "1.2^9.75^x^";
    QTest::newRow("all empty") << ItemRecord() << "^^^^^^^^^";
    QTest::newRow("caret inside a field is kept") << record({"A^1", "Nail"}) << "A^1^Nail^^^^^^^^";
}

void TestItemRecord::formatsEveryFieldFollowedByACaret() {
    QFETCH(ItemRecord, item);
    QFETCH(QString, line);
    QCOMPARE(item.toLine(), line);
}

void TestItemRecord::parsesRecordLines_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<ItemRecord>("item");
    QTest::addColumn<bool>("complete");

    QTest::newRow("all fields")
        << "A1^Claw hammer^12.5^pics/a1.jpg^http://shop.test/a1.htm^Acme^1.2^9.75^x^"
        << record({"A1", "Claw hammer", "12.5", "pics/a1.jpg", "http://shop.test/a1.htm", "Acme",
                   "1.2", "9.75", "x"})
        << true;
    QTest::newRow("nine carets only") << "^^^^^^^^^" << ItemRecord() << true;
    QTest::newRow("blanks are not trimmed")
        << " A1 ^ Hammer ^^^^^^^^" << record({" A1 ", " Hammer "}) << true;
    QTest::newRow("caret in a field shifts later fields")
        << "A^1^Nail^0.1^^^^^^^" << record({"A", "1", "Nail", "0.1"}) << true;
    QTest::newRow("text after the ninth caret is ignored")
        << "1^2^3^4^5^6^7^8^9^tail" << record({"1", "2", "3", "4", "5", "6", "7", "8", "9"})
        << true;
    QTest::newRow("extra fields are ignored")
        << "1^2^3^4^5^6^7^8^9^10^" << record({"1", "2", "3", "4", "5", "6", "7", "8", "9"}) << true;
    QTest::newRow("two fields, no final caret") << "A1^Hammer" << record({"A1", "Hammer"}) << false;
    QTest::newRow("eight carets") << "1^2^3^4^5^6^7^8^"
                                  << record({"1", "2", "3", "4", "5", "6", "7", "8"}) << false;
    QTest::newRow("empty line") << "" << ItemRecord() << false;
    QTest::newRow("byte order mark and accents kept")
        << QStringLiteral("\uFEFFA1^Caf\u00E9^")
        << record({QStringLiteral("\uFEFFA1"), QStringLiteral("Caf\u00E9")}) << false;
    QTest::newRow("no carets at all")
        << "no carets at all" << record({"no carets at all"}) << false;
}

void TestItemRecord::parsesRecordLines() {
    QFETCH(QString, line);
    QFETCH(ItemRecord, item);
    QFETCH(bool, complete);
    QCOMPARE(ItemRecord::fromLine(line), item);
    // Read among other lines, the record takes only its own line's fields.
    const QList<ItemRecord> records = ItemRecord::fromLines("x^y^\r\n" + line + "\nz^");
    QCOMPARE(records.size(), 3);
    QCOMPARE(records[1], item);
    QCOMPARE(ItemRecord::isComplete(line), complete);
}

QTEST_GUILESS_MAIN(TestItemRecord)
#include "test_item_record.moc"
