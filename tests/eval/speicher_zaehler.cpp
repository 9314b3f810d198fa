// Counts every global allocation of the test program, so that tests can
// check that a piece of hot code allocates nothing.
#include "speicher_zaehler.h"

#include <cstdlib>
#include <new>

std::atomic<uint64_t> g_anforderungen{0};

void* operator new(std::size_t n)
{
    g_anforderungen.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}

void* operator new[](std::size_t n) { return ::operator new(n); }

void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

// The non-throwing forms too: left to the runtime, they would come from an
// allocator that the free() above does not match (AddressSanitizer reports
// every such pair, std::stable_sort's buffer for one).
void* operator new(std::size_t n, const std::nothrow_t&) noexcept
{
    g_anforderungen.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(n ? n : 1);
}

void* operator new[](std::size_t n, const std::nothrow_t& t) noexcept { return ::operator new(n, t); }

void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
