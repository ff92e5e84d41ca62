// A downloaded page: the first line is its Content-Type, the rest its body.
// The downloader decodes the body in the pieces the network hands over, so
// decoding in pieces must give what decoding at once gives.
#include "FuzzInput.h"
#include "web/CharsetSniffer.h"

#include <QStringDecoder>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [contentType, body] = FuzzInput(data, size).firstLineAndRest();
    QByteArray charset = CharsetSniffer::fromContentType(contentType);
    if (!CharsetSniffer::isKnown(charset))
        charset = CharsetSniffer::fromHead(body);
    mustHold(CharsetSniffer::isKnown(charset));
    QStringDecoder whole(charset.constData());
    const QString atOnce = whole.decode(body);
    QStringDecoder pieces(charset.constData());
    QString inPieces;
    const qsizetype step = body.isEmpty() ? 1 : 1 + uchar(body.back()) % 7;
    for (qsizetype at = 0; at < body.size(); at += step)
        inPieces += pieces.decode(body.mid(at, step));
    mustHold(inPieces == atOnce);
    return 0;
}
