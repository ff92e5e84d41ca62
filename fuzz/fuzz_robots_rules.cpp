// A site's robots.txt; the first line is a path to look up.
#include "FuzzInput.h"
#include "harvest/RobotsRules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [path, text] = FuzzInput(data, size).firstLineAndRest();
    const RobotsRules rules = RobotsRules::parse(
        QString::fromUtf8(text), RobotsRules::productToken(QStringLiteral("Quillmart/6.0")));
    rules.allows(QString::fromUtf8(path));
    mustHold(rules.crawlDelayMs() >= 0);
    mustHold(rules.crawlDelayMs() <= RobotsRules::kMaxCrawlDelayMs);
    return 0;
}
