// Replaced malloc family and operator new/delete that count every allocation and forward to glibc.
//
// glibc lets an executable define malloc, calloc, realloc and free: every
// library of the process, libc itself, libstdc++, the simulator and the
// bridge's objects, then calls these. The __libc_* entry points are glibc's
// own allocator, so all memory still comes from one heap. operator new and
// delete are replaced too and go through malloc and free, so each allocation
// is counted exactly once whichever way it was asked for.
#include "allocation_counter.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void __libc_free(void* block);
void* __libc_memalign(std::size_t alignment, std::size_t size);
}

namespace {

// The benchmark runs on one thread. A load and a store, not an atomic
// increment: a locked add in every allocation would slow the simulator's
// heavy allocation paths and blur the ratios the counts sit beside.
std::atomic<std::uint64_t> g_allocations{0};

inline void CountOne() {
    g_allocations.store(g_allocations.load(std::memory_order_relaxed) + 1,
                        std::memory_order_relaxed);
}

bool IsPowerOfTwo(std::size_t value) { return value != 0 && (value & (value - 1)) == 0; }

}  // namespace

namespace bench {

std::uint64_t AllocationCount() { return g_allocations.load(std::memory_order_relaxed); }

}  // namespace bench

extern "C" {

void* malloc(std::size_t size) noexcept {
    CountOne();
    return __libc_malloc(size);
}

void* calloc(std::size_t count, std::size_t size) noexcept {
    CountOne();
    return __libc_calloc(count, size);
}

// A realloc that keeps or frees its block still asks the allocator for
// memory; it is counted like any other request.
void* realloc(void* block, std::size_t size) noexcept {
    CountOne();
    return __libc_realloc(block, size);
}

void free(void* block) noexcept { __libc_free(block); }

void* memalign(std::size_t alignment, std::size_t size) noexcept {
    CountOne();
    return __libc_memalign(alignment, size);
}

void* aligned_alloc(std::size_t alignment, std::size_t size) noexcept {
    CountOne();
    return __libc_memalign(alignment, size);
}

int posix_memalign(void** result, std::size_t alignment, std::size_t size) noexcept {
    if (!IsPowerOfTwo(alignment) || alignment % sizeof(void*) != 0) return 22;  // EINVAL
    CountOne();
    void* block = __libc_memalign(alignment, size);
    if (block == nullptr) return 12;  // ENOMEM
    *result = block;
    return 0;
}

}  // extern "C"

namespace {

void* NewBlock(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) throw std::bad_alloc();
    return block;
}

void* NewAlignedBlock(std::size_t size, std::align_val_t alignment) {
    std::size_t align = static_cast<std::size_t>(alignment);
    if (align < sizeof(void*)) align = sizeof(void*);
    void* block = nullptr;
    if (posix_memalign(&block, align, size == 0 ? 1 : size) != 0) throw std::bad_alloc();
    return block;
}

}  // namespace

void* operator new(std::size_t size) { return NewBlock(size); }
void* operator new[](std::size_t size) { return NewBlock(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size == 0 ? 1 : size);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return NewAlignedBlock(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return NewAlignedBlock(size, alignment);
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    std::size_t align = static_cast<std::size_t>(alignment);
    if (align < sizeof(void*)) align = sizeof(void*);
    void* block = nullptr;
    return posix_memalign(&block, align, size == 0 ? 1 : size) == 0 ? block : nullptr;
}
void* operator new[](std::size_t size, std::align_val_t alignment,
                     const std::nothrow_t& tag) noexcept {
    return operator new(size, alignment, tag);
}

void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete(void* block, std::align_val_t) noexcept { std::free(block); }
void operator delete[](void* block, std::align_val_t) noexcept { std::free(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { std::free(block); }
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept {
    std::free(block);
}
