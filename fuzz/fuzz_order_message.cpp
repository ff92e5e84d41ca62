// An order mail as the mailbox hands it over: bytes decoded as the intake
// decodes them, then every part the intake reads.
#include "FuzzInput.h"
#include "files/TextFile.h"
#include "orders/OrderMessage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const OrderMessage message(TextFile::decode(FuzzInput(data, size).bytes()));
    message.isOrder();
    message.field(QStringLiteral("NameB="));
    message.descriptionLines();
    for (const OrderColumn& column : message.orderColumns())
        column.amount();
    const QList<OrderLine> lines = message.orderLines();
    if (message.whyTooLarge().isEmpty())
        mustHold(lines.size() <= OrderMessage::kMaxItemLines);
    message.logText();
    return 0;
}
