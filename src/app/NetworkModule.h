#pragma once

#include "app/OrdersCommand.h"
#include "app/PublishCommand.h"

#include <QString>
#include <QTextStream>

// Runs the entry points of the network module (see NetworkEntry.h), which
// the program loads only for the publish and orders commands.
class NetworkModule {
public:
    static int runPublish(const PublishCommand& command, QTextStream& out, QTextStream& err);
    static int runOrders(const OrdersCommand& command, const QString& homeFolder, QTextStream& out,
                         QTextStream& err);

private:
    // The named entry point; null, after a message on `err`, when the
    // module cannot be loaded.
    static void* entry(const char* name, QTextStream& err);
};
