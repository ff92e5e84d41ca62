#pragma once

#include "platform/Expected.h"

#include <QList>
#include <QStringList>

// The failure text of each result, empty for a success: one result per
// entry, as a publisher gives them, compared as texts.
inline QStringList errorsOf(const QList<Expected<void>>& results) {
    QStringList errors;
    for (const Expected<void>& result : results)
        errors << result.error();
    return errors;
}
