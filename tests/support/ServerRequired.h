#pragma once

#include <QString>
#include <QtTest>

// Skips the calling test function when `missing` (a fixture's missing())
// names a server program that is not installed. With QUILLMART_REQUIRE_SERVERS
// set, as continuous integration sets it, that is a failure instead, so a
// run never passes by skipping.
#define QUILLMART_REQUIRE_SERVER(missing)                                                          \
    do {                                                                                           \
        const QString why = (missing);                                                             \
        if (why.isEmpty())                                                                         \
            break;                                                                                 \
        if (!qEnvironmentVariableIsEmpty("QUILLMART_REQUIRE_SERVERS"))                             \
            QFAIL(qPrintable(why + QStringLiteral(" (QUILLMART_REQUIRE_SERVERS is set)")));        \
        QSKIP(qPrintable(why));                                                                    \
    } while (false)
