// The network module's entry points (see NetworkEntry.h): the publish and
// orders commands, which need Qt Network, Qt Sql and libcurl.

#include "app/HeadlessOrders.h"
#include "app/HeadlessPublish.h"
#include "app/NetworkEntry.h"

#include <type_traits>

extern "C" Q_DECL_EXPORT int quillmart_run_publish(const PublishCommand& command, QTextStream& out,
                                                   QTextStream& err) {
    return HeadlessPublish::run(command, out, err);
}

extern "C" Q_DECL_EXPORT int quillmart_run_orders(const OrdersCommand& command,
                                                  const QString& homeFolder, QTextStream& out,
                                                  QTextStream& err) {
    return HeadlessOrders::run(command, homeFolder, out, err);
}

// The entry points must have the types the program calls them with.
static_assert(std::is_same_v<decltype(&quillmart_run_publish), NetworkEntry::Publish>);
static_assert(std::is_same_v<decltype(&quillmart_run_orders), NetworkEntry::Orders>);
