#pragma once
#include <atomic>
#include <cstdint>

// Number of calls of the global operator new in this test program so far
// (the test program replaces the global allocation functions to count).
extern std::atomic<uint64_t> g_anforderungen;
