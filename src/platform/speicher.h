#pragma once
#include <cstdint>

// Bytes of physical memory of this machine, 0 when unknown. Tables that a
// user may size beyond it are held to a share of it, so a large "Hash" value
// slows the engine down instead of getting it killed for lack of memory.
uint64_t physischerSpeicher();

// The largest table the engine allocates: half the physical memory.
inline uint64_t groessteTabelle()
{
    const uint64_t p = physischerSpeicher();
    return p ? p / 2 : ~uint64_t(0);
}
