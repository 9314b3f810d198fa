#pragma once
#include <cstdint>

// Milliseconds from a monotonic clock. Every duration the engine measures is
// a difference of two such readings, so adjusting the system clock during a
// game never costs time.
int64_t jetztMs();

// Seconds of the calendar clock, used only to seed random generators.
uint32_t kalenderSekunden();

void schlafeMs(int ms);
