// A downloaded page: the first line is its Content-Type, the rest its body.
// The network hands the body over in pieces of any size, and the page's
// text must not depend on where they were cut.
#include "FuzzInput.h"
#include "web/BodyText.h"
#include "web/CharsetSniffer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [contentType, body] = FuzzInput(data, size).firstLineAndRest();
    mustHold(CharsetSniffer::isKnown(CharsetSniffer::fromHead(body)));
    BodyText atOnce(contentType);
    atOnce.append(body);
    atOnce.update(true);
    BodyText inPieces(contentType);
    const qsizetype step = body.isEmpty() ? 1 : 1 + uchar(body.back()) % 7;
    for (qsizetype at = 0; at < body.size(); at += step) {
        inPieces.append(body.mid(at, step));
        inPieces.update(false);
    }
    inPieces.update(true);
    mustHold(inPieces.text() == atOnce.text());
    return 0;
}
