// A POP3 server's LIST or UIDL reply body.
#include "FuzzInput.h"
#include "orders/PopListing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray listing = FuzzInput(data, size).bytes();
    const auto lines = PopListing::parse(listing);
    mustHold(lines.size() <= listing.count('\n') + 1);
    return 0;
}
