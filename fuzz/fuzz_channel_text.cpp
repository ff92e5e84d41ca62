// A page from the channel server, read in every way the window reads one;
// the first line is the address the page came from.
#include "FuzzInput.h"
#include "channels/ChannelText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [first, rest] = FuzzInput(data, size).firstLineAndRest();
    const QString base = QString::fromUtf8(first);
    const QString text = QString::fromUtf8(rest);
    ChannelText::isErrorPage(text);
    for (const LinkRecord& link : ChannelText::linkRecords(text))
        ChannelText::resolved(base, link.url);
    ChannelText::headedList(text, true);
    ChannelText::lineList(text, true);
    ChannelText::privateTable(text);
    ChannelText::locations(text);
    return 0;
}
