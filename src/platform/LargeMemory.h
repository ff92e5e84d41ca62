#pragma once

#include <QtGlobal>
#include <cstddef>
#include <new>

// Memory for the large buffers of a big project (the bytes of an item file,
// the records read from it), which are filled once and read many times.
// Such a buffer is mapped on its own and asked for huge pages: a machine
// then sets up one page of 2 MiB where it would fault in 512 pages of
// 4 KiB one by one, and on a virtual machine each of those faults costs
// several microseconds, more than the work done in the page. Smaller
// buffers come from the heap as usual. Where the system has no huge pages
// the mapping simply has small ones.
namespace LargeMemory {

// Buffers of at least this many bytes are mapped on their own.
constexpr std::size_t kMappedFrom = std::size_t(256) << 10;

// Room for `bytes` bytes; throws std::bad_alloc when there is none.
void* allocate(std::size_t bytes);
// Gives back what allocate(bytes) returned.
void release(void* data, std::size_t bytes) noexcept;

// The allocator for standard containers that hold large buffers.
template <typename T> struct Allocator {
    using value_type = T;
    Allocator() = default;
    template <typename U> Allocator(const Allocator<U>&) noexcept {}
    T* allocate(std::size_t n) { return static_cast<T*>(LargeMemory::allocate(n * sizeof(T))); }
    void deallocate(T* data, std::size_t n) noexcept { LargeMemory::release(data, n * sizeof(T)); }
    template <typename U> bool operator==(const Allocator<U>&) const noexcept { return true; }
};

} // namespace LargeMemory
