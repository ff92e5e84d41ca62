#pragma once

#include <QtGlobal>
#include <functional>

// Runs task(0) .. task(count - 1) on the calling thread and one more, each
// taking the next index not yet taken, and returns when all are done. Tasks
// must not depend on one another's order.
void runOnTwoThreads(qsizetype count, const std::function<void(qsizetype)>& task);
