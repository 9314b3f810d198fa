#pragma once
#include <cstdint>

// Products that may need more than 32 bits go through breit: the engine's
// 32-bit numbers widen to 64 bits (the result is the same whenever the
// 32-bit product would have fitted); the tuner's traced numbers hold 64
// bits already and bring their own overload.
constexpr int64_t breit(int32_t v) { return v; }
