#pragma once

#include "sitegen/SiteInput.h"
#include "store/ItemRecord.h"
#include "support/ExpectedFile.h"

#include <QStringList>
#include <QTest>

// Compares a text with a file written by hand under tests/.
#define COMPARE_EXPECTED(actual, file)                                                             \
    do {                                                                                           \
        const QByteArray actual_ = (actual), wanted_ = expectedFile(file);                         \
        QVERIFY2(actual_ == wanted_, firstDifference(actual_, wanted_).constData());               \
    } while (false)

// A record from its fields written as a record line, "^" after each field.
// Filled field by field, so these tests do not lean on the record reader.
inline ItemRecord item(const QString& fields) {
    ItemRecord record;
    const QStringList parts = fields.split(QLatin1Char('^'));
    for (int i = 0; i < ItemRecord::kFieldCount && i < parts.size(); ++i)
        record.set(ItemRecord::Field(i), parts.at(i));
    return record;
}

// The two-category shop of the exact-text tests: "Tools" with two items and
// "Paint" with one, default settings (banner layout), and every catalog
// option either off or on.
inline SiteInput twoCategorySite(bool allOptionsOn) {
    SiteInput input;
    input.settings = SiteSettings::defaults();
    input.options = {allOptionsOn, allOptionsOn, allOptionsOn, allOptionsOn};
    input.categories = {
        {"Tools",
         {item("T100^Claw hammer^12.50^pics/hammer.jpg^desc/hammer.htm^Acme^1.5^9.00^1^"),
          item("T200^Tape measure^7.25^pics/tape.jpg^desc/tape.htm^Stanley^0.5^5.10^1^")}},
        {"Paint",
         {item("P300^White paint 1 gal^21.00^pics/paint.jpg^desc/paint.htm^Dulux^4^15.75^1^")}},
    };
    return input;
}
