#pragma once

#include "app/OrdersCommand.h"

#include <QString>
#include <QTextStream>

// One `quillmart orders` run: saved messages imported, the mailbox fetched
// or the stored orders listed, on the command's order database or else the
// one in the home folder.
class HeadlessOrders {
public:
    // Prints what was taken in or is held to `out`, problems to `err`;
    // returns the exit code: 0 when everything was taken in (or listed).
    static int run(const OrdersCommand& command, const QString& homeFolder, QTextStream& out,
                   QTextStream& err);
};
