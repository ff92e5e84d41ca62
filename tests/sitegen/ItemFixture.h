#pragma once

#include "project/ItemRecord.h"

#include <QStringList>

// A record from its fields written as a record line, "^" after each field.
// Filled field by field, so these tests do not lean on the record reader.
inline ItemRecord item(const QString& fields) {
    ItemRecord record;
    const QStringList parts = fields.split(QLatin1Char('^'));
    for (int i = 0; i < ItemRecord::kFieldCount && i < parts.size(); ++i)
        record.set(ItemRecord::Field(i), parts.at(i));
    return record;
}
