#include "platform/LargeMemory.h"

#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>

namespace {

constexpr std::size_t kHugePage = std::size_t(2) << 20;

// The whole huge pages the buffer takes: a huge page is only used where the
// mapping covers all of it, so the length is rounded up to whole ones.
std::size_t mappedLength(std::size_t bytes) {
    return (bytes + kHugePage - 1) & ~(kHugePage - 1);
}

// A mapping of `length` bytes that starts on a huge page boundary: one huge
// page more is mapped and the unaligned ends are given back.
void* alignedMapping(std::size_t length) {
    void* const mapped = mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE,
                              MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + kHugePage - 1) & ~std::uintptr_t(kHugePage - 1);
    if (aligned > start)
        munmap(mapped, aligned - start);
    const std::uintptr_t end = start + length + kHugePage;
    if (end > aligned + length)
        munmap(reinterpret_cast<void*>(aligned + length), end - (aligned + length));
    return reinterpret_cast<void*>(aligned);
}

} // namespace

void* LargeMemory::allocate(std::size_t bytes) {
    if (bytes < kMappedFrom) {
        if (void* const data = std::malloc(bytes ? bytes : 1))
            return data;
        throw std::bad_alloc();
    }
    const std::size_t length = mappedLength(bytes);
    void* const data = alignedMapping(length);
    if (!data)
        throw std::bad_alloc();
    madvise(data, length, MADV_HUGEPAGE); // only a request
    return data;
}

void LargeMemory::release(void* data, std::size_t bytes) noexcept {
    if (!data)
        return;
    if (bytes < kMappedFrom)
        std::free(data);
    else
        munmap(data, mappedLength(bytes));
}
