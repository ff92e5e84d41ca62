#include "platform/TwoThreads.h"

#include <atomic>
#include <thread>

void runOnTwoThreads(qsizetype count, const std::function<void(qsizetype)>& task) {
    std::atomic<qsizetype> next = 0;
    const auto work = [&] {
        for (qsizetype i = next++; i < count; i = next++)
            task(i);
    };
    std::thread helper(work);
    work();
    helper.join();
}
