#pragma once

#include "app/OrdersCommand.h"
#include "app/PublishCommand.h"

#include <QString>
#include <QTextStream>

// The entry points of the network module: the publish and orders commands,
// the parts of the headless program that need Qt Network, Qt Sql and
// libcurl. The program loads the module only to call one of them, so
// `quillmart generate` starts without loading those libraries and theirs.
// Both run in the application the program has made.
namespace NetworkEntry {

// Runs `quillmart publish`; returns the exit code.
using Publish = int (*)(const PublishCommand& command, QTextStream& out, QTextStream& err);
// Runs `quillmart orders` on the home folder's database (unless the command
// names another); returns the exit code.
using Orders = int (*)(const OrdersCommand& command, const QString& homeFolder, QTextStream& out,
                       QTextStream& err);

inline constexpr char kPublishName[] = "quillmart_run_publish";
inline constexpr char kOrdersName[] = "quillmart_run_orders";

} // namespace NetworkEntry
