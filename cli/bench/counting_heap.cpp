#include "cli/bench/counting_heap.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace kestrel::bench {

namespace {

std::atomic<std::size_t> in_use{0};
std::atomic<std::size_t> peak{0};
std::atomic<std::size_t> base{0};

void* counted(void* p) {
    if (p == nullptr) throw std::bad_alloc();
    const std::size_t now =
        in_use.fetch_add(malloc_usable_size(p), std::memory_order_relaxed) + malloc_usable_size(p);
    std::size_t seen = peak.load(std::memory_order_relaxed);
    while (now > seen && !peak.compare_exchange_weak(seen, now, std::memory_order_relaxed)) {
    }
    return p;
}

void uncounted(void* p) noexcept {
    if (p == nullptr) return;
    in_use.fetch_sub(malloc_usable_size(p), std::memory_order_relaxed);
    std::free(p);
}

void* aligned(std::size_t size, std::align_val_t alignment) {
    const auto a = static_cast<std::size_t>(alignment);
    return std::aligned_alloc(a, (size + a - 1) / a * a);
}

}  // namespace

void reset_heap_peak() {
    base = in_use.load();
    peak = base.load();
}

std::size_t heap_peak_since_reset() {
    return peak.load() - base.load();
}

}  // namespace kestrel::bench

using kestrel::bench::counted;
using kestrel::bench::uncounted;

void* operator new(std::size_t size) {
    return counted(std::malloc(size ? size : 1));
}
void* operator new[](std::size_t size) {
    return counted(std::malloc(size ? size : 1));
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return counted(kestrel::bench::aligned(size, alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return counted(kestrel::bench::aligned(size, alignment));
}
void operator delete(void* p) noexcept {
    uncounted(p);
}
void operator delete[](void* p) noexcept {
    uncounted(p);
}
void operator delete(void* p, std::size_t) noexcept {
    uncounted(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    uncounted(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
    uncounted(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
    uncounted(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    uncounted(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
    uncounted(p);
}
