#include "app/NetworkModule.h"

#include "app/NetworkEntry.h"
#include "app/ProgramModule.h"

void* NetworkModule::entry(const char* name, QTextStream& err) {
    const auto function = ProgramModule::entry(QStringLiteral(QUILLMART_NETWORK_MODULE), name);
    if (!function)
        err << "quillmart: the network part of the program cannot be loaded: " << function.error()
            << Qt::endl;
    return function.valueOr(nullptr);
}

int NetworkModule::runPublish(const PublishCommand& command, QTextStream& out, QTextStream& err) {
    const auto run =
        reinterpret_cast<NetworkEntry::Publish>(entry(NetworkEntry::kPublishName, err));
    return run ? run(command, out, err) : 2;
}

int NetworkModule::runOrders(const OrdersCommand& command, const QString& homeFolder,
                             QTextStream& out, QTextStream& err) {
    const auto run = reinterpret_cast<NetworkEntry::Orders>(entry(NetworkEntry::kOrdersName, err));
    return run ? run(command, homeFolder, out, err) : 2;
}
