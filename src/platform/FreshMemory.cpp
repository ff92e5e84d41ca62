#include "platform/FreshMemory.h"

#include <sys/mman.h>

namespace {

// Linux 5.14 and later; older headers lack the names.
#ifndef MADV_POPULATE_READ
constexpr int MADV_POPULATE_READ = 22;
#endif
#ifndef MADV_POPULATE_WRITE
constexpr int MADV_POPULATE_WRITE = 23;
#endif

// The whole pages inside the buffer: the system takes advice by page.
void advise(const void* data, qsizetype bytes, int advice) {
    constexpr quintptr kPage = 4096;
    const quintptr start = (quintptr(data) + kPage - 1) & ~(kPage - 1);
    const quintptr end = (quintptr(data) + quintptr(bytes)) & ~(kPage - 1);
    if (end > start)
        madvise(reinterpret_cast<void*>(start), end - start, advice);
}

} // namespace

void populateForWriting(void* data, qsizetype bytes) {
    advise(data, bytes, MADV_POPULATE_WRITE);
}

void populateForReading(const void* data, qsizetype bytes) {
    advise(data, bytes, MADV_POPULATE_READ);
}
